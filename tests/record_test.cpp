#include <gtest/gtest.h>

#include <tiffwalker/context_free.h>
#include <tiffwalker/record_list.h>
#include <tiffwalker/tag_record.h>
#include "name_tables.h"
#include "test_support.h"

using namespace tiffwalker;
using testing_support::CapturedOutput;

namespace {

CTagRecord recordWith(uint16_t tag, const std::string& value, const std::string& display) {
    CTagRecord record(IFDENTRY{tag, 2, 1, 0}, kIfd0);
    record.stringData = value;
    record.displayStringData = display;
    return record;
}

struct RecordListTest : ::testing::Test {
    void SetUp() override { clearRecords(); }
    void TearDown() override { clearRecords(); }
};

}  // namespace

TEST(TagRecord, NewRecordHoldsOnlyItsEntryAndDirectory) {
    const CTagRecord record(IFDENTRY{0x00a7, 4, 1, 731}, 9);
    EXPECT_EQ(record.iIFDType, 9);
    EXPECT_EQ(record.ifde.valofs, 731u);
    EXPECT_EQ(record.lAdjustedOffset, 0);
    EXPECT_EQ(record.ulMakerNoteHeaderOffset, 0u);
    EXPECT_EQ(record.iASCILabelSkipLength, 0);
    EXPECT_FALSE(record.isWantedValue);
    EXPECT_FALSE(record.isLessThanFourBytes);
    EXPECT_TRUE(record.stringData.empty() && record.displayStringData.empty() && record.rawData.empty());

    CapturedOutput out;
    record.dump();
    EXPECT_EQ(out.text(),
              "\n\nData List Start:"
              "\nifde.tag               : 167(0xa7)"
              "\nifde.type              : 4"
              "\nifde.count             : 1"
              "\nifde.valofs            : 731(0x2db)"
              "\nlAdjustedOffset        : 0(0x0)"
              "\nulTagWriteOffset       : 0(0x0)"
              "\nulValueWriteOffset     : 0(0x0)"
              "\nulMakerNoteHeaderOffset: 0(0x0)"
              "\nlFileSize              : 0(0x0)"
              "\niIFDType               : 9"
              "\nisWantedValue          : 0"
              "\nisLessThanFourBytes    : 0"
              "\niFileType              : 0"
              "\niImageType             : 0"
              "\niASCILabelSkipLength   : 0"
              "\nprogramName            : "
              "\nprogramVersion         : "
              "\nprogramDate            : "
              "\nfileName               : "
              "\nstringData             : "
              "\ndisplayStringData      : "
              "\nrawData                : []"
              "\nData List End.\n");
}

TEST(TagRecord, DumpWritesRawBytesAsTheyAreAndSignedOffsets) {
    CTagRecord record(IFDENTRY{1, 7, 3, 0xFFFFFFFF}, 1);
    record.rawData = std::string("A\0B", 3);
    record.ulMakerNoteHeaderOffset = 0x80000000u;
    CapturedOutput out;
    record.dump();
    const std::string text = out.text();
    EXPECT_NE(text.find(std::string("[A\0B]", 5)), std::string::npos);
    EXPECT_NE(text.find("ifde.valofs            : -1(0xffffffff)"), std::string::npos);
    EXPECT_NE(text.find("ulMakerNoteHeaderOffset: -2147483648(0x80000000)"), std::string::npos);
}

TEST(TagRecord, CopiesKeepEveryByte) {
    CTagRecord record = recordWith(0x0019, "raw", "shown");
    record.rawData = std::string("\0\1\2", 3);
    const CTagRecord copy = record;
    EXPECT_EQ(copy.rawData, record.rawData);
    EXPECT_EQ(copy.displayStringData, "shown");
}

TEST_F(RecordListTest, LookupsFindTheFirstRecordOfATagInAnyDirectory) {
    EXPECT_EQ(getDisplayStringData(0x0019), "") << "empty list";
    appendRecord(recordWith(0x0011, "first", "First"));
    appendRecord(recordWith(0x0019, "a", "A"));
    CTagRecord later = recordWith(0x0019, "b", "B");
    later.iIFDType = kMakerNotes;
    appendRecord(later);

    EXPECT_EQ(recordCount(), 3u);
    EXPECT_EQ(getDisplayStringData(0x0019), "A");
    EXPECT_EQ(getStringData(0x0019), "a");
    EXPECT_EQ(getDisplayStringData(0x0011), "First");
    EXPECT_EQ(getDisplayStringData(0x00a7), "") << "no such record";
}

TEST_F(RecordListTest, EachLookupKeepsItsOwnAnswer) {
    appendRecord(recordWith(0x0019, "raw", "shown"));
    appendRecord(recordWith(0x0110, "model", "NIKON D70"));
    const std::string& display = getDisplayStringData(0x0019);
    getStringData(0x0110);
    EXPECT_EQ(display, "shown") << "the other lookup leaves it alone";
    getDisplayStringData(0x0110);
    EXPECT_EQ(display, "NIKON D70") << "the next call of the same lookup rewrites it";
}

TEST_F(RecordListTest, ClearEmptiesListAndLookups) {
    appendRecord(recordWith(0x00a7, "731", "731"));
    clearRecords();
    EXPECT_EQ(recordCount(), 0u);
    EXPECT_EQ(getDisplayStringData(0x00a7), "");
    EXPECT_EQ(getStringData(0x00a7), "");
}
