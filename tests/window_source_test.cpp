// A window shows a stretch of a file as a file of its own: it reads nothing
// outside the stretch, and a stretch that passes the file is cut to it.
#include <gtest/gtest.h>

#include "container_test_support.h"
#include "io/window_source.h"

using container_testing::Bytes;
using container_testing::HeldSource;
using tiffwalker::WindowSource;

namespace {

Bytes numbered(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

}  // namespace

TEST(WindowSource, ReadsItsStretchFromZero) {
    HeldSource file(numbered(100));
    WindowSource window(file, 10, 20);
    EXPECT_EQ(window.size(), 20);
    EXPECT_EQ(window.origin(), 10);
    uint8_t got[30] = {};
    ASSERT_EQ(window.readAt(0, got, 4), 4u);
    EXPECT_EQ(got[0], 10);
    EXPECT_EQ(got[3], 13);
    // A read that passes the stretch's end stops there, though the file goes on.
    EXPECT_EQ(window.readAt(15, got, 30), 5u);
    EXPECT_EQ(got[4], 29);
    EXPECT_EQ(window.readAt(20, got, 1), 0u);
    EXPECT_EQ(window.readAt(-1, got, 1), 0u);
}

TEST(WindowSource, StretchPassingTheFileIsCutToIt) {
    HeldSource file(numbered(100));
    EXPECT_EQ(WindowSource(file, 90, 50).size(), 10);
    EXPECT_EQ(WindowSource(file, 200, 50).size(), 0);
    EXPECT_EQ(WindowSource(file, 200, 50).origin(), 100);
    EXPECT_EQ(WindowSource(file, -5, 10).origin(), 0);
    EXPECT_EQ(WindowSource(file, 10, INT64_MAX).size(), 90);
    uint8_t got[4] = {};
    WindowSource empty(file, 100, 10);
    EXPECT_EQ(empty.readAt(0, got, 4), 0u);
}

TEST(WindowSource, WindowOnAWindowStaysInside) {
    HeldSource file(numbered(100));
    WindowSource outer(file, 10, 50);
    WindowSource inner(outer, 40, 30);  // cut to the outer window's last 10 bytes
    EXPECT_EQ(inner.size(), 10);
    uint8_t got[16] = {};
    EXPECT_EQ(inner.readAt(0, got, 16), 10u);
    EXPECT_EQ(got[0], 50);
    EXPECT_EQ(got[9], 59);
}
