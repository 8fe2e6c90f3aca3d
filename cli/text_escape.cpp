#include "text_escape.h"

#include <cstdint>

namespace frametally::cli {

namespace {

const char* kHexDigits = "0123456789abcdef";

void appendHexEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xf];
}

}  // namespace

std::string escapedForDisplay(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            appendHexEscape(out, byte);
        } else {
            const size_t length = utf8SequenceLength(text, i);
            // C1 control characters (U+0080 to U+009F) steer terminals too.
            const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
            if (length == 0 || c1) {
                appendHexEscape(out, byte);
            } else {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        ++i;
    }
    return out;
}

}  // namespace frametally::cli
