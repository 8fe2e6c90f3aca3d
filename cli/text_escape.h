#pragma once
// Paths and values come from file systems and files: any bytes at all. These
// make them safe to show on a terminal and to put in one TSV field.
#include <string>
#include <string_view>

#include "report_rows.h"
#include "text_shape.h"

namespace frametally::cli {

using frametally::isValidUtf8;
using frametally::utf8SequenceLength;

// For a terminal: control characters and bytes that are not UTF-8 become
// C-style escapes (\n, \t, \x1b, \xff); everything else stays as it is.
std::string escapedForDisplay(std::string_view text);

// How many terminal columns a displayable text takes: two for East Asian wide
// characters and emoji, none for combining marks, one for the rest.
size_t displayWidth(std::string_view text);

using frametally::escapedForTsv;

using frametally::hexOf;

}  // namespace frametally::cli
