#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/split_string.h"

namespace tiffwalker {
namespace {

using List = std::vector<std::string>;

struct Switches {
    int maxCount = 0;
    bool trim = false;
    bool escapes = false;
    bool quotes = false;
    bool keepEmpty = false;
};

List split(const char* text, const char* delimiters, Switches s = {}) {
    List list{"left over"};
    const int count = splitString(text, delimiters, list, s.maxCount, s.trim, s.escapes, s.quotes, s.keepEmpty);
    EXPECT_EQ(count, static_cast<int>(list.size()));
    return list;
}

TEST(SplitString, SwitchesOff) {
    EXPECT_EQ(split("18.000000 70.000000 3.500000 4.500000 ", " "),
              (List{"18.000000", "70.000000", "3.500000", "4.500000"}));
    EXPECT_EQ(split("a,,b", ","), (List{"a", "b"}));
    EXPECT_EQ(split(",,a,", ","), (List{"a"}));
    EXPECT_EQ(split("a;b,c", ",;"), (List{"a", "b", "c"}));
    EXPECT_EQ(split("5.600000 ", "."), (List{"5", "600000 "}));
    // Blanks at the start of a string stay, even when they are delimiters.
    EXPECT_EQ(split("a  b", " "), (List{"a", " b"}));
    EXPECT_EQ(split("a\t\tb", "\t"), (List{"a", "\tb"}));
    EXPECT_EQ(split("  ", ","), (List{"  "}));
    EXPECT_EQ(split("   ", " "), List{});
}

TEST(SplitString, NothingToSplit) {
    EXPECT_EQ(split(nullptr, " "), List{});
    EXPECT_EQ(split("a b", nullptr), List{});
    EXPECT_EQ(split("", " "), List{});
    EXPECT_EQ(split("a b", ""), List{});
}

TEST(SplitString, KeepEmpty) {
    const Switches keep{.keepEmpty = true};
    EXPECT_EQ(split("a,,b", ",", keep), (List{"a", "", "b"}));
    EXPECT_EQ(split(",a", ",", keep), (List{"", "a"}));
    EXPECT_EQ(split("a,", ",", keep), (List{"a", ""}));
    EXPECT_EQ(split("a,,", ",", keep), (List{"a", "", ""}));
    EXPECT_EQ(split("a", ",", keep), (List{"a"}));
}

TEST(SplitString, MaximumCount) {
    EXPECT_EQ(split("a b c", " ", {.maxCount = 2}), (List{"a", "b"}));
    EXPECT_EQ(split("a b c", " ", {.maxCount = 5}), (List{"a", "b", "c"}));
    EXPECT_EQ(split("a b c", " ", {.maxCount = -1}), (List{"a", "b", "c"}));
    // The empty string after a trailing delimiter counts against the maximum.
    EXPECT_EQ(split("a,b,", ",", {.maxCount = 2, .keepEmpty = true}), (List{"a", "b"}));
    EXPECT_EQ(split("a,b,c,", ",", {.maxCount = 2, .keepEmpty = true}), (List{"a", "b"}));
    EXPECT_EQ(split("a,", ",", {.maxCount = 2, .keepEmpty = true}), (List{"a", ""}));
}

TEST(SplitString, Trim) {
    EXPECT_EQ(split(" a , b\t", ",", {.trim = true}), (List{"a", "b"}));
    EXPECT_EQ(split(" a , b\t", ","), (List{" a ", " b\t"}));
    // A string trimmed to nothing is dropped unless empty strings are kept.
    EXPECT_EQ(split("a,  ,b", ",", {.trim = true}), (List{"a", "b"}));
    EXPECT_EQ(split("a,  ,b", ",", {.trim = true, .keepEmpty = true}), (List{"a", "", "b"}));
}

TEST(SplitString, Escapes) {
    EXPECT_EQ(split("a\\,b,c", ",", {.escapes = true}), (List{"a,b", "c"}));
    EXPECT_EQ(split("a\\\\,b", ",", {.escapes = true}), (List{"a\\", "b"}));
    EXPECT_EQ(split("ab\\", ",", {.escapes = true}), (List{"ab"}));
    EXPECT_EQ(split("a\\,b", ","), (List{"a\\", "b"}));
}

TEST(SplitString, Quotes) {
    const Switches q{.quotes = true};
    EXPECT_EQ(split("\"a,b\",c", ",", q), (List{"a,b", "c"}));
    EXPECT_EQ(split("\"a b\" c", " ", q), (List{"a b", "c"}));
    EXPECT_EQ(split("\"a,b", ",", q), (List{"a,b"}));
    EXPECT_EQ(split("\"\"", ",", q), List{});
    EXPECT_EQ(split("\"a\\\"b\",c", ",", {.escapes = true, .quotes = true}), (List{"a\"b", "c"}));
    EXPECT_EQ(split("\"a,b\",c", ","), (List{"\"a", "b\"", "c"}));
}

}  // namespace
}  // namespace tiffwalker
