#include <gtest/gtest.h>

#include "byte_writer.h"
#include "maker_test_support.h"

namespace {

using synthetic::Order;
using testing_support::readMakerFile;
using tiffwalker::CountKind;
using tiffwalker::ReadingCause;

synthetic::NoteEntry fileInfo(uint16_t high, uint16_t low, bool big) {
    bytes::ByteWriter shorts(big);
    shorts.u16(1).u16(high).u16(low).u16(0).u16(0);
    return {0x0093, 3, 0, shorts.bytes()};
}

TEST(CanonCount, CameraInfoBodies) {
    const auto r5 = readMakerFile(synthetic::canonFile("Canon EOS R5", {synthetic::canonCameraInfo(0xaf1, 51234)}));
    EXPECT_EQ(r5.result, "51234");
    EXPECT_EQ(r5.countKind, CountKind::AllExposures);
    EXPECT_EQ(readMakerFile(synthetic::canonFile("Canon EOS R6m2", {synthetic::canonCameraInfo(0xd29, 77)})).result,
              "77");
    // The Mark III stores one less than the count; the block is little-endian
    // in a big-endian file too.
    const auto mark3 = readMakerFile(
        synthetic::canonFile("Canon EOS-1Ds Mark III", {synthetic::canonCameraInfo(0x176, 4337)}, Order::Motorola));
    EXPECT_EQ(mark3.result, "4338");
    EXPECT_EQ(mark3.countKind, CountKind::MechanicalReleases);
}

TEST(CanonCount, FileInfoBodiesAndTheSwappedHalves) {
    // 0x0001_86A0 = 100000.
    EXPECT_EQ(
        readMakerFile(synthetic::canonFile("Canon EOS-1D", {fileInfo(0x0001, 0x86A0, true)}, Order::Motorola)).result,
        "100000");
    EXPECT_EQ(
        readMakerFile(synthetic::canonFile("Canon EOS-1D Mark II", {fileInfo(0x0001, 0x86A0, false)}, Order::Intel))
            .result,
        "100000");
}

TEST(CanonCount, OtherBodiesRecordNone) {
    const auto outcome =
        readMakerFile(synthetic::canonFile("Canon EOS 5D Mark IV", {synthetic::canonCameraInfo(0xaf1, 5)}));
    EXPECT_EQ(outcome.cause, ReadingCause::ModelRecordsNone);
    EXPECT_EQ(outcome.result, "No Count");
}

TEST(CanonCount, FooterOfAMovedMakerNoteGivesTheOffsetsBase) {
    auto moved = synthetic::canonFile("Canon EOS R5", {synthetic::canonCameraInfo(0xaf1, 4242)});
    moved.layout.movedBy = 0x300;
    moved.layout.canonFooter = true;
    EXPECT_EQ(readMakerFile(moved).result, "4242");
    // Without its footer the same maker note's offsets miss the block.
    moved.layout.canonFooter = false;
    EXPECT_NE(readMakerFile(moved).result, "4242");
}

TEST(CanonCount, CameraInfoTooShortForItsPlace) {
    EXPECT_EQ(readMakerFile(synthetic::canonFile("Canon EOS R5", {synthetic::canonCameraInfo(0, 1, 0xaf0)})).cause,
              ReadingCause::CountEntryMalformed);
}

}  // namespace
