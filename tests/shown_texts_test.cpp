// The texts every front end shows of a file.
#include "shown_texts.h"

#include <gtest/gtest.h>

using frametally::Inspection;
using tiffwalker::CountKind;
using tiffwalker::ReadingStatus;

TEST(ShownTexts, DatesBlankOrImpossibleAreNotDressedAsDates) {
    EXPECT_EQ(frametally::dateShown("2025:01:10 10:10:00"), "2025-01-10 10:10:00");
    EXPECT_EQ(frametally::dateTimeValue("2024:02:29 23:59:59"), "2024-02-29T23:59:59");
    // A FujiFilm SP-2500 leaves its date blank; EXIF writes zeros for an unknown one.
    for (const char* blank : {":  :    : :", "    :  :     :  :  ", "0000:00:00 00:00:00", "", "   "}) {
        EXPECT_EQ(frametally::dateShown(blank), "") << '"' << blank << '"';
        EXPECT_EQ(frametally::dateTimeValue(blank), "") << '"' << blank << '"';
    }
    // Not a real date or time: shown as the file has it, never as a date.
    for (const char* odd : {"2023:02:29 10:00:00", "2025:13:01 10:00:00", "2025:01:10 24:00:00", "2025:01:10"}) {
        EXPECT_EQ(frametally::dateShown(odd), odd);
        EXPECT_EQ(frametally::dateTimeValue(odd), "");
    }
}

TEST(ShownTexts, EveryCountSaysWhatItCountsWithTheMechanicalCountAndRatedLife) {
    Inspection mechanical;
    mechanical.status = ReadingStatus::Count;
    mechanical.result = "3619";
    mechanical.countKind = CountKind::MechanicalReleases;
    mechanical.maker = tiffwalker::Maker::Nikon;
    mechanical.ratedReleases = 150000;
    const frametally::ShownTexts nikon = frametally::shownTextsOf(mechanical);
    EXPECT_EQ(nikon.countKind, "mechanical releases");
    EXPECT_EQ(nikon.mechanicalCount, "");
    EXPECT_EQ(nikon.ratedLife, "2% of the 150,000 releases Nikon rates this shutter for");

    Inspection both = mechanical;
    both.result = "52000";
    both.countKind = CountKind::AllReleases;
    both.mechanicalCount = 0xFFFFFFFFu;
    both.ratedReleases.reset();
    const frametally::ShownTexts texts = frametally::shownTextsOf(both);
    EXPECT_EQ(texts.countKind, "all releases, electronic ones included");
    EXPECT_EQ(texts.mechanicalCount, "4294967295");

    // Without a count nothing is said of one, whatever the outcome carries.
    Inspection none = both;
    none.status = ReadingStatus::NoCount;
    none.result = "No Count";
    const frametally::ShownTexts noCount = frametally::shownTextsOf(none);
    EXPECT_EQ(noCount.countKind + noCount.mechanicalCount + noCount.ratedLife, "");
}

// A body is named by its serial number without a "NO=" prefix, and its count
// says what it counts.
TEST(ShownTexts, BodySummaryLineSaysWhatTheCountCounts) {
    EXPECT_EQ(frametally::serialShown("no=42 "), "42");
    EXPECT_EQ(frametally::serialShown("NOX123"), "NOX123");
    EXPECT_EQ(frametally::bodyName("", ""), "unknown camera (no serial number)");
    frametally::BodySummary body{"X-T3", "NO=1234", 7, CountKind::ImageCount, "DCIM/DSCF0007.JPG", 2};
    EXPECT_EQ(frametally::bodySummaryLine(body),
              "X-T3, serial 1234: 7, image count (may restart), in DCIM/DSCF0007.JPG");
}
