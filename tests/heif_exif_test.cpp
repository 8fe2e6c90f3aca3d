// The EXIF item of HEIF files in every layout iloc allows (versions 0, 1 and
// 2; offsets, lengths and base offsets of 4 and 8 bytes; the item in idat;
// 64-bit box sizes and a last box of size 0), and no item where it cannot be
// read.
#include <gtest/gtest.h>

#include <sstream>

#include "byte_writer.h"
#include "container/heif_exif.h"
#include "container_files.h"
#include "container_test_support.h"
#include "synthetic_files.h"

using container_testing::Bytes;
using container_testing::cameraTiff;
using container_testing::HeldSource;
using container_testing::placeOf;
using containers::HeifLayout;
using tiffwalker::container::findHeifExif;
using tiffwalker::container::isHeifFile;

namespace {

std::string describe(const HeifLayout& layout) {
    std::ostringstream out;
    out << "iloc v" << int{layout.ilocVersion} << " offset " << int{layout.offsetSize} << " length "
        << int{layout.lengthSize} << " base " << int{layout.baseOffsetSize} << " index " << int{layout.indexSize}
        << " infe v" << int{layout.infeVersion} << (layout.inIdat ? " idat" : "") << (layout.largeBoxes ? " large" : "")
        << (layout.mdatToEnd ? " to-end" : "") << (layout.twoExtents ? " two-extents" : "");
    return out.str();
}

std::vector<HeifLayout> everyLayout() {
    std::vector<HeifLayout> layouts;
    for (uint8_t version : {0, 1, 2}) {
        for (uint8_t offsetSize : {4, 8}) {
            for (uint8_t lengthSize : {4, 8}) {
                HeifLayout layout;
                layout.ilocVersion = version;
                layout.offsetSize = offsetSize;
                layout.lengthSize = lengthSize;
                layouts.push_back(layout);
            }
        }
        HeifLayout based;
        based.ilocVersion = version;
        based.baseOffsetSize = 8;
        based.offsetSize = 0;
        layouts.push_back(based);
        based.baseOffsetSize = 4;
        based.offsetSize = 4;
        based.indexSize = version >= 1 ? 4 : 0;
        layouts.push_back(based);
        HeifLayout toEnd;
        toEnd.ilocVersion = version;
        toEnd.lengthSize = 0;
        toEnd.mdatToEnd = true;
        layouts.push_back(toEnd);
        toEnd.largeBoxes = true;
        layouts.push_back(toEnd);
        HeifLayout large;
        large.ilocVersion = version;
        large.largeBoxes = true;
        large.twoExtents = true;
        layouts.push_back(large);
        if (version >= 1) {
            HeifLayout idat;
            idat.ilocVersion = version;
            idat.inIdat = true;
            layouts.push_back(idat);
            idat.lengthSize = 0;
            layouts.push_back(idat);
        }
    }
    HeifLayout wideIds;
    wideIds.ilocVersion = 2;
    wideIds.infeVersion = 3;
    wideIds.exifItemId = 70000;
    layouts.push_back(wideIds);
    return layouts;
}

}  // namespace

TEST(HeifExif, ExifItemInEveryLayoutAndByteOrder) {
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        const Bytes tiff = cameraTiff(order);
        for (const HeifLayout& layout : everyLayout()) {
            HeldSource source(containers::heif(tiff, layout));
            const Bytes file = containers::heif(tiff, layout);
            ASSERT_TRUE(isHeifFile(source)) << describe(layout);
            const auto found = findHeifExif(source);
            ASSERT_TRUE(found) << describe(layout);
            EXPECT_EQ(found->offset, placeOf(file, tiff)) << describe(layout);
            EXPECT_EQ(found->length, static_cast<int64_t>(tiff.size())) << describe(layout);
            EXPECT_EQ(found->label, "Exif item " + std::to_string(layout.exifItemId));
        }
    }
}

TEST(HeifExif, TheSkipCountPlacesTheTiffHeader) {
    const Bytes tiff = cameraTiff(synthetic::Order::Intel);
    for (const Bytes& before : {Bytes{}, Bytes{'E', 'x', 'i', 'f', 0, 0}, Bytes(10, 0x20)}) {
        HeifLayout layout;
        layout.beforeTiff = before;
        const Bytes file = containers::heif(tiff, layout);
        HeldSource source(file);
        const auto found = findHeifExif(source);
        ASSERT_TRUE(found) << before.size();
        EXPECT_EQ(found->offset, placeOf(file, tiff));
    }
}

TEST(HeifExif, OnlyHeifAndAvifBrandsAreHeif) {
    const auto withBrands = [](const std::string& brands) {
        return HeldSource(containers::box("ftyp", Bytes(brands.begin(), brands.end())));
    };
    HeldSource avif = withBrands(std::string("avif") + std::string(4, '\0') + "mif1");
    EXPECT_TRUE(isHeifFile(avif));
    HeldSource compatibleOnly = withBrands(std::string("MSNV") + std::string(4, '\0') + "isommif1");
    EXPECT_TRUE(isHeifFile(compatibleOnly));
    // The minor version is not a brand.
    HeldSource minorVersion = withBrands("isomheicmp42");
    EXPECT_FALSE(isHeifFile(minorVersion));
    HeldSource movie = withBrands(std::string("isom") + std::string(4, '\0') + "mp42");
    EXPECT_FALSE(isHeifFile(movie));
    HeldSource cr3 = withBrands(std::string("crx ") + std::string(4, '\0') + "isom");
    EXPECT_FALSE(isHeifFile(cr3));
    HeldSource notFtyp(containers::box("moov", Bytes(8, 0)));
    EXPECT_FALSE(isHeifFile(notFtyp));
}

TEST(HeifExif, ItemsThatCannotBeReadHereAreNotFound) {
    const Bytes tiff = cameraTiff(synthetic::Order::Intel);
    const auto ilocField = [](Bytes& file, size_t fromEnd, uint64_t value, unsigned size) {
        const size_t ilocStart = static_cast<size_t>(container_testing::placeOf(file, {'i', 'l', 'o', 'c'})) - 4;
        const size_t ilocEnd = ilocStart + ((size_t{file[ilocStart + 2]} << 8) | file[ilocStart + 3]);
        bytes::storeNumber(file, ilocEnd - fromEnd, value, size, true);
    };
    HeifLayout layout;
    layout.ilocVersion = 1;
    // The Exif item's fields at the end of iloc, version 1: construction
    // method (2), data reference (2), extent count (2), offset (4), length (4).
    {
        Bytes file = containers::heif(tiff, layout);
        ilocField(file, 12, 1, 2);  // in another file
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "data reference";
    }
    {
        Bytes file = containers::heif(tiff, layout);
        ilocField(file, 14, 2, 2);  // made of other items
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "construction method 2";
    }
    {
        Bytes file = containers::heif(tiff, layout);
        ilocField(file, 14, 1, 2);  // in idat, which this file has not
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "no idat";
    }
    {
        HeifLayout split = layout;
        split.twoExtents = true;
        Bytes file = containers::heif(tiff, split);
        ilocField(file, 8, 0, 4);  // the second extent back at the start of the file
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "extents apart";
    }
    {
        Bytes file = containers::heif(tiff, layout);
        const size_t ilocStart = static_cast<size_t>(container_testing::placeOf(file, {'i', 'l', 'o', 'c'}));
        file[ilocStart + 8] = 0x34;  // offsets of 3 bytes
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "field size 3";
    }
    {
        Bytes file = containers::heif(tiff, layout);
        const size_t exifType = static_cast<size_t>(container_testing::placeOf(file, {'E', 'x', 'i', 'f'}));
        file[exifType] = 'X';
        HeldSource source(file);
        EXPECT_FALSE(findHeifExif(source)) << "no Exif item";
    }
    {
        // The Exif data holds no TIFF header.
        Bytes bad = tiff;
        bad[0] = 'X';
        HeldSource source(containers::heif(bad, layout));
        EXPECT_FALSE(findHeifExif(source)) << "no TIFF header";
    }
}
