#include "text_shape.h"

#include <cctype>
#include <cstdint>

namespace frametally {

std::string withThousands(std::uint64_t value) {
    // Built forwards rather than with inserts, which GCC 12 at -O3 (the
    // Windows build) reports as overlapping copies that are not there.
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

std::string trimmed(const std::string& text) {
    const auto isPadding = [](char c) { return c == '\0' || std::isspace(static_cast<unsigned char>(c)); };
    size_t end = text.size();
    while (end > 0 && isPadding(text[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && isPadding(text[begin])) ++begin;
    return text.substr(begin, end - begin);
}

std::string withLineBreaks(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown += text[i];
    }
    return shown;
}

}  // namespace frametally

namespace frametally {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// How many bytes at text[at] begin a valid sequence without completing it
// (at least 1): the "maximal subpart" that one U+FFFD stands for, as browsers'
// decoders and JSON writers replace.
size_t invalidRunLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    size_t taken = 1;
    while (taken < length && at + taken < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at + taken]);
        const bool fits = taken == 1 ? byte >= low && byte <= high : isContinuation(byte);
        if (!fits) break;
        ++taken;
    }
    return taken;
}

}  // namespace

size_t utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!isContinuation(byte(at + i))) return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000)) return 0;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    if (codePoint > 0x10FFFF) return 0;
    return length;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string shownAsUtf8(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            shown += "\xEF\xBF\xBD";
            i += invalidRunLength(text, i);
        } else {
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    return shown;
}

std::string onOneLine(std::string_view utf8) {
    std::string line;
    line.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            line += c;
            continue;
        }
        // U+2400..U+241F and U+2421 in UTF-8: E2 90 80+code, E2 90 A1.
        line += "\xE2\x90";
        line += static_cast<char>(byte == 0x7F ? 0xA1 : 0x80 + byte);
    }
    return line;
}

}  // namespace frametally
