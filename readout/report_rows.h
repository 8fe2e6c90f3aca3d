#pragma once
// The rows of the TSV and JSON reports, built from one list of fields: the
// command's --format tsv and --format json and the page's downloads all come
// from here, so they cannot drift apart. A new column is one more entry at the
// end of reportFields().
#include <string>
#include <vector>

#include "readout.h"

namespace frametally {

// When a field appears in a JSON line, and as what.
enum class JsonPresence {
    Always,           // always, as a string
    NullWhenEmpty,    // always; null when empty
    NullForError,     // always; null for a raised error
    UnlessCount,      // for a reading without a count, and for a count that comes with a caution
    OnlyForError,     // only for a raised error
    WhenPathNotUtf8,  // only when the path is not valid UTF-8
    Never,            // TSV only
};

struct ReportField {
    const char* name;  // the TSV heading and the JSON key
    std::string (*value)(const Inspection& inspection);
    bool inTsv;
    JsonPresence inJson;
};

// In column order.
const std::vector<ReportField>& reportFields();

// The TSV header line and one file's line, each ending in "\n". Fields are
// escaped (\\ \t \n \r) so that every line is one file whatever it holds.
std::string tsvHeader();
std::string tsvLine(const Inspection& inspection);
// One file's JSON object on one line, ending in "\n". Bytes that are not
// UTF-8 become U+FFFD so that the line stays valid JSON.
std::string jsonLine(const Inspection& inspection);

// A file's line read back under the header it came with: the fields the line
// holds, as the Inspection they came from (path, result, status, details,
// reason, maker, kind of count, mechanical count, rating, source). The page's
// readings travel as their lines, and its histories are made from them.
// Unknown columns are skipped; a missing or malformed one stays empty.
Inspection inspectionOfTsvLine(std::string_view header, std::string_view line);

// For one TSV field: backslash, tab, line feed and carriage return become
// \\, \t, \n and \r; other bytes stay as they are.
std::string escapedForTsv(std::string_view text);
// A JSON string, quotes included.
std::string jsonString(std::string_view text);
std::string hexOf(std::string_view bytes);

}  // namespace frametally
