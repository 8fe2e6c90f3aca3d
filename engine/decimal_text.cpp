#include "decimal_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace tiffwalker {

namespace {

// Holds the calling thread in the "C" locale while it lives, so that printf
// and strtod use '.' whatever locale the program chose.
class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        previous_ = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    }
    ~CLocaleScope() {
        if (previous_) uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

// Room for the longest "%.6f" text: 309 integer digits, a sign, a point and six decimals.
constexpr size_t kSixDecimalsRoom = 400;

}  // namespace

namespace c_library {

void appendSixDecimals(std::string& text, double value) {
    char digits[kSixDecimalsRoom];
    int length;
    {
        CLocaleScope cLocale;
        length = std::snprintf(digits, sizeof digits, "%.6f", value);
    }
    if (length > 0) text.append(digits, std::min(static_cast<size_t>(length), sizeof digits - 1));
}

std::errc parseDecimal(const char* first, const char* last, double& value) {
    // strtod needs the text to end with a NUL.
    const std::string text(first, last);
    char* end = nullptr;
    double parsed;
    {
        CLocaleScope cLocale;
        errno = 0;
        parsed = std::strtod(text.c_str(), &end);
    }
    if (end == text.c_str()) return std::errc::invalid_argument;
    // strtod also says ERANGE for a result that is merely subnormal;
    // from_chars gives that result.
    if (errno == ERANGE && (std::isinf(parsed) || parsed == 0.0)) return std::errc::result_out_of_range;
    value = parsed;
    return std::errc{};
}

}  // namespace c_library

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L

void appendSixDecimals(std::string& text, double value) {
    char digits[kSixDecimalsRoom];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    text.append(digits, result.ptr);
}

std::errc parseDecimal(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general).ec;
}

#else

void appendSixDecimals(std::string& text, double value) { c_library::appendSixDecimals(text, value); }

std::errc parseDecimal(const char* first, const char* last, double& value) {
    return c_library::parseDecimal(first, last, value);
}

#endif

}  // namespace tiffwalker
