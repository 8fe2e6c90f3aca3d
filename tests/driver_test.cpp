#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "name_tables.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "synthetic_files.h"
#include "test_support.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

using namespace tiffwalker;
using testing_support::Bytes;
using testing_support::ByteWriter;
using testing_support::CapturedOutput;
using testing_support::CleanOptions;
using testing_support::TempDir;

namespace {

struct DriverTest : ::testing::Test {
    TempDir dir;
    CleanOptions options;

    std::string read(const Bytes& bytes) { return getImageShutterCount(dir.write("file", bytes).c_str()); }

    // The message of the error the reading raises, or "" when it raises none.
    std::string raisedMessage(const Bytes& bytes) {
        try {
            read(bytes);
        } catch (CTiffwalkerException* error) {
            const std::string message = error->message();
            error->Delete();
            return message;
        }
        return "";
    }
};

synthetic::CameraFile cameraWithCount(uint32_t count) {
    synthetic::CameraFile camera;
    camera.shutterCount = count;
    return camera;
}

// A JPEG file with an APP1 segment whose 20-byte block is given whole.
Bytes jpegWithBlock(std::initializer_list<uint8_t> afterExif) {
    ByteWriter jpeg(true);
    jpeg.raw({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x40}).text("Exif").raw({0, 0}).raw(afterExif).fill(64);
    return jpeg.bytes();
}

}  // namespace

TEST_F(DriverTest, MissingFileIsNotReadableWithAMessage) {
    CapturedOutput out;
    const std::string path = (dir.path() / "missing.nef").string();
    EXPECT_EQ(getImageShutterCount(path.c_str()), "Not Readable");
    EXPECT_EQ(out.text(), "\nFile not readable: " + path + "\n\n");
}

TEST_F(DriverTest, DirectoryIsNotReadable) {
    CapturedOutput out;
    EXPECT_EQ(getImageShutterCount(dir.path().string().c_str()), "Not Readable");
}

// An empty file holds no image: not a camera file without a count.
TEST_F(DriverTest, EmptyFileIsNotReadableBecauseItIsEmpty) {
    CapturedOutput out;
    const std::string path = dir.write("empty.NEF", {});
    EXPECT_EQ(getImageShutterCount(path.c_str()), "Not Readable");
    EXPECT_EQ(out.text(), "\nFile not readable: " + path + "\n\n");
    ReadingContext context;
    std::ostringstream quiet;
    context.setOutput(quiet);
    const ReadingOutcome outcome = context.read(path.c_str());
    EXPECT_EQ(outcome.status, ReadingStatus::NotReadable);
    EXPECT_EQ(outcome.cause, ReadingCause::EmptyFile);
}

TEST_F(DriverTest, TwoByteFilePassesAsTiffWithNothingToWalk) {
    CapturedOutput out;
    EXPECT_EQ(read({'M', 'M'}), "No Count");
    EXPECT_EQ(out.text(), "");
}

TEST_F(DriverTest, NeitherTiffNorJpegIsNotReadable) {
    CapturedOutput out;
    EXPECT_EQ(read(ByteWriter(false).text("plain text, not an image").bytes()), "Not Readable");
    EXPECT_NE(out.text().find("\nFile not readable: "), std::string::npos);
}

TEST_F(DriverTest, NikonFilesGiveTheirCountInEveryLayoutAndByteOrder) {
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        synthetic::CameraFile camera = cameraWithCount(731);
        camera.order = order;
        EXPECT_EQ(read(synthetic::makeNef(camera)), "731");
        EXPECT_EQ(read(synthetic::makeJpeg(camera, false)), "731") << "APP1 first";
        EXPECT_EQ(read(synthetic::makeJpeg(camera, true)), "731") << "16-byte APP0 first";
    }
    synthetic::CameraFile withoutNotes = cameraWithCount(731);
    withoutNotes.withShutterCount = false;
    EXPECT_EQ(read(synthetic::makeNef(withoutNotes)), "No Count");
}

TEST_F(DriverTest, JpegLayoutsPlaceTheTiffHeaderAt12Or30) {
    RecordList records;
    const std::string app1 = dir.write("app1.jpg", synthetic::makeJpeg(cameraWithCount(5), false));
    readImageRecords(app1.c_str(), records);
    ASSERT_GT(records.size(), 3u);
    EXPECT_EQ(records[3].iImageType, 12);
    EXPECT_EQ(records[0].iImageType, 30) << "pseudo records are made before the layout is known";

    const std::string app0 = dir.write("app0.jpg", synthetic::makeJpeg(cameraWithCount(5), true));
    readImageRecords(app0.c_str(), records);
    ASSERT_GT(records.size(), 3u);
    EXPECT_EQ(records[3].iImageType, 30);
    const auto make =
        std::find_if(records.begin(), records.end(), [](const CTagRecord& r) { return r.ifde.tag == 0x010f; });
    ASSERT_NE(make, records.end());
    EXPECT_EQ(make->stringData, "NIKON CORPORATION") << "values are found relative to the header at 30";
}

TEST_F(DriverTest, PseudoRecordsComeFirstAndCarryTheFile) {
    const Bytes nef = synthetic::makeNef(cameraWithCount(9));
    const std::string path = dir.write("DSC_0001.NEF", nef);
    RecordList records;
    EXPECT_EQ(readImageRecords(path.c_str(), records), "9");
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[0].ifde.tag, 0xfffe);
    EXPECT_EQ(records[0].programName, "tiffwalker");
    EXPECT_EQ(records[0].programVersion, "1.00");
    EXPECT_EQ(records[0].programDate, "Fri Jan  6 08:00:00 UTC 2006");
    EXPECT_EQ(records[1].ifde.tag, 0xfffd);
    EXPECT_EQ(records[1].fileName, path);
    EXPECT_EQ(records[2].ifde.tag, 0xfffc);
    EXPECT_EQ(records[2].lFileSize, static_cast<int32_t>(nef.size()));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].iIFDType, kIfdSpecial);
        EXPECT_EQ(records[i].ifde.type, 2);
        EXPECT_EQ(records[i].iImageType, 0);
        EXPECT_EQ(records[i].iFileType, 1);
        EXPECT_EQ(records[i].iASCILabelSkipLength, 8);
        EXPECT_TRUE(records[i].stringData.empty() && records[i].displayStringData.empty());
    }
    EXPECT_EQ(recordCount(), 0u) << "the main list is empty between readings";
}

TEST_F(DriverTest, JpegWithoutExifSegment) {
    CapturedOutput out;
    const Bytes noExif = ByteWriter(true)
                             .raw({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10})
                             .text("JFIF")
                             .fill(10)
                             .raw({0xFF, 0xDB, 0x00, 0x0A})
                             .fill(8)
                             .raw({0xFF, 0xDA, 0x00, 0x0A})
                             .fill(8)
                             .raw({0xFF, 0xE1, 0x00, 0x0A})
                             .text("Exif")
                             .fill(20)
                             .bytes();
    const std::string path = dir.write("noexif.jpg", noExif);
    EXPECT_EQ(getImageShutterCount(path.c_str()), "No EXIF data") << "an Exif after the scan does not count";
    EXPECT_EQ(out.text(), "\nNo EXIF data found: " + path + "\n");
}

TEST_F(DriverTest, SegmentSearchEndsOnShortLengthsAndTruncation) {
    CapturedOutput out;
    // An empty segment, then filler that begins no segment.
    EXPECT_EQ(read(ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02}).fill(20).bytes()), "No EXIF data");
    // The file ends before any start of scan.
    EXPECT_EQ(read(ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10}).fill(14).bytes()), "No EXIF data");
    EXPECT_EQ(read({0xFF, 0xD8, 0xFF}), "No EXIF data");
}

TEST_F(DriverTest, ExifPastAnEmptySegmentIsFoundAndHeldToTheFixedLayout) {
    // JFIF, an empty comment, then the EXIF segment: the segment scanner finds
    // it, and the original layout (its "Exif" at byte 24) refuses it with its
    // own text, as it refuses any JFIF segment that is not 16 bytes long.
    CapturedOutput out;
    const Bytes file = ByteWriter(true)
                           .raw({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10})
                           .text("JFIF")
                           .fill(10)
                           .raw({0xFF, 0xFE, 0x00, 0x02, 0xFF, 0xE1, 0x00, 0x40})
                           .text("Exif")
                           .raw({0, 0})
                           .header(8)
                           .fill(60)
                           .bytes();
    EXPECT_EQ(raisedMessage(file), "EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
}

TEST_F(DriverTest, FirstSegmentOtherThanApp0OrApp1IsNotReadable) {
    CapturedOutput out;
    const Bytes tableFirst = ByteWriter(true)
                                 .raw({0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x0A})
                                 .fill(8)
                                 .raw({0xFF, 0xE1, 0x00, 0x20})
                                 .text("Exif")
                                 .raw({0, 0})
                                 .header(8)
                                 .fill(30)
                                 .bytes();
    EXPECT_EQ(read(tableFirst), "Not Readable");
    EXPECT_NE(out.text().find("Fourth byte is unknown: db"), std::string::npos);
}

TEST_F(DriverTest, DetectionMessagesFollowTheirSwitches) {
    const Bytes notAnImage = ByteWriter(false).text("not an image").bytes();
    const Bytes noExif = ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x10}).fill(20).bytes();
    for (int option : {2, 3, 6, 7}) {
        CapturedOutput out;
        setOption(option, true);
        EXPECT_EQ(read(notAnImage), "Not Readable");
        const bool noExifSilenced = option == 6 || option == 7;
        EXPECT_EQ(read(noExif), "No EXIF data");
        EXPECT_EQ(out.text().find("No EXIF data found") == std::string::npos, noExifSilenced) << option;
        EXPECT_EQ(out.text().find("File not readable"), std::string::npos) << option;
        resetOptions();
    }
    const int32_t before = engineState().failureCounter;
    setOption(7, true);
    read(notAnImage);
    read(noExif);
    EXPECT_EQ(engineState().failureCounter, before - 2);
}

TEST_F(DriverTest, MalformedExifHeadersRaiseTheirErrors) {
    EXPECT_EQ(raisedMessage(jpegWithBlock({'I', 'M', 0x2A, 0x00, 8, 0, 0, 0})), "File type is not Nikon JPG");
    EXPECT_EQ(raisedMessage(jpegWithBlock({'M', 'M', 0x00, 0x2B, 0, 0, 0, 8})), "File type is not Nikon JPG");
    EXPECT_EQ(raisedMessage(jpegWithBlock({'M', 'M', 0x00, 0x2A, 0, 0, 0, 8})), "");

    // A JFIF segment longer than 16 bytes puts the APP1 block out of place.
    const Bytes longApp0 = ByteWriter(true)
                               .raw({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x12})
                               .text("JFIF")
                               .fill(12)
                               .raw({0xFF, 0xE1, 0x00, 0x20})
                               .text("Exif")
                               .raw({0, 0})
                               .header(8)
                               .fill(30)
                               .bytes();
    EXPECT_EQ(raisedMessage(longApp0), "EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
}

TEST_F(DriverTest, ARaisedErrorLeavesNothingBehind) {
    raisedMessage(jpegWithBlock({'I', 'M', 0x2A, 0x00, 8, 0, 0, 0}));
    EXPECT_EQ(recordCount(), 0u);
    EXPECT_EQ(engineState().resultText, "");
    EXPECT_EQ(read(synthetic::makeNef(cameraWithCount(77))), "77");
}

TEST_F(DriverTest, TooShortExifBlockReadsNothing) {
    // 12 to 19 bytes: the 20-byte block cannot be read, and IFD0 is taken as 0.
    const Bytes shortFile =
        ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x20}).text("Exif").raw({0, 'M', 'M'}).bytes();
    EXPECT_EQ(shortFile.size(), 13u);
    EXPECT_EQ(read(shortFile), "No Count");
}

TEST_F(DriverTest, TraceStartsWithTheListingHeader) {
    CapturedOutput out;
    setOption(kTraceSwitch, true);
    const std::string path = dir.write("trace.nef", synthetic::makeNef(cameraWithCount(3)));
    getImageShutterCount(path.c_str());
    EXPECT_EQ(out.text().rfind("Listing of image file: " + path + "\nTIFFHEADER::order           = 4949h (Intel)\n", 0),
              0u);
}

TEST(TiffBaseOffset, FollowsTheLayoutCode) {
    EngineState& state = engineState();
    const int32_t saved = state.layoutCode;
    const std::pair<int32_t, int32_t> cases[] = {{0, 30}, {1, 12}, {99, 0}, {5, -1}};
    for (const auto& [layout, base] : cases) {
        state.layoutCode = layout;
        EXPECT_EQ(getTiffBaseOffset(), base);
    }
    state.layoutCode = saved;
}
