#pragma once
// Small text shapings for showing what a file holds.
#include <cstdint>
#include <string>
#include <string_view>

namespace frametally {

// Without the NULs and spaces that pad ASCII values at either end.
std::string trimmed(const std::string& text);
// 200000 as "200,000".
std::string withThousands(std::uint64_t value);
// "\r\n" (the engine's line break in messages) as "\n".
std::string withLineBreaks(const std::string& text);

// Length of the valid UTF-8 sequence at text[at], or 0 when it is not one.
size_t utf8SequenceLength(std::string_view text, size_t at);
// Whether every byte of text belongs to a valid UTF-8 sequence.
bool isValidUtf8(std::string_view text);
// Valid UTF-8 for a window to show: each run of bytes that is not valid UTF-8
// becomes U+FFFD, one for each maximal subpart of a sequence (as browsers'
// TextDecoder does). Files and file systems hold any bytes; toolkits
// that are handed invalid UTF-8 drop or mangle more than those bytes.
std::string shownAsUtf8(std::string_view text);
// One line for a name: control characters (a line feed in a file name, say)
// become their visible pictures (U+2400 + the code, U+2421 for DEL), so that
// nothing after them is lost from sight.
std::string onOneLine(std::string_view utf8);

}  // namespace frametally
