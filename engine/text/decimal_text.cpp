#include "text/decimal_text.h"

#include "text/c_locale_scope.h"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tiffwalker {

namespace {

// Room for the longest "%.6f" text: 309 integer digits, a sign, a point and six decimals.
constexpr size_t kSixDecimalsRoom = 400;
constexpr unsigned kPowersOfTen[6] = {1, 10, 100, 1000, 10000, 100000};

}  // namespace

namespace portable {

namespace {

using Wide = unsigned __int128;

void appendWithPrintf(std::string& text, double value) {
    char digits[kSixDecimalsRoom];
    int length;
    {
        CLocaleScope cLocale;
        length = std::snprintf(digits, sizeof digits, "%.6f", value);
    }
    if (length > 0) text.append(digits, std::min(static_cast<size_t>(length), sizeof digits - 1));
}

void appendWide(std::string& text, Wide value) {
    char digits[40];
    char* start = digits + sizeof digits;
    do {
        *--start = static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    } while (value != 0);
    text.append(start, digits + sizeof digits);
}

}  // namespace

// The double is m * 2^e exactly; its value in millionths, m * 10^6 * 2^e, is
// rounded to the nearest integer, a tie to the even one, as printf rounds the
// exact value. Values from 2^107 up, far beyond any a file's fraction makes,
// go to printf.
void appendSixDecimals(std::string& text, double value) {
    if (std::isnan(value)) {
        text += std::signbit(value) ? "-nan" : "nan";
        return;
    }
    if (std::signbit(value)) text += '-';
    if (std::isinf(value)) {
        text += "inf";
        return;
    }
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int e = exponent - 53;
    if (e > 54) {
        appendWithPrintf(text, std::fabs(value));
        return;
    }
    const Wide millionths = static_cast<Wide>(mantissa) * 1000000u;
    Wide rounded;
    if (e >= 0) {
        rounded = millionths << e;
    } else if (-e >= 128) {
        rounded = 0;  // below 2^-55 millionths
    } else {
        const int shift = -e;
        rounded = millionths >> shift;
        const Wide rest = millionths - (rounded << shift);
        const Wide half = static_cast<Wide>(1) << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
    }
    appendWide(text, rounded / 1000000u);
    text += '.';
    const auto decimals = static_cast<unsigned>(rounded % 1000000u);
    char six[7];
    for (int i = 5; i >= 0; --i) six[i] = static_cast<char>('0' + (decimals / kPowersOfTen[5 - i]) % 10);
    text.append(six, 6);
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

}  // namespace portable

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

void appendSixDecimals(std::string& text, double value) { portable::appendSixDecimals(text, value); }

std::errc parseDecimal(const char* first, const char* last, double& value) {
    return portable::parseDecimal(first, last, value);
}

#endif

}  // namespace tiffwalker
