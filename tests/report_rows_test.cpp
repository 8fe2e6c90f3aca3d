// The TSV and JSON rows every front end writes, from the one field list.
#include "report_rows.h"

#include <gtest/gtest.h>

#include "text_shape.h"

using frametally::Inspection;
using tiffwalker::ReadingStatus;

namespace {

Inspection counted() {
    Inspection i;
    i.path = "DCIM/DSC_0001.NEF";
    i.status = ReadingStatus::Count;
    i.result = "3619";
    i.details.make = "NIKON CORPORATION";
    i.details.model = "NIKON D70";
    i.details.serialNumber = "2012345";
    i.details.dateTimeOriginal = "2025:01:10 10:10:00";
    i.details.lens = "18-70 mm f/3.5-4.5";
    i.maker = tiffwalker::Maker::Nikon;
    i.countKind = tiffwalker::CountKind::MechanicalReleases;
    return i;
}

}  // namespace

TEST(ReportRows, CountNoCountAndErrorLinesInBothFormats) {
    EXPECT_EQ(frametally::tsvHeader(),
              "path\tresult\tstatus\tmake\tmodel\tserial\tdate_time_original\tlens\treason\tmaker\tcount_"
              "kind\tmechanical_count\trated_releases\trated_source\tsource\n");
    const Inspection count = counted();
    EXPECT_EQ(frametally::tsvLine(count),
              "DCIM/DSC_0001.NEF\t3619\tcount\tNIKON CORPORATION\tNIKON D70\t2012345\t2025:01:10 10:10:00\t"
              "18-70 mm f/3.5-4.5\t\tNikon\tmechanical_releases\t\t\t\tfile\n");
    EXPECT_EQ(frametally::jsonLine(count),
              "{\"path\":\"DCIM/DSC_0001.NEF\",\"result\":\"3619\",\"status\":\"count\",\"make\":\"NIKON "
              "CORPORATION\",\"model\":\"NIKON D70\",\"serial\":\"2012345\",\"date_time_original\":\"2025:01:10 "
              "10:10:00\",\"lens\":\"18-70 mm "
              "f/"
              "3.5-4.5\",\"maker\":\"Nikon\",\"count_kind\":\"mechanical_releases\",\"mechanical_count\":null,\"rated_"
              "releases\":null,\"rated_source\":null,\"source\":\"file\"}\n");

    Inspection none;
    none.path = "a.JPG";
    none.status = ReadingStatus::NoCount;
    none.result = "No Count";
    none.reason = "maker notes missing";
    EXPECT_EQ(frametally::tsvLine(none), "a.JPG\tNo Count\tno_count\t\t\t\t\t\tmaker notes missing\t\t\t\t\t\tfile\n");
    EXPECT_EQ(
        frametally::jsonLine(none),
        "{\"path\":\"a.JPG\",\"result\":\"No Count\",\"status\":\"no_count\",\"make\":null,\"model\":null,"
        "\"serial\":null,\"date_time_original\":null,\"lens\":null,\"reason\":\"maker notes missing\",\"maker\":null,"
        "\"count_kind\":null,\"mechanical_count\":null,\"rated_releases\":null,\"rated_source\":null,\"source\":"
        "\"file\"}\n");

    Inspection error;
    error.path = "b.JPG";
    error.status = ReadingStatus::Error;
    error.message = "EXIF header text incorrect";
    error.reason = "the reading raised an error: EXIF header text incorrect";
    EXPECT_EQ(frametally::tsvLine(error),
              "b.JPG\t\terror\t\t\t\t\t\tthe reading raised an error: EXIF header text incorrect\t\t\t\t\t\tfile\n");
    EXPECT_EQ(frametally::jsonLine(error),
              "{\"path\":\"b.JPG\",\"result\":null,\"status\":\"error\",\"make\":null,\"model\":null,\"serial\":null,"
              "\"date_time_original\":null,\"lens\":null,\"reason\":\"the reading raised an error: EXIF header text "
              "incorrect\",\"message\":\"EXIF header text "
              "incorrect\",\"maker\":null,\"count_kind\":null,\"mechanical_count\":null,\"rated_releases\":null,"
              "\"rated_source\":null,\"source\":\"file\"}\n");
}

TEST(ReportRows, AwkwardBytesKeepEachLineOneValidLine) {
    Inspection odd = counted();
    odd.path = "a\tb\\c\nd\re\xFF.NEF";
    odd.details.lens = "\"quoted\"\x01\x1f";
    EXPECT_TRUE(frametally::tsvLine(odd).starts_with("a\\tb\\\\c\\nd\\re\xFF.NEF\t"));
    const std::string json = frametally::jsonLine(odd);
    EXPECT_TRUE(json.starts_with(
        "{\"path\":\"a\\tb\\\\c\\nd\\re\xEF\xBF\xBD.NEF\",\"path_hex\":\"6109625c630a640d65ff2e4e4546\""))
        << json;
    EXPECT_NE(json.find("\"lens\":\"\\\"quoted\\\"\\u0001\\u001f\""), std::string::npos) << json;
}

TEST(ReportRows, InvalidUtf8BecomesOneReplacementPerMaximalSubpart) {
    // As TextDecoder does: a truncated sequence is one U+FFFD, a stray byte one each.
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(frametally::shownAsUtf8("a\xE2\x82"
                                      "b"),
              "a" + r + "b");
    EXPECT_EQ(frametally::shownAsUtf8("\xFF\xFE"), r + r);
    EXPECT_EQ(frametally::shownAsUtf8("\xED\xA0\x80"), r + r + r);  // a surrogate: E0..9F only after ED
    EXPECT_EQ(frametally::shownAsUtf8("\xF0\x9F\x98"), r);
    EXPECT_EQ(frametally::shownAsUtf8("\xC3\xA4\xF0\x9F\x98\x80"), "\xC3\xA4\xF0\x9F\x98\x80");
    EXPECT_EQ(frametally::onOneLine("a\nb\x7F"),
              "a\xE2\x90\x8A"
              "b\xE2\x90\xA1");
}
