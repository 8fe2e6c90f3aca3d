// The shutter ratings table as built into the library, and its lookup.
#include "shutter_ratings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "readout.h"
#include "synthetic_files.h"
#include "test_support.h"

using tiffwalker::Maker;
using tiffwalker::shutterRating;

TEST(ShutterRatings, EveryRowOfTheTableIsBuiltInAndOfItsForm) {
    std::ifstream tsv(FRAMETALLY_SHUTTER_RATINGS_TSV);
    ASSERT_TRUE(tsv) << FRAMETALLY_SHUTTER_RATINGS_TSV;
    size_t rows = 0;
    for (std::string line; std::getline(tsv, line);) {
        if (!line.empty() && line[0] != '#' && line.rfind("make\t", 0) != 0) ++rows;
    }
    const auto ratings = tiffwalker::shutterRatings();
    EXPECT_EQ(ratings.size(), rows);  // the build dropped no row
    std::set<std::pair<Maker, std::string_view>> bodies;
    // YYYY-MM-DD (std::regex draws false uninitialised-use reports from GCC 12
    // under the sanitizers).
    const auto isDate = [](std::string_view d) {
        if (d.size() != 10 || d[4] != '-' || d[7] != '-') return false;
        for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
            if (d[i] < '0' || d[i] > '9') return false;
        }
        const int month = (d[5] - '0') * 10 + (d[6] - '0');
        const int day = (d[8] - '0') * 10 + (d[9] - '0');
        return month >= 1 && month <= 12 && day >= 1 && day <= 31;
    };
    for (const auto& r : ratings) {
        SCOPED_TRACE(std::string(r.model));
        EXPECT_TRUE(bodies.emplace(r.maker, r.model).second) << "a second row";
        EXPECT_GT(r.releases, 0u);
        EXPECT_FALSE(r.rated.empty());
        EXPECT_TRUE(r.source.starts_with("https://") || r.source.starts_with("http://"));
        EXPECT_TRUE(r.sourceKind == "maker" || r.sourceKind == "press");
        EXPECT_TRUE(isDate(r.readOn));
        EXPECT_EQ(shutterRating(r.maker, r.model), &r);
    }
}

TEST(ShutterRatings, ModelsMatchWholeAfterTheirPaddingIsTrimmed) {
    ASSERT_NE(shutterRating(Maker::Nikon, "NIKON D850"), nullptr);
    EXPECT_EQ(shutterRating(Maker::Nikon, "NIKON D850")->releases, 200000u);
    EXPECT_EQ(shutterRating(Maker::Nikon, std::string_view("NIKON D850\0\0", 12)),
              shutterRating(Maker::Nikon, "NIKON D850"));
    EXPECT_EQ(shutterRating(Maker::Nikon, "  NIKON D850   "), shutterRating(Maker::Nikon, "NIKON D850"));
    // A body whose name begins another's is not that body.
    EXPECT_EQ(shutterRating(Maker::Nikon, "NIKON D5")->releases, 400000u);
    EXPECT_EQ(shutterRating(Maker::Nikon, "NIKON D500")->releases, 200000u);
    EXPECT_EQ(shutterRating(Maker::Sony, "ILCE-7M3A"), nullptr);
    EXPECT_EQ(shutterRating(Maker::Nikon, "NIKON D85"), nullptr);
    EXPECT_EQ(shutterRating(Maker::Nikon, "nikon d850"), nullptr);
    // The maker is part of the key; padding alone names no body.
    EXPECT_EQ(shutterRating(Maker::Canon, "NIKON D850"), nullptr);
    EXPECT_EQ(shutterRating(Maker::Nikon, std::string_view(" \0 ", 3)), nullptr);
    EXPECT_EQ(shutterRating(Maker::Nikon, ""), nullptr);
}

TEST(ShutterRatings, TheInspectionCarriesTheRatingOfItsBodyOnly) {
    testing_support::TempDir dir;
    synthetic::CameraFile rated;
    rated.model = "NIKON D850";
    synthetic::CameraFile unrated;  // a D70: no published figure
    frametally::Inspector inspector;
    const auto withRating = inspector.inspect(dir.write("rated.nef", synthetic::makeNef(rated)));
    ASSERT_TRUE(withRating.ratedReleases);
    EXPECT_EQ(*withRating.ratedReleases, 200000u);
    EXPECT_EQ(withRating.ratedSource, shutterRating(Maker::Nikon, "NIKON D850")->source);
    const auto without = inspector.inspect(dir.write("unrated.nef", synthetic::makeNef(unrated)));
    EXPECT_FALSE(without.ratedReleases);
    EXPECT_EQ(without.ratedSource, "");
}
