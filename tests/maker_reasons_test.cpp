// What people are told of files of every maker: the reasons in plain words,
// and what a count counts.
#include <gtest/gtest.h>

#include "maker_test_support.h"
#include "plain_reason.h"
#include "readout.h"

namespace {

frametally::Inspection inspect(const synthetic::MakerFile& file) {
    const synthetic::Bytes bytes = synthetic::makeMakerFile(file);
    tiffwalker::MemorySource source(bytes.data(), bytes.size());
    frametally::Inspector inspector;
    return inspector.inspect(source, "file.jpg");
}

TEST(MakerReasons, EachCauseInPlainWords) {
    EXPECT_EQ(inspect(synthetic::sonyFile("ILCE-7M9", {synthetic::sonyCountBlock(0x32, 5)})).reason,
              "the Sony ILCE-7M9 is a model whose count Frametally does not know where to find, so it shows none "
              "rather than a guess");
    EXPECT_EQ(inspect(synthetic::sonyFile("DSC-RX100M7", {synthetic::sonyCountBlock(0x32, 5)})).reason,
              "this model (Sony DSC-RX100M7) records no shutter count in its files");
    EXPECT_EQ(inspect(synthetic::canonFile("Canon EOS 5D Mark IV", {synthetic::canonCameraInfo(0xaf1, 5)})).reason,
              "this model (Canon EOS 5D Mark IV) records no shutter count in its files")
        << "a model that already names its maker is named once";
    EXPECT_EQ(inspect(synthetic::sonyFile("ILCE-6000", {synthetic::sonyCountBlock(0x32, 0x14000010)})).reason,
              "the maker-note data looks displaced (an editing program moved it without mending its offsets): the "
              "count found there is implausible");

    synthetic::MakerFile olympus;
    olympus.make = "OLYMPUS IMAGING CORP.";
    olympus.model = "E-M5";
    olympus.entries = {{0x0100, 7, 4, {1, 2, 3, 4}}};
    EXPECT_EQ(inspect(olympus).reason, "Olympus cameras record no shutter count in their files");
    olympus.make = "Apple";
    EXPECT_EQ(inspect(olympus).reason, "phones record no shutter count in their files");
    olympus.make = "Hasselblad";
    EXPECT_EQ(inspect(olympus).reason,
              "Make is \"Hasselblad\", a maker whose files Frametally reads no count from (it reads Nikon, Sony, "
              "Pentax, Canon and Fujifilm cameras)");
}

TEST(MakerReasons, ThePagesPlainWordsForEachNewCause) {
    EXPECT_EQ(frametally::plainReason(inspect(synthetic::sonyFile("ILCE-7M9", {synthetic::sonyCountBlock(0x32, 5)}))),
              "Frametally does not know where this camera model (ILCE-7M9) keeps its count, so it shows none rather "
              "than a guess.");
    EXPECT_EQ(frametally::plainReason(
                  inspect(synthetic::canonFile("Canon EOS 5D Mark IV", {synthetic::canonCameraInfo(0xaf1, 5)}))),
              "This camera model (Canon EOS 5D Mark IV) does not record a shutter count in its files.");
    synthetic::MakerFile panasonic;
    panasonic.make = "Panasonic";
    panasonic.model = "DC-G9";
    panasonic.entries = {{0x0100, 7, 4, {1, 2, 3, 4}}};
    EXPECT_EQ(frametally::plainReason(inspect(panasonic)),
              "Panasonic cameras do not record a shutter count in their files.");
    EXPECT_NE(
        frametally::plainReason(inspect(synthetic::sonyFile("NEX-6", {synthetic::sonyCountBlock(0x32, 0x15000001)})))
            .find("moved the camera's notes"),
        std::string::npos);
}

TEST(MakerReasons, ImageCountIsNamedForWhatItIs) {
    auto fuji = synthetic::fujifilmFile(12);
    const auto inspection = inspect(fuji);
    EXPECT_EQ(inspection.result, "12");
    EXPECT_EQ(inspection.maker, tiffwalker::Maker::Fujifilm);
    EXPECT_STREQ(frametally::countKindName(inspection.countKind), "image_count");
    EXPECT_STREQ(frametally::countKindWords(inspection.countKind), "image count (may restart)");
    EXPECT_TRUE(inspection.reason.empty());
}

}  // namespace
