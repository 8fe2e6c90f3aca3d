// The words that set a count against the releases its body's shutter is rated
// for, per kind of count.
#include "rated_life.h"

#include <gtest/gtest.h>

using frametally::Inspection;
using frametally::ratedLifeText;
using tiffwalker::CountKind;

namespace {

Inspection rated(const char* count, CountKind kind, std::uint32_t rating = 200000) {
    Inspection i;
    i.status = tiffwalker::ReadingStatus::Count;
    i.result = count;
    i.maker = tiffwalker::Maker::Nikon;
    i.countKind = kind;
    i.ratedReleases = rating;
    return i;
}

const std::string kTail = " of the 200,000 releases Nikon rates this shutter for";

}  // namespace

TEST(RatedLife, MechanicalReleasesToTheNearestPercent) {
    EXPECT_EQ(ratedLifeText(rated("46490", CountKind::MechanicalReleases)), "23%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("47000", CountKind::MechanicalReleases)), "24%" + kTail);  // 23.5
    EXPECT_EQ(ratedLifeText(rated("250000", CountKind::MechanicalReleases)), "125%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("0", CountKind::MechanicalReleases)), "0%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("999", CountKind::MechanicalReleases)), "less than 1%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("4294967295", CountKind::MechanicalReleases, 4294967295u)),
              "100% of the 4,294,967,295 releases Nikon rates this shutter for");
    // The mechanical count beside a count of every release is the one set
    // against the rating.
    Inspection both = rated("8541", CountKind::AllReleases);
    both.mechanicalCount = 3487;
    EXPECT_EQ(ratedLifeText(both), "2%" + kTail);
}

TEST(RatedLife, CountsWithElectronicExposuresGiveABoundRoundedUp) {
    EXPECT_EQ(ratedLifeText(rated("46490", CountKind::AllExposures)), "at most 24%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("46000", CountKind::AllExposures)), "at most 23%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("1", CountKind::AllReleases)), "at most 1%" + kTail);
    EXPECT_EQ(ratedLifeText(rated("0", CountKind::AllExposures)), "0%" + kTail);
}

TEST(RatedLife, NoWordsWithoutARatingOrACountToSetAgainstIt) {
    EXPECT_EQ(ratedLifeText(rated("7", CountKind::ImageCount)), "");  // may have restarted
    Inspection unrated = rated("46490", CountKind::MechanicalReleases);
    unrated.ratedReleases.reset();
    EXPECT_EQ(ratedLifeText(unrated), "");
    Inspection noCount = rated("No Count", CountKind::None);
    noCount.status = tiffwalker::ReadingStatus::NoCount;
    EXPECT_EQ(ratedLifeText(noCount), "");
    EXPECT_EQ(ratedLifeText(rated("12a", CountKind::MechanicalReleases)), "");
    EXPECT_EQ(ratedLifeText(rated("", CountKind::MechanicalReleases)), "");
    EXPECT_EQ(ratedLifeText(rated("46490", CountKind::MechanicalReleases, 0)), "");
}
