#include "text/text_format.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "text/c_locale_scope.h"

namespace tiffwalker {

std::string formatText(const char* format, ...) {
    const CLocaleScope cLocale;  // the listing's and the texts' numbers are written with '.'
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (length < 0) {
        va_end(again);
        return text;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        text.assign(small, static_cast<size_t>(length));
    } else {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

void appendDecimal(std::string& text, int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

void appendHex(std::string& text, uint32_t value, int minDigits) {
    char digits[8];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, 16);
    const auto length = static_cast<int>(result.ptr - digits);
    if (length < minDigits) text.append(static_cast<size_t>(minDigits - length), '0');
    text.append(digits, result.ptr);
}

}  // namespace tiffwalker
