#pragma once
// Paths and values come from file systems and files: any bytes at all. These
// make them safe to show on a terminal and to put in one TSV field.
#include <string>
#include <string_view>

#include "text_shape.h"

namespace frametally::cli {

using frametally::utf8SequenceLength;
bool isValidUtf8(std::string_view text);

// For a terminal: control characters and bytes that are not UTF-8 become
// C-style escapes (\n, \t, \x1b, \xff); everything else stays as it is.
std::string escapedForDisplay(std::string_view text);

// How many columns a displayable text takes: its code points.
size_t displayWidth(std::string_view text);

// For one TSV field: backslash, tab, line feed and carriage return become
// \\, \t, \n and \r; other bytes stay as they are.
std::string escapedForTsv(std::string_view text);

std::string hexOf(std::string_view bytes);

}  // namespace frametally::cli
