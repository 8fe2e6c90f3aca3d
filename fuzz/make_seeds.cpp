// Writes the fuzzers' seeds into a scratch directory:
//   OUT/reader/   synthetic NEF and JPEG files of several cameras and layouts,
//                 and small crafted hostile files;
//   OUT/display/  the value texts that readings of those files (and of any
//                 files named after OUT) produce, one per file.
// or, with --regressions, the crafted files kept in tests/regressions/.
//
//   make_fuzz_seeds OUT [FILE...]
//   make_fuzz_seeds --regressions tests/regressions
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <tiffwalker/tiffwalker.h>
#include "container_files.h"
#include "context_free/engine_wide.h"
#include "hostile_containers.h"
#include "hostile_files.h"
#include "maker_note_files.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "synthetic_files.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

namespace fs = std::filesystem;

namespace {

using synthetic::Bytes;

// Every container around a camera's TIFF structure, in both byte orders, and
// the crafted hostile containers.
void addContainerSeeds(std::vector<std::pair<std::string, Bytes>>& seeds) {
    using namespace containers;
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        synthetic::CameraFile camera;
        camera.order = order;
        const std::string suffix = order == synthetic::Order::Intel ? "-ii" : "-mm";
        const Bytes tiff = synthetic::makeExifTiff(camera);
        seeds.emplace_back("jfif-comment" + suffix + ".jpg",
                           jpeg({jfifSegment(), commentSegment("edited"), exifSegment(tiff)}));
        seeds.emplace_back("icc-adobe-app13" + suffix + ".jpg",
                           jpeg({iccSegment(), adobeSegment(), photoshopSegment(), exifSegment(tiff)}));
        HeifLayout layout;
        seeds.emplace_back("iloc-v0" + suffix + ".hif", heif(tiff, layout));
        layout.ilocVersion = 1;
        layout.inIdat = true;
        layout.baseOffsetSize = 4;
        seeds.emplace_back("iloc-v1-idat" + suffix + ".heic", heif(tiff, layout));
        layout = HeifLayout{};
        layout.ilocVersion = 2;
        layout.offsetSize = 8;
        layout.lengthSize = 8;
        layout.largeBoxes = true;
        layout.twoExtents = true;
        layout.infeVersion = 3;
        seeds.emplace_back("iloc-v2-large" + suffix + ".heif", heif(tiff, layout));
        seeds.emplace_back("cmt" + suffix + ".cr3", cr3(tiff, tiff, tiff));
        seeds.emplace_back("embedded-jpeg" + suffix + ".raf", raf(jpeg({jfifSegment(), exifSegment(tiff)})));
    }
    seeds.emplace_back("box-beyond-file.hif", hostile_containers::boxBeyondFile());
    seeds.emplace_back("size-below-header.hif", hostile_containers::zeroSizeLoops().front());
    seeds.emplace_back("nested-moov.cr3", hostile_containers::deeplyNestedBoxes(64));
    seeds.emplace_back("item-counts.hif", hostile_containers::itemCountsInTheMillions());
    seeds.emplace_back("extent-past-end.hif", hostile_containers::extentsPastTheEnd().front());
    seeds.emplace_back("jpeg-past-end.raf", hostile_containers::rafPlacesPastTheEnd().front());
}

std::vector<std::pair<std::string, Bytes>> readerSeeds() {
    std::vector<std::pair<std::string, Bytes>> seeds;
    synthetic::CameraFile camera;
    seeds.emplace_back("d70-intel.nef", synthetic::makeNef(camera));
    seeds.emplace_back("d70-app1.jpg", synthetic::makeJpeg(camera, false));
    seeds.emplace_back("d70-app0.jpg", synthetic::makeJpeg(camera, true));
    camera.order = synthetic::Order::Motorola;
    camera.makerNoteOrder = synthetic::Order::Intel;
    camera.model = "NIKON D2H";
    seeds.emplace_back("d2h-motorola.nef", synthetic::makeNef(camera));
    seeds.emplace_back("d2h-app1.jpg", synthetic::makeJpeg(camera, false));
    camera.model = "NIKON D100";
    camera.withShutterCount = false;
    seeds.emplace_back("d100-no-count.nef", synthetic::makeNef(camera));
    // Every other maker's maker-note layouts and count readers.
    using synthetic::makeMakerFile;
    seeds.emplace_back("sony-nex6.jpg",
                       makeMakerFile(synthetic::sonyFile("NEX-6", {synthetic::sonyCountBlock(0x32, 54041)})));
    seeds.emplace_back("sony-ilce7cm2-mm.jpg",
                       makeMakerFile(synthetic::sonyFile("ILCE-7CM2", {synthetic::sonyCountBlock(0x0a, 249044)}, true,
                                                         synthetic::Order::Motorola)));
    seeds.emplace_back("sony-no-header.tif", [] {
        auto file = synthetic::sonyFile("ILCE-7M3", {synthetic::sonyCountBlock(0x3a, 5011)}, false);
        file.jpeg = false;
        return makeMakerFile(file);
    }());
    synthetic::Bytes dslr(0x400, 0);
    seeds.emplace_back("sony-a900.jpg", makeMakerFile(synthetic::sonyFile("DSLR-A900", {{0x0020, 7, 0, dslr}})));
    seeds.emplace_back("pentax-aoc.jpg", makeMakerFile(synthetic::pentaxFile(1648, true, false, "MM")));
    seeds.emplace_back("pentax-pentax-mm.jpg", makeMakerFile(synthetic::pentaxFile(2225, false, true, "II")));
    seeds.emplace_back("pentax-dng-private.jpg", [] {
        auto file = synthetic::pentaxFile(77, false, false, "MM", "RICOH IMAGING COMPANY, LTD.", "PENTAX K-3");
        file.inDngPrivateData = true;
        return makeMakerFile(file);
    }());
    seeds.emplace_back("canon-r5.jpg",
                       makeMakerFile(synthetic::canonFile("Canon EOS R5", {synthetic::canonCameraInfo(0xaf1, 51234)})));
    seeds.emplace_back("canon-moved-footer.jpg", [] {
        auto file = synthetic::canonFile("Canon EOS-1Ds Mark III", {synthetic::canonCameraInfo(0x176, 4337, 0x200)});
        file.layout.movedBy = 0x40;
        file.layout.canonFooter = true;
        return makeMakerFile(file);
    }());
    seeds.emplace_back("fujifilm-xt3.jpg", makeMakerFile(synthetic::fujifilmFile(7)));
    seeds.emplace_back("maker-note-loops.nef", hostile::makerNoteLoops());
    seeds.emplace_back("sub-ifd-chain.tif", hostile::subIfdChain(12));
    seeds.emplace_back("repeated-sub-ifd-lists.tif", hostile::repeatedSubIfdLists(8192));
    seeds.emplace_back("jpeg-no-exif.jpg",
                       Bytes{0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02});
    addContainerSeeds(seeds);
    return seeds;
}

// Inputs that once hung the reader or tripped a sanitizer, made small.
std::vector<std::pair<std::string, Bytes>> regressionFiles() {
    return {
        {"repeated-sub-ifd-lists.tif", hostile::repeatedSubIfdLists(16 * 1024)},
        {"wrapped-short-lists.tif", hostile::wrappedShortLists(128 * 1024)},
        {"user-comment-of-eight-bytes.tif", hostile::userCommentOfEightBytes()},
    };
}

bool writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Every distinct value text of a reading of the file at path.
void collectValueTexts(const std::string& path, std::set<std::string>& texts) {
    tiffwalker::RecordList records;
    try {
        tiffwalker::readImageRecords(path.c_str(), records);
    } catch (tiffwalker::CTiffwalkerException* error) {
        error->Delete();
        return;
    }
    for (const tiffwalker::CTagRecord& record : records) {
        if (!record.stringData.empty()) texts.insert(record.stringData);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_fuzz_seeds OUT [FILE...] | make_fuzz_seeds --regressions DIR\n";
        return 2;
    }
    if (std::string(argv[1]) == "--regressions") {
        if (argc != 3) return 2;
        for (const auto& [name, bytes] : regressionFiles()) {
            if (!writeBytes(fs::path(argv[2]) / name, std::string(bytes.begin(), bytes.end()))) {
                std::cerr << "cannot write " << name << " in " << argv[2] << "\n";
                return 1;
            }
        }
        return 0;
    }
    const fs::path out = argv[1];
    const fs::path readerDir = out / "reader";
    const fs::path displayDir = out / "display";
    std::error_code error;
    fs::create_directories(readerDir, error);
    fs::create_directories(displayDir, error);
    if (error) {
        std::cerr << "cannot create " << out << ": " << error.message() << "\n";
        return 1;
    }

    std::ostringstream discard;
    tiffwalker::setEngineOutput(discard);

    std::set<std::string> texts = {
        "0.004000 ", "18.000000 70.000000 3.500000 4.500000 ", "65535", "-1", "1e308", "0x0000001", "inf ", "nan "};
    for (const auto& [name, bytes] : readerSeeds()) {
        const fs::path path = readerDir / name;
        if (!writeBytes(path, std::string(bytes.begin(), bytes.end()))) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
        collectValueTexts(path.string(), texts);
    }
    for (int i = 2; i < argc; ++i) collectValueTexts(argv[i], texts);

    size_t n = 0;
    for (const std::string& text : texts) {
        if (!writeBytes(displayDir / ("text-" + std::to_string(n++)), text)) return 1;
    }
    std::cout << readerSeeds().size() << " reader seeds, " << n << " display seeds in " << out.string() << "\n";
    return 0;
}
