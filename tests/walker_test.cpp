#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "io/file_stream.h"
#include "name_tables.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "test_support.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

using namespace tiffwalker;
using testing_support::Bytes;
using testing_support::CapturedOutput;
using testing_support::CleanOptions;
using testing_support::TempDir;

namespace {

// A file image whose structures are placed at explicit positions, so each
// test shows where every directory and value lies.
class FileImage {
public:
    explicit FileImage(bool bigEndian, size_t size = 2048) : big_(bigEndian), bytes_(size, 0) {
        text(0, bigEndian ? "MM" : "II");
        u16(2, 42);
    }
    FileImage& ifd0(uint32_t at) { return u32(4, at); }
    FileImage& u16(size_t at, uint32_t v) { return put(at, v, 2); }
    FileImage& u32(size_t at, uint32_t v) { return put(at, v, 4); }
    FileImage& text(size_t at, const std::string& s) {
        std::copy(s.begin(), s.end(), bytes_.begin() + static_cast<long>(at));
        return *this;
    }
    // A directory: entry count, entries, then the link to a next directory.
    FileImage& directory(size_t at, const std::vector<IFDENTRY>& entries, uint32_t next = 0) {
        u16(at, static_cast<uint32_t>(entries.size()));
        size_t p = at + 2;
        for (const IFDENTRY& e : entries) {
            u16(p, e.tag).u16(p + 2, e.type).u32(p + 4, e.count).u32(p + 8, e.valofs);
            p += 12;
        }
        return u32(p, next);
    }
    // A Nikon maker note at `at`: "Nikon" prefix, then its own TIFF header
    // (10 bytes in) whose first directory lies `first` bytes after it.
    FileImage& makerNoteHeader(size_t at, bool bigEndian, uint32_t first) {
        text(at, std::string("Nikon\0\2\x10\0\0", 10));
        const bool saved = big_;
        big_ = bigEndian;
        text(at + 10, bigEndian ? "MM" : "II").u16(at + 12, 42).u32(at + 14, first);
        big_ = saved;
        return *this;
    }
    FileImage& withOrder(bool bigEndian) {
        big_ = bigEndian;
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }

private:
    FileImage& put(size_t at, uint32_t v, int size) {
        for (int i = 0; i < size; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (big_ ? 8 * (size - 1 - i) : 8 * i));
        return *this;
    }
    bool big_;
    Bytes bytes_;
};

const IFDENTRY kNikonMake{0x010f, kAscii, 18, 600};

struct WalkerTest : ::testing::Test {
    TempDir dir;
    CleanOptions options;
    RecordList records;

    std::string read(const FileImage& image) {
        return readImageRecords(dir.write("walk.nef", image.bytes()).c_str(), records);
    }
    std::vector<const CTagRecord*> withTag(uint16_t tag) const {
        std::vector<const CTagRecord*> found;
        for (const CTagRecord& r : records) {
            if (r.ifde.tag == tag) found.push_back(&r);
        }
        return found;
    }
    size_t indexOf(uint16_t tag) const {
        for (size_t i = 0; i < records.size(); ++i) {
            if (records[i].ifde.tag == tag) return i;
        }
        return records.size();
    }
    // Records made from directory entries, without the three pseudo records.
    size_t entryRecords() const { return records.size() - 3; }
};

// A NEF with Make "NIKON CORPORATION" in IFD0 and an EXIF directory at 200
// holding a maker note at 400 whose directory has ShutterCount 731.
FileImage nikonFile(bool fileBig, bool noteBig) {
    FileImage image(fileBig);
    image.ifd0(8)
        .directory(8, {kNikonMake, {0x8769, kLong, 1, 200}, {0x0112, kShort, 1, fileBig ? 6u << 16 : 6u}})
        .text(600, "NIKON CORPORATION")
        .directory(200, {{0x927c, kUndefined, 64, 400}})
        .makerNoteHeader(400, noteBig, 8);
    image.withOrder(noteBig).directory(418, {{0x00a7, kLong, 1, 731}}).withOrder(fileBig);
    return image;
}

}  // namespace

TEST_F(WalkerTest, EntryCountLimitIsOneHundred) {
    for (const uint32_t count : {0u, 100u, 101u}) {
        FileImage image(false);
        image.ifd0(8).u16(8, count);
        for (uint32_t i = 0; i < count; ++i)
            image.u16(10 + 12 * i, 0x1000 + i).u16(12 + 12 * i, kShort).u32(14 + 12 * i, 1);
        read(image);
        EXPECT_EQ(entryRecords(), count <= 100 ? count : 0u) << count;
    }
}

TEST_F(WalkerTest, RefusedDirectoryIsReportedWhenAsked) {
    FileImage image(false);
    image.ifd0(8).u16(8, 101);
    CapturedOutput out;
    setOption(kProblemReportSwitch, true);
    read(image);
    EXPECT_EQ(out.text(),
              "\nThe following file has a problem with this data:\n"
              "\noffset: 8\nadditional_offset: 0\nstrType: IFD0\nnumType: 1\n");
}

TEST_F(WalkerTest, DirectoryBeyondTheEndIsEmpty) {
    FileImage image(false, 64);
    image.ifd0(5000);
    EXPECT_EQ(read(image), "No Count");
    EXPECT_EQ(entryRecords(), 0u);
}

TEST_F(WalkerTest, MakerNotesInTheirOwnByteOrder) {
    for (const bool fileBig : {false, true}) {
        for (const bool noteBig : {false, true}) {
            EXPECT_EQ(read(nikonFile(fileBig, noteBig)), "731") << fileBig << noteBig;
            const auto count = withTag(0x00a7);
            ASSERT_EQ(count.size(), 1u);
            EXPECT_EQ(count[0]->iIFDType, kMakerNotes);
            EXPECT_EQ(count[0]->ulMakerNoteHeaderOffset, 410u);
            // The IFD0 entry after ExifOffset is read in the file's order again.
            EXPECT_EQ(withTag(0x0112)[0]->stringData, "6");
            // Depth first: pointer record, then what it points to, then the rest.
            EXPECT_LT(indexOf(0x8769), indexOf(0x927c));
            EXPECT_LT(indexOf(0x927c), indexOf(0x00a7));
            EXPECT_LT(indexOf(0x00a7), indexOf(0x0112));
        }
    }
}

TEST_F(WalkerTest, MakerNotesNeedTheExactMake) {
    FileImage suffixed = nikonFile(false, true);
    suffixed.text(600, "NIKON CORPORATIONX").u32(8 + 2 + 8, 600);
    suffixed.u32(8 + 2 + 4, 19);
    EXPECT_EQ(read(suffixed), "731") << "further characters after the name still match";

    FileImage titleCase = nikonFile(false, true);
    titleCase.text(600, "Nikon Corporation");
    EXPECT_EQ(read(titleCase), "No Count");
    EXPECT_EQ(withTag(0x927c).size(), 1u) << "the maker note stays an ordinary record";
}

TEST_F(WalkerTest, RefusedMakerNoteHeaderSkipsTheNotes) {
    FileImage image = nikonFile(false, true);
    image.text(410, "XX");
    CapturedOutput out;
    EXPECT_EQ(read(image), "No Count");
    EXPECT_NE(out.text().find("\nFile type is not NEF/Nikon RAW\n\n"), std::string::npos);
    EXPECT_EQ(withTag(0x0112)[0]->stringData, "6") << "the walk goes on in the file's order";
}

TEST_F(WalkerTest, SubImageDirectories) {
    FileImage single(false);
    single.ifd0(8).directory(8, {{0x014a, kLong, 1, 100}}).directory(100, {{0x00fe, kLong, 1, 0}});
    read(single);
    ASSERT_EQ(withTag(0x00fe).size(), 1u);
    EXPECT_EQ(withTag(0x00fe)[0]->iIFDType, kSubIfd0);

    // Six offsets: the first four are SUB_IFD0 to SUB_IFD3, the rest are
    // numbered past the named directory kinds.
    FileImage list(true);
    list.ifd0(8).directory(8, {{0x014a, kLong, 6, 100}});
    for (uint32_t j = 0; j < 6; ++j) {
        list.u32(100 + 4 * j, 200 + 40 * j).directory(200 + 40 * j, {{0x00fe, kLong, 1, j}});
    }
    read(list);
    std::vector<int32_t> types;
    for (const CTagRecord* r : withTag(0x00fe)) types.push_back(r->iIFDType);
    EXPECT_EQ(types, (std::vector<int32_t>{2, 3, 4, 5, 10, 11}));
}

TEST_F(WalkerTest, SubImageListIsBoundedByTheFile) {
    FileImage image(false, 256);
    image.ifd0(8).directory(8, {{0x014a, kLong, 0x40000000, 200}});
    read(image);  // 14 offsets fit between 200 and the end; all read as zeros
    EXPECT_EQ(entryRecords(), 1u);
}

TEST_F(WalkerTest, ThumbnailDirectoryOnlyForD100AndD2H) {
    for (const auto& [model, walked] :
         {std::pair{"nikon d2hs", true}, std::pair{"NIKON D100", true}, std::pair{"NIKON D70", false}}) {
        FileImage image = nikonFile(false, true);
        image.directory(8, {kNikonMake, {0x0110, kAscii, 12, 640}, {0x8769, kLong, 1, 200}}).text(640, model);
        image.withOrder(true).directory(418, {{0x0011, kLong, 1, 100}, {0x00a7, kLong, 1, 731}});
        image.directory(510, {{0x0103, kShort, 1, 6u << 16}}).withOrder(false);
        read(image);
        const auto thumb = withTag(0x0103);
        ASSERT_EQ(thumb.size(), walked ? 1u : 0u) << model;
        if (walked) {
            EXPECT_EQ(thumb[0]->iIFDType, kThumbIfd);
            EXPECT_EQ(thumb[0]->stringData, "6") << "read in the maker note's order";
        }
        EXPECT_EQ(withTag(0x00a7)[0]->stringData, "731");
    }
}

TEST_F(WalkerTest, NextDirectoryLinkIsNotFollowed) {
    FileImage image(false);
    image.ifd0(8).directory(8, {{0x0100, kLong, 1, 1}}, 100).directory(100, {{0x0101, kLong, 1, 1}});
    read(image);
    EXPECT_EQ(withTag(0x0101).size(), 0u);
}

TEST_F(WalkerTest, LoopsEndAndEachDirectoryIsWalkedOnce) {
    // EXIF points back at IFD0.
    FileImage selfLoop(false);
    selfLoop.ifd0(8).directory(8, {{0x8769, kLong, 1, 8}});
    read(selfLoop);
    EXPECT_EQ(entryRecords(), 1u);

    // The maker notes' directory points back at IFD0 through ExifOffset, and
    // a sub-image list names IFD0 twice.
    FileImage chain = nikonFile(false, true);
    chain.withOrder(true).directory(418, {{0x00a7, kLong, 1, 731}, {0x8769, kLong, 1, 8}}).withOrder(false);
    chain.directory(8, {kNikonMake, {0x8769, kLong, 1, 200}, {0x014a, kLong, 2, 120}}).u32(120, 8).u32(124, 8);
    EXPECT_EQ(read(chain), "731");
    EXPECT_EQ(withTag(0x00a7).size(), 1u);
}

TEST_F(WalkerTest, NestingIsBounded) {
    // Each EXIF directory points at the next, twenty deep.
    FileImage image(false);
    image.ifd0(8);
    for (uint32_t i = 0; i < 20; ++i) image.directory(8 + 40 * i, {{0x8769, kLong, 1, 8 + 40 * (i + 1)}});
    read(image);
    EXPECT_LT(entryRecords(), 20u);
}

TEST_F(WalkerTest, TraceShowsBannersAroundEachDescent) {
    CapturedOutput out;
    setOption(kTraceSwitch, true);
    read(nikonFile(false, true));
    const std::string text = out.text();
    const char* inOrder[] = {
        "\nIFD at Offset 8 has 3 Entries.....\n",
        "\n================Starting EXIF================\n",
        "\nEntering dumpImageFileDirectory: EXIF",
        "\n================Starting MAKER_NOTES================\n",
        "\nIFD at Offset 418 has 1 Entries.....\n",
        "\nExiting dumpImageFileDirectory: MAKER_NOTES",
        "\n=================Ending MAKER_NOTES=================\n\nResuming: EXIF\n",
        "\n=================Ending EXIF=================\n\nResuming: EXIF\n",
        "\nExiting dumpImageFileDirectory: IFD0",
    };
    size_t at = 0;
    for (const char* piece : inOrder) {
        const size_t found = text.find(piece, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << piece;
        at = found;
    }
    EXPECT_NE(text.find("\nExposureBracketValue (0x19) Raw      : \nExposureBracketValue (0x19) Converted: "
                        "\nJust set data, just before list insert: IFD0"),
              std::string::npos);
}

TEST(WalkerCall, OffsetZeroReadsNothing) {
    CleanOptions options;
    clearRecords();
    FileStream file;
    EXPECT_EQ(dumpImageFileDirectory(file, 0, 0, "IFD0", kIfd0), 0);
    EXPECT_EQ(recordCount(), 0u);
}
