#pragma once
// Decimal texts of doubles and doubles from decimal texts that are the same
// with every standard library and in every locale. std::to_chars and
// std::from_chars do this where the library has them for floating point;
// Emscripten's libc++ has neither, so there portable forms do it: the six
// decimals in integer arithmetic (its printf formats through a software
// 128-bit long double, slowly), and strtod run in the "C" locale (a desktop
// application may have switched the process to one that reads "0,5").
#include <string>
#include <system_error>

namespace tiffwalker {

// As printf "%.6f" in the C locale: "0.500000", "-0.000000", "inf", "-inf", "nan".
void appendSixDecimals(std::string& text, double value);

// As std::from_chars(first, last, value, std::chars_format::general) for a
// text of digits with at most one '.' and an optional exponent: on
// std::errc::result_out_of_range (the value overflows, or underflows to zero)
// value is left as it was.
std::errc parseDecimal(const char* first, const char* last, double& value);

// The portable forms, used where the standard library has no floating-point
// to_chars/from_chars; built everywhere so that they can be checked against
// those that exist.
namespace portable {
void appendSixDecimals(std::string& text, double value);
std::errc parseDecimal(const char* first, const char* last, double& value);
}  // namespace portable

}  // namespace tiffwalker
