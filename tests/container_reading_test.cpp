// Readings of every file type through their containers: the multi-maker
// reading (ReadingContext::read) finds the TIFF structures of JPEGs with
// other segments first, HEIF, CR3 and RAF files and says in its listing where
// it found them; the original reading (getImageShutterCount) keeps its own
// detection, texts and refusals; and the files both read give the same
// listing, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <tiffwalker/reading_context.h>
#include <tiffwalker/tag_numbers.h>
#include <tiffwalker/tiffwalker.h>
#include "byte_writer.h"
#include "container_files.h"
#include "container_test_support.h"
#include "synthetic_files.h"
#include "test_support.h"
#include "walk/record_lookup.h"

using namespace tiffwalker;
using container_testing::Bytes;
using container_testing::HeldSource;
using container_testing::placeOf;
using testing_support::CapturedOutput;
using testing_support::CleanOptions;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

struct Traced {
    ReadingOutcome outcome;
    std::string listing;
    RecordList records;
};

Traced readInContext(ByteSource& source, bool trace = false) {
    ReadingContext context;
    std::ostringstream listing;
    context.setOutput(listing);
    context.setOption(kTraceSwitch, trace);
    Traced seen;
    seen.outcome = context.read(source, "file", &seen.records);
    seen.listing = listing.str();
    return seen;
}

Traced readInContext(const Bytes& bytes, bool trace = false) {
    HeldSource source(bytes);
    return readInContext(source, trace);
}

Traced readPathInContext(const std::string& path, bool trace) {
    ReadingContext context;
    std::ostringstream listing;
    context.setOutput(listing);
    context.setOption(kTraceSwitch, trace);
    Traced seen;
    seen.outcome = context.read(path.c_str(), &seen.records);
    seen.listing = listing.str();
    return seen;
}

synthetic::CameraFile nikon(synthetic::Order order, uint32_t count) {
    synthetic::CameraFile camera;
    camera.order = order;
    camera.shutterCount = count;
    return camera;
}

// Every container around a Nikon camera's TIFF structure, by name.
std::vector<std::pair<std::string, Bytes>> nikonContainers(const Bytes& tiff) {
    using namespace containers;
    std::vector<std::pair<std::string, Bytes>> files = {
        {"JPEG, JFIF and a comment first", jpeg({jfifSegment(), commentSegment("edited"), exifSegment(tiff)})},
        {"JPEG, ICC profile first", jpeg({iccSegment(), exifSegment(tiff)})},
        {"JPEG, Adobe first", jpeg({adobeSegment(), exifSegment(tiff)})},
        {"JPEG, APP13 first", jpeg({photoshopSegment(), exifSegment(tiff)})},
        {"RAF", raf(jpeg({jfifSegment(), exifSegment(tiff)}))},
    };
    for (uint8_t version : {0, 1, 2}) {
        HeifLayout layout;
        layout.ilocVersion = version;
        layout.offsetSize = version == 2 ? 8 : 4;
        layout.largeBoxes = version == 1;
        layout.mdatToEnd = version == 0;
        files.emplace_back("HEIF, iloc version " + std::to_string(version), heif(tiff, layout));
    }
    return files;
}

}  // namespace

TEST(ContainerReading, NikonCountThroughEveryContainerInBothByteOrders) {
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        const Bytes tiff = synthetic::makeExifTiff(nikon(order, 4321));
        for (const auto& [name, file] : nikonContainers(tiff)) {
            const Traced seen = readInContext(file);
            EXPECT_EQ(seen.outcome.status, ReadingStatus::Count) << name;
            EXPECT_EQ(seen.outcome.result, "4321") << name;
            EXPECT_EQ(seen.outcome.make, "NIKON CORPORATION") << name;
            // The file's size is the whole file's, not the TIFF structure's.
            const CTagRecord* size = findFirstRecord(seen.records, tags::kFileSize);
            ASSERT_NE(size, nullptr) << name;
            EXPECT_EQ(size->lFileSize, static_cast<int32_t>(file.size())) << name;
        }
    }
}

TEST(ContainerReading, ListingSaysWhereTheTiffStructureWasFound) {
    const Bytes tiff = synthetic::makeExifTiff(nikon(synthetic::Order::Intel, 5));
    const Bytes file = containers::heif(tiff, {});
    const Traced seen = readInContext(file, true);
    const std::string line = "TIFF structure found at byte " + std::to_string(placeOf(file, tiff)) +
                             " of the HEIF file, " + std::to_string(tiff.size()) + " bytes long: Exif item 2\n";
    EXPECT_EQ(seen.listing.rfind("Listing of image file: file\n" + line + "TIFFHEADER::order", 0), 0u)
        << seen.listing.substr(0, 300);
    EXPECT_EQ(seen.outcome.result, "5");
}

TEST(ContainerReading, OriginalReadingKeepsItsDetectionAndTexts) {
    CleanOptions clean;
    CapturedOutput captured;
    TempDir dir;
    const Bytes tiff = synthetic::makeExifTiff(nikon(synthetic::Order::Intel, 77));
    using namespace containers;
    const std::string commented = dir.write(
        "commented.jpg", jpeg({jfifSegment(), commentSegment("written by an editing program"), exifSegment(tiff)}));
    try {
        getImageShutterCount(commented.c_str());
        ADD_FAILURE() << "the original reading must refuse a comment segment before the EXIF segment";
    } catch (CTiffwalkerException* error) {
        EXPECT_EQ(error->message().rfind("EXIF header text incorrect", 0), 0u) << error->message();
        error->Delete();
    }
    EXPECT_EQ(getImageShutterCount(dir.write("icc.jpg", jpeg({iccSegment(), exifSegment(tiff)})).c_str()),
              "Not Readable");
    EXPECT_EQ(getImageShutterCount(dir.write("file.hif", heif(tiff, {})).c_str()), "Not Readable");
    EXPECT_EQ(getImageShutterCount(dir.write("file.raf", raf(jpeg({exifSegment(tiff)}))).c_str()), "Not Readable");
    // The same files in the reading of every file type.
    EXPECT_EQ(readPathInContext(commented, false).outcome.result, "77");
}

TEST(ContainerReading, Cr3WalksItsCmtBoxesAndGivesCanonsMakerNoteToItsReader) {
    for (const bool bigEndian : {false, true}) {
        // Each CMT box's IFD0 lies at 8 from its own header: they are
        // directories of their own, not one met several times.
        const std::string model = "Canon PowerShot G5 X Mark II";
        bytes::ByteWriter cmt1(bigEndian);
        const auto modelLength = static_cast<uint32_t>(model.size() + 1);
        cmt1.header(8).u16(2).entry(tags::kMake, 2, 6, 38).entry(tags::kModel, 2, modelLength, 44).u32(0);
        cmt1.text("Canon").u8(0).text(model).u8(0);
        bytes::ByteWriter cmt2(bigEndian);
        cmt2.header(8).u16(1).entry(0x8827, 3, 1, bigEndian ? 100u << 16 : 100u).u32(0);
        // CameraInfo (0x000d): this body's count lies at 0xa95 in a CR3 file
        // (0x293 in a JPEG), little-endian whatever the file's order.
        Bytes cameraInfo(0xc00, 0);
        bytes::storeNumber(cameraInfo, 0xa95, 24680, 4, false);
        bytes::storeNumber(cameraInfo, 0x293, 13579, 4, false);
        bytes::ByteWriter cmt3(bigEndian);
        cmt3.header(8).u16(1).entry(0x000d, 7, static_cast<uint32_t>(cameraInfo.size()), 26).u32(0).append(cameraInfo);
        const Bytes file = containers::cr3(cmt1.bytes(), cmt2.bytes(), cmt3.bytes());
        const Traced seen = readInContext(file, true);
        EXPECT_EQ(seen.outcome.make, "Canon");
        EXPECT_EQ(seen.outcome.status, ReadingStatus::Count);
        EXPECT_EQ(seen.outcome.result, "24680");
        const auto directoryOf = [&seen](uint16_t tag) {
            for (const CTagRecord& record : seen.records) {
                if (record.ifde.tag == tag) return record.iIFDType;
            }
            return -1;
        };
        EXPECT_EQ(directoryOf(tags::kModel), kIfd0);
        EXPECT_EQ(directoryOf(0x8827), kIfdExif);
        // Canon's maker note is its reader's, not the walk's.
        EXPECT_EQ(directoryOf(0x000d), -1);
        const std::string where = "TIFF structure found at byte " + std::to_string(placeOf(file, cmt3.bytes())) +
                                  " of the CR3 file, " + std::to_string(cmt3.size()) +
                                  " bytes long: CMT3 box (Canon maker note)\n";
        EXPECT_NE(seen.listing.find(where), std::string::npos);
    }
}

TEST(ContainerReading, ContainersWithoutExifDataSayNoExif) {
    using namespace containers;
    const Bytes heifWithoutMeta = containers::box("ftyp", {'h', 'e', 'i', 'c', 0, 0, 0, 0});
    for (const Bytes& file : {heifWithoutMeta, cr3({}, {}, {}), raf(jpeg({jfifSegment()}))}) {
        const Traced seen = readInContext(file);
        EXPECT_EQ(seen.outcome.status, ReadingStatus::NoExif);
        EXPECT_EQ(seen.outcome.cause, ReadingCause::NoExifInContainer);
        EXPECT_EQ(seen.outcome.result, "No EXIF data");
        EXPECT_NE(seen.listing.find("No EXIF data found: file"), std::string::npos);
    }
    // A JPEG without an EXIF segment keeps the original answer.
    for (const Bytes& file : {jpeg({commentSegment("no EXIF here")}), jpeg({jfifSegment()})}) {
        const Traced seen = readInContext(file);
        EXPECT_EQ(seen.outcome.cause, ReadingCause::NoExifSegment);
        EXPECT_EQ(seen.listing, "\nNo EXIF data found: file\n");
    }
    // A movie is no container of ours.
    EXPECT_EQ(readInContext(containers::box("ftyp", {'i', 's', 'o', 'm', 0, 0, 0, 0})).outcome.cause,
              ReadingCause::NeitherTiffNorJpeg);
}

TEST(ContainerReading, FilesTheOriginalReadingReadsKeepTheirListing) {
    CleanOptions clean;
    TempDir dir;
    std::vector<std::string> paths;
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        const auto camera = nikon(order, 31);
        const std::string suffix = order == synthetic::Order::Intel ? "-ii" : "-mm";
        paths.push_back(dir.write("file" + suffix + ".nef", synthetic::makeNef(camera)));
        paths.push_back(dir.write("app0" + suffix + ".jpg", synthetic::makeJpeg(camera, true)));
        paths.push_back(dir.write("app1" + suffix + ".jpg", synthetic::makeJpeg(camera, false)));
    }
    paths.push_back(dir.write("no-exif.jpg", containers::jpeg({containers::jfifSegment()})));
    // Cut short after the EXIF segment's TIFF header: read by the original
    // detection however little follows.
    const Bytes app1 = synthetic::makeJpeg(nikon(synthetic::Order::Intel, 1), false);
    paths.push_back(dir.write("cut-app1.jpg", Bytes(app1.begin(), app1.begin() + 20)));
    const fs::path real = testing_support::corpusDir() / "real";
    if (fs::is_directory(real)) {
        for (const auto& entry : fs::directory_iterator(real)) {
            const std::string name = entry.path().filename().string();
            if (name != "MANIFEST.tsv" && name != "exiv2-bug495.jpg") paths.push_back(entry.path().string());
        }
    } else {
        std::cout << "(no ../shared/corpus/real here: synthetic files only)\n";
    }
    for (const std::string& path : paths) {
        std::ostringstream original;
        setEngineOutput(original);
        setOption(kTraceSwitch, true);
        std::string result;
        try {
            result = getImageShutterCount(path.c_str());
        } catch (CTiffwalkerException* error) {
            result = "raised " + error->message();
            error->Delete();
        }
        resetOptions();
        setEngineOutput(std::cout);
        const Traced everyType = readPathInContext(path, true);
        EXPECT_EQ(everyType.outcome.status == ReadingStatus::Error ? "raised " + everyType.outcome.message
                                                                   : everyType.outcome.result,
                  result)
            << path;
        EXPECT_TRUE(everyType.listing == original.str()) << path << ": the listings differ";
    }
}

TEST(ContainerReading, RealFilesThroughTheirContainers) {
    const fs::path corpus = testing_support::corpusDir();
    const fs::path bug495 = corpus / "real" / "exiv2-bug495.jpg";
    const fs::path hif = corpus / "makers" / "sony-ilce7cm2.hif";
    if (!fs::exists(bug495) || !fs::exists(hif)) GTEST_SKIP() << "../shared/corpus is not here";
    // A Nikon D70 JPEG with a comment segment before its EXIF segment.
    const Traced nikonJpeg = readPathInContext(bug495.string(), false);
    EXPECT_EQ(nikonJpeg.outcome.result, "13518");
    {
        CleanOptions clean;
        CapturedOutput captured;
        try {
            getImageShutterCount(bug495.string().c_str());
            ADD_FAILURE() << "the original reading must still raise its error";
        } catch (CTiffwalkerException* error) {
            EXPECT_EQ(error->message().rfind("EXIF header text incorrect", 0), 0u);
            error->Delete();
        }
    }
    const Traced sony = readPathInContext(hif.string(), true);
    EXPECT_EQ(sony.outcome.make, "SONY");
    EXPECT_EQ(sony.outcome.result, "249044");  // the manifest's count
    const CTagRecord* model = findFirstRecord(sony.records, tags::kModel);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->displayStringData, "ILCE-7CM2");
    EXPECT_NE(sony.listing.find("TIFF structure found at byte 93219 of the HEIF file"), std::string::npos);
}
