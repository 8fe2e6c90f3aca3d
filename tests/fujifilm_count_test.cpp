#include <gtest/gtest.h>

#include "maker_test_support.h"

namespace {

using testing_support::readMakerFile;
using tiffwalker::CountKind;
using tiffwalker::Maker;

TEST(FujifilmCount, ImageCountIsTheLow15BitsAndLittleEndianInABigEndianFile) {
    const auto outcome = readMakerFile(synthetic::fujifilmFile(0x8000 | 1234));
    EXPECT_EQ(outcome.result, "1234");
    EXPECT_EQ(outcome.maker, Maker::Fujifilm);
    EXPECT_EQ(outcome.countKind, CountKind::ImageCount);
}

TEST(FujifilmCount, DirectoryOffsetBeyondTheFileIsUnreadable) {
    auto file = synthetic::fujifilmFile(7);
    file.layout.header[9] = 0x70;  // the directory 0x7000 bytes on
    EXPECT_EQ(testing_support::readMakerFile(file).cause, tiffwalker::ReadingCause::MakerNoteDirectoryUnreadable);
}

}  // namespace
