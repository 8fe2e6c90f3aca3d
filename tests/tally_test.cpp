// The run's summary: files per result, the highest count per camera body.
#include "tally.h"

#include <gtest/gtest.h>

using frametally::cli::FileOutcome;
using frametally::cli::Status;
using frametally::cli::Tally;

namespace {

FileOutcome outcome(Status status, const std::string& result, const std::string& serial, const std::string& path) {
    FileOutcome o;
    o.status = status;
    o.result = result;
    o.path = path;
    o.details.make = "NIKON CORPORATION";
    o.details.model = "NIKON D70";
    o.details.serialNumber = serial;
    return o;
}

}  // namespace

TEST(Tally, HighestCountPerBodyFirstFileWinsATieAndExitIsTheWorst) {
    Tally tally;
    tally.add(outcome(Status::Count, "900", "1", "a"));
    tally.add(outcome(Status::Count, "10000", "1", "b"));  // compared as numbers, not texts
    tally.add(outcome(Status::Count, "10000", "1", "c"));
    tally.add(outcome(Status::Count, "5", "2", "d"));
    tally.add(outcome(Status::Count, "5", "", "e"));
    EXPECT_EQ(tally.exitCode(), 0);
    tally.add(outcome(Status::NoCount, "No Count", "1", "f"));
    EXPECT_EQ(tally.exitCode(), 1);
    tally.add(outcome(Status::Error, "", "1", "g"));
    tally.add(outcome(Status::NotReadable, "Not Readable", "", "h"));
    EXPECT_EQ(tally.exitCode(), 3);

    EXPECT_EQ(tally.files(), 8u);
    EXPECT_EQ(tally.withStatus(Status::Count), 5u);
    EXPECT_EQ(tally.withStatus(Status::NoExif), 0u);
    ASSERT_EQ(tally.bodies().size(), 3u);
    const auto& first = tally.bodies().at({"NIKON D70", "1"});
    EXPECT_EQ(first.highestCount, 10000u);
    EXPECT_EQ(first.path, "b");
    EXPECT_EQ(first.files, 3u);
    EXPECT_EQ(tally.bodies().at({"NIKON D70", ""}).path, "e");
}

TEST(Tally, OnlyPlainDecimalCountsAreCounts) {
    uint64_t count = 0;
    EXPECT_TRUE(frametally::cli::parseCount("18446744073709551615", count));
    EXPECT_EQ(count, 18446744073709551615u);
    for (const char* text : {"", "18446744073709551616", "+1", "-1", "12a", " 12"})
        EXPECT_FALSE(frametally::cli::parseCount(text, count)) << text;
}
