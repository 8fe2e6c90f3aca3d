// A body's history: the synthetic library of known histories read through the
// engine in any order, the count it compares, the edges of its rules, and the
// command's --history rows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

#include "body_history.h"
#include "history_rows.h"
#include "report_rows.h"
#include "synthetic_library.h"
#include "test_support.h"

using frametally::AnomalyKind;
using frametally::BodyHistory;
using frametally::HistorySummary;
using frametally::Inspection;
using testing_support::runTiffwalker;
using testing_support::TempDir;
using tiffwalker::CountKind;

namespace {

// The library's files, by number; its bodies, by model.
struct ReadLibrary {
    std::vector<std::string> paths;
    std::map<std::string, HistorySummary> bodies;

    std::vector<std::string> readingPaths(const std::string& model) const {
        std::vector<std::string> out;
        for (const auto& reading : bodies.at(model).readings) out.push_back(name(reading.file));
        return out;
    }
    std::string name(std::uint32_t file) const { return paths.at(file); }
};

ReadLibrary readLibrary(const TempDir& dir, unsigned seed) {
    const auto library = synthetic::historyLibrary();
    EXPECT_TRUE(synthetic::writeLibrary(dir.path().string(), library));
    std::vector<std::uint32_t> order(library.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    ReadLibrary read;
    for (const auto& file : library) read.paths.push_back(file.path);
    frametally::Inspector inspector;
    BodyHistory history;
    for (std::uint32_t i : order) {
        Inspection inspection = inspector.inspect((dir.path() / library[i].path).string());
        // Ratings are looked up elsewhere; here the D850 is given one.
        if (inspection.details.model == "NIKON D850") inspection.ratedReleases = 200000;
        history.add(inspection, i);
    }
    for (HistorySummary& body : history.finish()) read.bodies[body.model] = std::move(body);
    return read;
}

using Anomalies = std::vector<std::tuple<AnomalyKind, std::string, std::string>>;

Anomalies anomaliesOf(const ReadLibrary& read, const std::string& model) {
    Anomalies out;
    for (const auto& a : read.bodies.at(model).anomalies)
        out.emplace_back(a.kind, read.name(a.file), read.name(a.otherFile));
    return out;
}

Inspection counted(const std::string& model, const std::string& result, const std::string& taken,
                   CountKind kind = CountKind::MechanicalReleases) {
    Inspection inspection;
    inspection.status = tiffwalker::ReadingStatus::Count;
    inspection.result = result;
    inspection.countKind = kind;
    inspection.maker = tiffwalker::Maker::Sony;
    inspection.details.model = model;
    inspection.details.serialNumber = "S-" + model;
    inspection.details.dateTimeOriginal = taken;
    return inspection;
}

}  // namespace

TEST(BodyHistory, SyntheticLibraryGivesItsKnownHistoriesInAnyOrder) {
    TempDir dir;
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const ReadLibrary read = readLibrary(dir, seed);
        ASSERT_EQ(read.bodies.size(), 6u);  // the file without a count is in none

        const HistorySummary& d850 = read.bodies.at("NIKON D850");
        EXPECT_EQ(read.readingPaths("NIKON D850"),
                  (std::vector<std::string>{"d850/DSC_1000.NEF", "d850/DSC_1001.NEF", "d850/DSC_1002.NEF",
                                            "d850/DSC_1003.NEF", "d850/DSC_1004.NEF", "d850/DSC_1004.JPG"}));
        EXPECT_EQ(frametally::rateText(*d850.releasesPerMonth), "3043.7");  // 12000 in 120 days
        EXPECT_TRUE(d850.anomalies.empty()) << "a raw file and its JPEG are one shot, not an anomaly";
        ASSERT_TRUE(d850.ratedReachedAt);
        // 187,000 releases to go at 100 a day: 1870 days after 2025-05-01 10:00.
        EXPECT_EQ(frametally::exifDateOf(*d850.ratedReachedAt), "2030:06:14 10:00:00");

        EXPECT_EQ(anomaliesOf(read, "NIKON D750"), (Anomalies{{AnomalyKind::LowerCount, "d750/c.NEF", "d750/b.NEF"}}));
        EXPECT_EQ(frametally::rateText(*read.bodies.at("NIKON D750").releasesPerMonth), "2029.1")
            << "the drop is left out of the rate, the climbs on both sides kept";

        EXPECT_EQ(anomaliesOf(read, "NIKON D7000"),
                  (Anomalies{{AnomalyKind::SharedSerial, "shared/d7000-1.NEF", "shared/d7100.NEF"}}));
        EXPECT_EQ(anomaliesOf(read, "NIKON D7100"),
                  (Anomalies{{AnomalyKind::SharedSerial, "shared/d7100.NEF", "shared/d7000-1.NEF"}}));
        EXPECT_FALSE(read.bodies.at("NIKON D7100").releasesPerMonth) << "one picture gives no rate";

        EXPECT_EQ(read.readingPaths("NIKON Z 6").front(), "z6/3-clock-reset.NEF");
        EXPECT_EQ(anomaliesOf(read, "NIKON Z 6"),
                  (Anomalies{{AnomalyKind::LowerCount, "z6/1.NEF", "z6/3-clock-reset.NEF"},
                             {AnomalyKind::ImpossibleRate, "z6/5-five-seconds-on.NEF", "z6/4.NEF"}}));
        EXPECT_EQ(frametally::rateText(*read.bodies.at("NIKON Z 6").releasesPerMonth), "1521.8");

        const HistorySummary& d70 = read.bodies.at("NIKON D70");
        EXPECT_TRUE(d70.serial.empty());
        EXPECT_EQ(d70.readings.size(), 2u);
        EXPECT_EQ(d70.undated, 1u);
        EXPECT_EQ(frametally::rateText(*d70.releasesPerMonth), "913.1");
        EXPECT_FALSE(d70.ratedReleases);
    }
}

TEST(BodyHistory, ComparesMechanicalReleasesAndProjectsOnlyThose) {
    BodyHistory history;
    // A body that counts every release and its mechanical ones apart: the
    // mechanical count is compared, and set against the rating.
    Inspection early = counted("ILCE-1", "50000", "2025:01:01 00:00:00", CountKind::AllReleases);
    early.mechanicalCount = 10000;
    early.ratedReleases = 500000;
    Inspection late = counted("ILCE-1", "90000", "2025:01:31 00:00:00", CountKind::AllReleases);
    late.mechanicalCount = 13000;
    history.add(early, 0);
    history.add(late, 1);
    // Every exposure, electronic ones included: a rate, but no projection.
    Inspection first = counted("ILCE-7M3", "1000", "2025:01:01 00:00:00", CountKind::AllExposures);
    first.ratedReleases = 200000;
    history.add(first, 2);
    history.add(counted("ILCE-7M3", "4000", "2025:01:31 00:00:00", CountKind::AllExposures), 3);
    // Past its rating already.
    Inspection worn = counted("ILCE-9", "600000", "2025:01:01 00:00:00");
    worn.ratedReleases = 500000;
    history.add(worn, 4);
    // No count, or none that is a number: left out.
    Inspection none = counted("ILCE-9", "No Count", "2025:01:02 00:00:00");
    none.status = tiffwalker::ReadingStatus::NoCount;
    history.add(none, 5);

    const auto bodies = history.finish();
    ASSERT_EQ(bodies.size(), 3u);
    EXPECT_EQ(bodies[0].countKind, CountKind::MechanicalReleases);
    EXPECT_EQ(bodies[0].readings.back().count, 13000u);
    EXPECT_EQ(frametally::rateText(*bodies[0].releasesPerMonth), "3043.7");
    EXPECT_TRUE(bodies[0].ratedReachedAt);
    EXPECT_EQ(bodies[1].countKind, CountKind::AllExposures);
    EXPECT_TRUE(bodies[1].releasesPerMonth);
    EXPECT_FALSE(bodies[1].ratedReachedAt);
    EXPECT_TRUE(bodies[2].ratedPassed);
    EXPECT_EQ(bodies[2].readings.size(), 1u);
}

TEST(BodyHistory, EdgesOfItsRules) {
    BodyHistory history;
    // A burst: 30 releases within one stamped second is possible, 31 in the next not.
    history.add(counted("A", "100", "2025:01:01 00:00:00"), 0);
    history.add(counted("A", "130", "2025:01:01 00:00:00"), 1);
    history.add(counted("A", "191", "2025:01:01 00:00:01"), 2);
    // Just under a day between the only fitting pictures: no rate.
    history.add(counted("B", "1", "2025:01:01 00:00:00"), 3);
    history.add(counted("B", "500", "2025:01:01 23:59:59"), 4);
    // Equal counts never are anomalies; a drop of one is.
    history.add(counted("C", "7", "2025:01:01 00:00:00"), 5);
    history.add(counted("C", "7", "2025:03:01 00:00:00"), 6);
    history.add(counted("C", "6", "2025:03:01 00:00:00"), 7);
    const auto bodies = history.finish();
    ASSERT_EQ(bodies.size(), 3u);
    ASSERT_EQ(bodies[0].anomalies.size(), 1u);
    EXPECT_EQ(bodies[0].anomalies[0].kind, AnomalyKind::ImpossibleRate);
    EXPECT_EQ(bodies[0].anomalies[0].file, 2u);
    EXPECT_FALSE(bodies[1].releasesPerMonth);
    ASSERT_EQ(bodies[2].anomalies.size(), 1u);
    // Sorted by date then count: 6 comes before 7 of the same second, so the
    // drop is from the picture of 2025:01:01.
    EXPECT_EQ(bodies[2].anomalies[0].file, 7u);
    EXPECT_EQ(bodies[2].anomalies[0].otherFile, 5u);
}

TEST(BodyHistory, ExifDatesReadAndWritten) {
    using frametally::secondsOfExifDate;
    EXPECT_EQ(secondsOfExifDate("1970:01:01 00:00:00"), 0);
    EXPECT_EQ(secondsOfExifDate("2024:02:29 12:00:00\0"), 1709208000);
    EXPECT_EQ(secondsOfExifDate("1969:12:31 23:59:59"), -1);
    for (const char* bad : {"", "0000:00:00 00:00:00", "2025:02:29 00:00:00", "2025:13:01 00:00:00",
                            "2025:01:01 24:00:00", "2025-01-01 00:00:00", "2025:01:01 00:00", "    :  :     :  :  "}) {
        EXPECT_FALSE(secondsOfExifDate(bad)) << bad;
    }
    for (const char* text :
         {"1969:12:31 23:59:59", "2000:02:29 00:00:00", "2100:03:01 23:00:00", "1900:01:01 00:00:00"}) {
        EXPECT_EQ(frametally::exifDateOf(*secondsOfExifDate(text)), text);
    }
    EXPECT_EQ(frametally::isoDayOf(-1), "1969-12-31");
}

TEST(BodyHistory, CommandRowsPerPictureAndPerBody) {
    TempDir dir;
    ASSERT_TRUE(synthetic::writeLibrary(dir.path().string(), synthetic::historyLibrary()));
    const auto json = runTiffwalker({"-r", "--history", "--format", "json", dir.path().string()});
    EXPECT_EQ(json.exitCode, 1) << "the file without a count";
    std::map<std::string, nlohmann::json> bodyRows;
    std::vector<nlohmann::json> anomalies;
    size_t readingRows = 0;
    std::istringstream lines(json.out);
    for (std::string line; std::getline(lines, line);) {
        const auto row = nlohmann::json::parse(line);
        if (row["row"] == "body") bodyRows[row["model"]] = row;
        if (row["row"] == "reading") ++readingRows;
        if (row.contains("anomaly")) anomalies.push_back(row);
    }
    EXPECT_EQ(readingRows, 20u);
    ASSERT_EQ(bodyRows.size(), 6u);
    EXPECT_EQ(bodyRows["NIKON D850"]["readings"], 6);
    EXPECT_EQ(bodyRows["NIKON D850"]["first_seen"], "2025:01:01 10:00:00");
    EXPECT_DOUBLE_EQ(bodyRows["NIKON D750"]["releases_per_month"].get<double>(), 2029.1);
    EXPECT_TRUE(bodyRows["NIKON D70"]["serial"].is_null());
    EXPECT_EQ(bodyRows["NIKON D70"]["undated"], 1);
    EXPECT_EQ(bodyRows["NIKON Z 6"]["anomalies"], 2);
    ASSERT_EQ(anomalies.size(), 5u);
    const auto d750 = dir.path() / "d750";  // paths joined as the system joins them
    const auto drop =
        std::find_if(anomalies.begin(), anomalies.end(), [](const auto& a) { return a["model"] == "NIKON D750"; });
    ASSERT_NE(drop, anomalies.end());
    EXPECT_EQ((*drop)["path"], (d750 / "c.NEF").string());
    EXPECT_EQ((*drop)["anomaly_file"], (d750 / "b.NEF").string());

    // TSV: the same rows under one header; text: one block per body; a
    // library of counts only exits 0.
    const auto tsv = runTiffwalker({"-r", "--history", "--format", "tsv", dir.path().string()});
    EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 1 + 20 + 6);
    EXPECT_EQ(tsv.out.substr(0, tsv.out.find('\n') + 1), frametally::historyTsvHeader());
    std::filesystem::remove(dir.path() / "no-count.NEF");
    const auto text = runTiffwalker({"-r", "--history", dir.path().string()});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("NIKON D750, serial 3000002\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("NIKON D70 (no serial number"), std::string::npos);
    EXPECT_NE(text.out.find("21 files read, 21 counts; 6 bodies, 5 anomalies."), std::string::npos) << text.out;
}

// The page makes its histories from the files' TSV lines: read back, they
// must give the history the inspections give, awkward paths and the
// mechanical count and rating included.
TEST(BodyHistory, SameHistoryFromTheFilesTsvLines) {
    TempDir dir;
    const auto library = synthetic::historyLibrary();
    ASSERT_TRUE(synthetic::writeLibrary(dir.path().string(), library));
    frametally::Inspector inspector;
    BodyHistory direct;
    BodyHistory fromLines;
    std::vector<std::string> paths;
    for (std::uint32_t i = 0; i < library.size(); ++i) {
        Inspection inspection = inspector.inspect((dir.path() / library[i].path).string());
        inspection.path = "folder\twith tab\\" + library[i].path;
        if (i == 0) inspection.ratedReleases = 200000;
        if (i == 1) inspection.mechanicalCount = 3999;
        paths.push_back(inspection.path);
        direct.add(inspection, i);
        const Inspection back =
            frametally::inspectionOfTsvLine(frametally::tsvHeader(), frametally::tsvLine(inspection));
        EXPECT_EQ(back.path, inspection.path);
        fromLines.add(back, i);
    }
    const auto rows = [&](BodyHistory& history) {
        std::string text;
        for (const HistorySummary& body : history.finish()) {
            frametally::historyJsonRows(
                body, [&](std::uint32_t file) { return paths[file]; }, [&](const std::string& line) { text += line; });
        }
        return text;
    };
    const std::string want = rows(direct);
    EXPECT_NE(want.find("\"count\":3999"), std::string::npos);
    EXPECT_NE(want.find("\"projected_date\":"), std::string::npos);
    EXPECT_EQ(rows(fromLines), want);
}
