// Crafted hostile containers: sizes beyond the file, boxes that would never
// move the search forward, nesting far beyond the paths the search follows,
// item counts in the millions, extents and embedded JPEGs past the end. Each
// reading ends at once with the container's answer and no TIFF structure.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include <tiffwalker/reading_context.h>
#include "container/container_finder.h"
#include "container/container_limits.h"
#include "container_test_support.h"
#include "hostile_containers.h"
#include "test_support.h"

using namespace tiffwalker;
using container_testing::Bytes;
using container_testing::HeldSource;

namespace {

constexpr bool kMeasurable = testing_support::kOptimised && !testing_support::kSanitized;

// Finds nothing in the file, and a reading of it ends with "No EXIF data"
// or "Not Readable", within a second where time means something.
void expectRefusedQuickly(const Bytes& file, const std::string& what,
                          container::ContainerKind kind = container::ContainerKind::Heif) {
    HeldSource source(file);
    const auto start = std::chrono::steady_clock::now();
    const container::ContainerFinding found = container::findTiffStructures(source);
    EXPECT_EQ(found.kind, kind) << what;
    EXPECT_TRUE(found.structures.empty()) << what;
    ReadingContext context;
    std::ostringstream discarded;
    context.setOutput(discarded);
    const ReadingOutcome outcome = context.read(source, what.c_str());
    EXPECT_TRUE(outcome.status == ReadingStatus::NoExif || outcome.status == ReadingStatus::NotReadable)
        << what << ": " << outcome.result << outcome.message;
    const auto took = std::chrono::steady_clock::now() - start;
    if (kMeasurable) {
        EXPECT_LT(took, std::chrono::seconds(1)) << what;
    }
}

}  // namespace

TEST(HostileContainers, SizesBeyondTheFile) {
    expectRefusedQuickly(hostile_containers::boxBeyondFile(), "meta beyond the file");
    expectRefusedQuickly(hostile_containers::largeSizeBeyondFile(), "64-bit size of 2^64 - 1");
}

TEST(HostileContainers, SizesThatWouldNeverMoveOn) {
    for (const Bytes& file : hostile_containers::zeroSizeLoops()) expectRefusedQuickly(file, "size below a header");
    expectRefusedQuickly(hostile_containers::manyTopLevelBoxes(kMeasurable ? 2'000'000 : 100'000),
                         "millions of empty boxes");
}

TEST(HostileContainers, NestingBeyondTheSearchedPaths) {
    expectRefusedQuickly(hostile_containers::deeplyNestedBoxes(kMeasurable ? 100'000 : 10'000), "moov in moov",
                         container::ContainerKind::Cr3);
}

TEST(HostileContainers, ItemCountsInTheMillions) {
    expectRefusedQuickly(hostile_containers::itemCountsInTheMillions(), "2^32 - 1 items");
    expectRefusedQuickly(hostile_containers::emptyExtentsByTheBillion(), "billions of empty extents");
    // More item entries than the search looks at, the Exif item's last.
    expectRefusedQuickly(hostile_containers::manyItemEntries(container::limits::kMaxItems + 10),
                         "Exif item past the item bound");
}

TEST(HostileContainers, PlacesPastTheEnd) {
    for (const Bytes& file : hostile_containers::extentsPastTheEnd()) expectRefusedQuickly(file, "extent past the end");
    expectRefusedQuickly(hostile_containers::exifSkipPastItem(), "skip past the item");
    for (const Bytes& file : hostile_containers::rafPlacesPastTheEnd()) {
        expectRefusedQuickly(file, "RAF's JPEG past the end", container::ContainerKind::Raf);
    }
    for (const Bytes& file : hostile_containers::endlessJpegs(kMeasurable ? 16 << 20 : 1 << 20)) {
        expectRefusedQuickly(file, "JPEG without end", container::ContainerKind::Jpeg);
    }
}
