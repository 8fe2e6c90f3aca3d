// The engine's entry points for the page's reading worker (reader-worker.js):
// the buffer that takes a file's head, and the reading of that file, whose
// outcome is handed back as named fields (a JSON object) with every text the
// page shows made here by the inspection layer, and the file's TSV and JSON
// lines, built as `tiffwalker` builds them, so that the page's downloads are
// the command's output.
#include <emscripten.h>

#include <charconv>
#include <cstdint>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <body_history.h>
#include <history_rows.h>
#include <plain_reason.h>
#include <readout.h>
#include <report_rows.h>
#include <shown_texts.h>

#include "head_byte_source.h"

namespace {

frametally::Inspector& inspector() {
    static frametally::Inspector instance;
    // The engine's own messages say nothing the row's reason does not; a
    // stream without a buffer drops them.
    static std::ostream discarded(nullptr);
    static const bool quiet = (instance.context().setOutput(discarded), true);
    (void)quiet;
    return instance;
}

frametally::web::HeadByteSource& source() {
    static frametally::web::HeadByteSource instance;
    return instance;
}

// What the worker takes from a reading, valid until the next one: the texts
// the page shows and its row's named fields as one JSON object, the file's
// JSON line, and its TSV line. The TSV line is handed over as bytes: it keeps
// a file's texts as the file has them, byte for byte, as the command's TSV
// does, where JSON must make valid UTF-8 of them.
struct Published {
    uint32_t shownPointer;
    uint32_t shownLength;
    uint32_t jsonLinePointer;
    uint32_t jsonLineLength;
    uint32_t tsvLinePointer;
    uint32_t tsvLineLength;
};

frametally::Inspection lastInspection;
std::string lastShown;
std::string lastJsonLine;
std::string lastTsvLine;
std::string header;
Published lastPublished;

uint32_t addressOf(const std::string& text) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.data())); }

void addField(std::string& object, const char* name, const std::string& value) {
    if (object.size() > 1) object += ',';
    object += frametally::jsonString(name);
    object += ':';
    object += frametally::jsonString(value);
}

// The summary's line for the body that took this file, were this file's count
// its highest: the page's tally picks the line of the file that holds it.
// "" for a file without a count of 64 bits.
std::string bodyLineOf(const frametally::Inspection& i, const frametally::ShownTexts& texts) {
    if (i.status != tiffwalker::ReadingStatus::Count) return "";
    frametally::BodySummary body;
    const char* end = i.result.data() + i.result.size();
    const auto [stop, error] = std::from_chars(i.result.data(), end, body.highestCount);
    if (i.result.empty() || stop != end || error != std::errc()) return "";
    body.camera = texts.camera;
    body.serialNumber = i.details.serialNumber;
    body.countKind = i.countKind;
    body.path = i.path;
    body.files = 1;
    return frametally::bodySummaryLine(body);
}

// {"row": the JSON line's object, "shown": {the texts the page shows}}.
std::string shownObject(const frametally::Inspection& i, const std::string& jsonLine) {
    const frametally::ShownTexts texts = frametally::shownTextsOf(i);
    std::string shown = "{";
    addField(shown, "result", texts.result);
    addField(shown, "camera", texts.camera);
    addField(shown, "serial", texts.serialNumber);
    addField(shown, "date", texts.dateTaken);
    addField(shown, "dateTime", frametally::dateTimeValue(i.details.dateTimeOriginal));
    addField(shown, "lens", texts.lens);
    // The page speaks to a camera owner; the row keeps the command's words.
    addField(shown, "plainReason", frametally::plainReason(i));
    addField(shown, "countKind", texts.countKind);
    addField(shown, "mechanicalCount", texts.mechanicalCount);
    addField(shown, "ratedLife", texts.ratedLife);
    addField(shown, "bodyLine", bodyLineOf(i, texts));
    shown += '}';
    std::string row = jsonLine;
    if (!row.empty() && row.back() == '\n') row.pop_back();
    return "{\"row\":" + row + ",\"shown\":" + shown + "}";
}

const Published* published(frametally::Inspection inspection) {
    lastInspection = std::move(inspection);
    const frametally::Inspection& i = lastInspection;
    lastJsonLine = frametally::jsonLine(i);
    lastTsvLine = frametally::tsvLine(i);
    lastShown = shownObject(i, lastJsonLine);
    lastPublished = {addressOf(lastShown),    static_cast<uint32_t>(lastShown.size()),
                     addressOf(lastJsonLine), static_cast<uint32_t>(lastJsonLine.size()),
                     addressOf(lastTsvLine),  static_cast<uint32_t>(lastTsvLine.size())};
    return &lastPublished;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE unsigned char* frametally_head_buffer(size_t length) { return source().headBuffer(length); }

EMSCRIPTEN_KEEPALIVE const Published* frametally_inspect(const char* name, size_t headLength, double fileSize) {
    source().startFile(static_cast<int64_t>(fileSize), headLength);
    return published(inspector().inspect(source(), name));
}

// The row of a file the worker could not hand to the engine: its head could
// not be read (notReadable), or the engine stopped on it (a trap; the message
// says how). Handed back as frametally_inspect's readings are.
EMSCRIPTEN_KEEPALIVE const Published* frametally_unread(const char* name, int notReadable, const char* text) {
    frametally::Inspection inspection;
    inspection.path = name;
    if (notReadable != 0) {
        inspection.status = tiffwalker::ReadingStatus::NotReadable;
        inspection.cause = tiffwalker::ReadingCause::OpenFailed;
        inspection.result = "Not Readable";
        inspection.reason = std::string("cannot be opened: ") + text;
    } else {
        inspection.status = tiffwalker::ReadingStatus::Error;
        inspection.cause = tiffwalker::ReadingCause::RaisedError;
        inspection.message = text;
        inspection.reason = std::string("the reading raised an error: ") + text;
    }
    return published(std::move(inspection));
}

// The TSV header line, the same for every file.
EMSCRIPTEN_KEEPALIVE const char* frametally_tsv_header() {
    header = frametally::tsvHeader();
    return header.c_str();
}

// The history of the page's readings: the page hands over each reading's TSV
// line (the two workers' readings together, numbered as the files were
// given), then takes the history's JSON lines, as `tiffwalker --history
// --format json` writes them.
frametally::BodyHistory pageHistory;
std::vector<std::string> pageHistoryPaths;
std::string pageHistoryRows;

EMSCRIPTEN_KEEPALIVE void frametally_history_clear() {
    pageHistory = frametally::BodyHistory();
    pageHistoryPaths.clear();
    pageHistoryRows.clear();
}

EMSCRIPTEN_KEEPALIVE void frametally_history_add(const char* tsvLine) {
    frametally::Inspection inspection = frametally::inspectionOfTsvLine(frametally::tsvHeader(), tsvLine);
    pageHistoryPaths.push_back(inspection.path);
    pageHistory.add(inspection, static_cast<uint32_t>(pageHistoryPaths.size() - 1));
}

EMSCRIPTEN_KEEPALIVE const char* frametally_history_json() {
    pageHistoryRows.clear();
    for (const frametally::HistorySummary& body : pageHistory.finish()) {
        frametally::historyJsonRows(
            body, [](uint32_t file) { return pageHistoryPaths[file]; },
            [](const std::string& line) { pageHistoryRows += line; });
    }
    return pageHistoryRows.c_str();
}

// The bytes the last reading took from its file: the head and what it read beyond.
EMSCRIPTEN_KEEPALIVE double frametally_bytes_read() { return static_cast<double>(source().bytesRead()); }

}  // extern "C"
