// Lists of ISO base media boxes: sizes of 32 and 64 bits and "to the end",
// and every size that cannot be (below a header, past what holds the box)
// ends the list as malformed.
#include <gtest/gtest.h>

#include "byte_writer.h"
#include "container/iso_boxes.h"
#include "container_files.h"
#include "container_test_support.h"

using container_testing::Bytes;
using container_testing::HeldSource;
using containers::box;
using namespace tiffwalker::container;

namespace {

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace

TEST(IsoBoxes, BoxesOfEverySizeForm) {
    Bytes zeroSized = box("mdat", Bytes(5, 1));
    bytes::storeNumber(zeroSized, 0, 0, 4, true);  // to the end of the file
    HeldSource source(concat({box("ftyp", Bytes(8, 0)), box("meta", Bytes(3, 0), true), zeroSized, Bytes(7, 2)}));
    BoxList list(source, 0, source.size());
    const auto ftyp = list.next();
    ASSERT_TRUE(ftyp);
    EXPECT_EQ(ftyp->type, fourCc("ftyp"));
    EXPECT_EQ(ftyp->payload, 8);
    EXPECT_EQ(ftyp->end, 16);
    const auto meta = list.next();
    ASSERT_TRUE(meta);
    EXPECT_EQ(meta->start, 16);
    EXPECT_EQ(meta->payload, 32);  // after the 64-bit size
    EXPECT_EQ(meta->end, 35);
    const auto mdat = list.next();
    ASSERT_TRUE(mdat);
    EXPECT_EQ(mdat->end, source.size());
    EXPECT_FALSE(list.next());
    EXPECT_FALSE(list.malformed());
    EXPECT_EQ(findBox(source, 0, source.size(), fourCc("mdat"))->start, 35);
    EXPECT_FALSE(findBox(source, 0, source.size(), fourCc("moov")));
}

TEST(IsoBoxes, ImpossibleSizesEndTheListAsMalformed) {
    for (uint32_t size : {1u, 4u, 7u, 1000u}) {
        Bytes file = concat({box("ftyp", Bytes(4, 0)), box("free", Bytes(16, 0))});
        if (size == 1) {
            // a 64-bit size of 0: below its own header
            bytes::storeNumber(file, 12, 1, 4, true);
            bytes::storeNumber(file, 20, 0, 8, true);
        } else {
            bytes::storeNumber(file, 12, size, 4, true);
        }
        HeldSource source(file);
        BoxList list(source, 0, source.size());
        EXPECT_TRUE(list.next()) << size;
        EXPECT_FALSE(list.next()) << size;
        EXPECT_TRUE(list.malformed()) << size;
    }
    // A box that fits the file but not the box that holds it.
    HeldSource source(concat({box("meta", {0, 0, 0, 100, 'f', 'r', 'e', 'e'}), Bytes(128, 0)}));
    BoxList inner(source, 8, 16);
    EXPECT_FALSE(inner.next());
    EXPECT_TRUE(inner.malformed());
    // A header cut short by the end of the file.
    HeldSource cut(Bytes{0, 0, 0, 16, 'm', 'o'});
    BoxList shortList(cut, 0, cut.size());
    EXPECT_FALSE(shortList.next());
    EXPECT_TRUE(shortList.malformed());
}

TEST(IsoBoxes, ListGivesUpPastItsBoxBound) {
    Bytes file;
    for (int i = 0; i < limits::kMaxBoxesPerList + 1; ++i) {
        const Bytes free = box("free", {});
        file.insert(file.end(), free.begin(), free.end());
    }
    HeldSource source(file);
    BoxList list(source, 0, source.size());
    int seen = 0;
    while (list.next()) ++seen;
    EXPECT_EQ(seen, limits::kMaxBoxesPerList);
    EXPECT_TRUE(list.malformed());
    BoxList shorter(source, 0, source.size(), 3);
    seen = 0;
    while (shorter.next()) ++seen;
    EXPECT_EQ(seen, 3);
}
