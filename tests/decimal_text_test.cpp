// The portable forms of the decimal texts stand in for std::to_chars and
// std::from_chars in the browser build; a difference would make the page show
// other value texts than the desktop.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"
#include "text/decimal_text.h"

using namespace tiffwalker;

namespace {

std::vector<double> sampleValues() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  1.0 / 3,
                                  2.0 / 3,
                                  0.0000005,
                                  0.0000015,
                                  0.0000025,
                                  -0.0000005,
                                  1e-7,
                                  123456.1234565,
                                  4294967295.0,
                                  1e22,
                                  1e300,
                                  std::numeric_limits<double>::max(),
                                  -std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min(),
                                  inf,
                                  -inf,
                                  std::numeric_limits<double>::quiet_NaN()};
    // Exact ties at the seventh decimal (k / 128 = ...0078125), which round to even.
    for (int k = 1; k < 400; ++k) values.push_back(std::ldexp(k, -7));
    for (int k = 1; k < 64; ++k) values.push_back(std::ldexp(k, -20) + 1e6);
    values.push_back(std::ldexp(1.0, 106));
    values.push_back(std::ldexp(1.0, 107) - std::ldexp(1.0, 54));
    values.push_back(std::ldexp(1.0, 107));
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int32_t> any32;
    for (int i = 0; i < 2000; ++i) {
        const double numerator = any32(random), denominator = any32(random);
        values.push_back(numerator / denominator);
        values.push_back(numerator * std::ldexp(1.0, static_cast<int>(random() % 200) - 100));
    }
    return values;
}

std::string standardText(double value) {
    char digits[400];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6).ptr);
}

std::string portableText(double value) {
    std::string text = "x";
    portable::appendSixDecimals(text, value);
    return text.substr(1);
}

void expectSameAsStandardLibrary() {
    for (const double value : sampleValues()) {
        ASSERT_EQ(portableText(value), standardText(value)) << value;
    }
    const char* texts[] = {"0",
                           "0.5",
                           "1e5",
                           "1E-5",
                           "123.456e+2",
                           "4.9e-324",
                           "2.5e-320",
                           "1e309",
                           "1e-400",
                           "1e400",
                           "179769313486231580793728971405301",
                           ".5",
                           "5.",
                           "0.000000000000000000001"};
    for (const char* text : texts) {
        double standard = -1, portableValue = -1;
        const std::errc standardError = std::from_chars(text, text + std::strlen(text), standard).ec;
        const std::errc portableError = portable::parseDecimal(text, text + std::strlen(text), portableValue);
        EXPECT_EQ(portableError, standardError) << text;
        EXPECT_EQ(portableValue, standard) << text;
    }
}

}  // namespace

TEST(DecimalTextTest, PortableFormsGiveTheStandardLibraryTextsAndValues) { expectSameAsStandardLibrary(); }

// A desktop application runs in the user's locale; one that writes decimal
// commas must not change the texts.
TEST(DecimalTextTest, PortableFormsIgnoreTheProcessLocale) {
    const testing_support::DecimalCommaLocale commas;
    if (!commas.active()) GTEST_SKIP() << "no locale with a decimal comma could be set";
    expectSameAsStandardLibrary();
}
