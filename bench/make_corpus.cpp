// Writes a benchmark corpus: a photo library of synthetic Nikon NEF and JPEG
// files laid out as cameras lay out their cards (DCIM/100NCD70/DSC_0001.NEF),
// with as many entries as real files have and their sizes. The image data is
// left as a hole in each file (zeros that take no disk space), since no reader
// of metadata looks at it.
//
//   make_corpus OUTPUT_FOLDER [FILES [MIXED]]
//
// MIXED files of the other makers (Sony, Pentax, Canon, Fujifilm, and makers
// that record no count) go to OUTPUT_FOLDER/MIXED, beside the Nikon library.
//
// Prints one line per file, "path<TAB>expected result", to standard output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "maker_note_files.h"
#include "synthetic_files.h"

namespace fs = std::filesystem;

namespace {

struct Body {
    const char* model;
    const char* folderTag;  // as in 100NCD70
    const char* serial;
    size_t nefMegabytes;
    size_t jpegMegabytes;
    uint32_t firstCount;
};

const Body kBodies[] = {
    {"NIKON D70", "NCD70", "2012345", 5, 2, 10000},     {"NIKON D200", "NCD200", "4001234", 16, 4, 25000},
    {"NIKON D7000", "NCD7000", "6435634", 16, 5, 1200}, {"NIKON D750", "NCD750", "3012345", 25, 8, 41000},
    {"NIKON D850", "NCD850", "7654321", 45, 12, 150},
};

// Writes the structure and leaves the image data of the file as a hole; a
// JPEG file keeps its end-of-image marker as its last two bytes.
bool writeSparse(const fs::path& path, const synthetic::Bytes& head, size_t totalSize, bool jpeg) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    const size_t written = jpeg ? head.size() - 2 : head.size();  // without FF D9
    ok = ok && ::write(fd, head.data(), written) == static_cast<ssize_t>(written);
    if (jpeg) {
        const unsigned char end[2] = {0xFF, 0xD9};
        ok = ok && ::pwrite(fd, end, 2, static_cast<off_t>(totalSize - 2)) == 2;
    } else {
        ok = ok && ::ftruncate(fd, static_cast<off_t>(totalSize)) == 0;
    }
    return ::close(fd) == 0 && ok;
}

// One file of another maker, and the result it must give.
std::pair<synthetic::MakerFile, std::string> otherMakersFile(int i, uint32_t count) {
    using synthetic::Order;
    const Order order = i % 2 == 0 ? Order::Intel : Order::Motorola;
    switch (i % 8) {
        case 0:
            return {synthetic::sonyFile("ILCE-7M3", {synthetic::sonyCountBlock(0x3a, count)}, true, order),
                    std::to_string(count)};
        case 1:
            return {synthetic::sonyFile("NEX-6", {synthetic::sonyCountBlock(0x32, count)}, true, order),
                    std::to_string(count)};
        case 2:
            return {synthetic::sonyFile("ILCE-7CM2", {synthetic::sonyCountBlock(0x0a, count)}, true, order),
                    std::to_string(count)};
        case 3: return {synthetic::pentaxFile(count, true, false, "MM"), std::to_string(count)};
        case 4:
            return {synthetic::pentaxFile(count, false, true, "MM", "RICOH IMAGING COMPANY, LTD.", "PENTAX K-3"),
                    std::to_string(count)};
        case 5:
            return {synthetic::canonFile("Canon EOS R5", {synthetic::canonCameraInfo(0xaf1, count)}, order),
                    std::to_string(count)};
        case 6: {
            const uint16_t images = static_cast<uint16_t>(count & 0x7FFF);
            return {synthetic::fujifilmFile(images), std::to_string(images)};
        }
        default: {
            synthetic::MakerFile file;
            file.make = i % 16 == 7 ? "OLYMPUS IMAGING CORP." : "Canon";
            file.model = i % 16 == 7 ? "E-M5" : "Canon EOS 5D Mark IV";
            file.entries = {{0x0001, 7, 0, synthetic::Bytes(64, 1)}};
            return {file, "No Count"};
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: make_corpus OUTPUT_FOLDER [FILES [MIXED]]\n";
        return 2;
    }
    const fs::path root = argv[1];
    const int files = argc == 3 ? std::stoi(argv[2]) : 1000;
    std::mt19937 random(20261207);  // the same corpus on every run
    std::error_code error;
    fs::create_directories(root, error);

    uint32_t counts[std::size(kBodies)];
    for (size_t b = 0; b < std::size(kBodies); ++b) counts[b] = kBodies[b].firstCount;

    for (int i = 0; i < files; ++i) {
        const size_t b = static_cast<size_t>(i) % std::size(kBodies);
        const Body& body = kBodies[b];
        synthetic::CameraFile camera;
        camera.model = body.model;
        camera.serialNumber = body.serial;
        camera.fullEntrySet = true;
        camera.shutterCount = counts[b] += 1 + random() % 5;
        camera.order = random() % 4 == 0 ? synthetic::Order::Motorola : synthetic::Order::Intel;
        camera.dateTimeOriginal = "2025:0" + std::to_string(1 + i % 9) + ":1" + std::to_string(i % 10) +
                                  " 10:" + std::to_string(10 + i % 50) + ":00";

        // About one file in twelve has no count, in the ways libraries have them.
        std::string expected = std::to_string(camera.shutterCount);
        const int kind = static_cast<int>(random() % 24);
        bool jpeg = i % 3 == 0;
        if (kind == 0) {  // edited, maker notes dropped
            camera.withMakerNote = false;
            camera.software = "Adobe Photoshop CS6 (Windows)";
            jpeg = true;
            expected = "No Count";
        } else if (kind == 1) {  // a Coolpix
            camera.make = "NIKON";
            camera.model = "COOLPIX P7100";
            camera.serialNumber.clear();
            camera.withShutterCount = false;
            camera.fullEntrySet = false;  // a Coolpix writes far fewer entries
            jpeg = true;
            expected = "No Count";
        }

        const fs::path folder = root / "DCIM" / (std::to_string(100 + i / 250) + body.folderTag);
        fs::create_directories(folder, error);
        char name[32];
        // Cameras write upper case; some downloaders lower it.
        std::snprintf(name, sizeof name, i % 7 == 0 ? "dsc_%04d.%s" : "DSC_%04d.%s", i + 1,
                      jpeg ? (i % 7 == 0 ? "jpg" : "JPG") : (i % 7 == 0 ? "nef" : "NEF"));
        const size_t megabytes = jpeg ? body.jpegMegabytes : body.nefMegabytes;
        const size_t totalSize = megabytes * 1024 * 1024 + random() % (512 * 1024);
        const synthetic::Bytes head = jpeg ? synthetic::makeJpeg(camera, i % 2 == 0) : synthetic::makeNef(camera);
        if (!writeSparse(folder / name, head, totalSize, jpeg)) {
            std::cerr << "make_corpus: cannot write " << (folder / name).string() << "\n";
            return 1;
        }
        std::cout << (folder / name).string() << '\t' << expected << '\n';
    }

    const int mixed = argc == 4 ? std::stoi(argv[3]) : 0;
    if (mixed > 0) fs::create_directories(root / "MIXED", error);
    for (int i = 0; i < mixed; ++i) {
        auto [file, expected] = otherMakersFile(i, 1000 + static_cast<uint32_t>(i) * 7);
        const synthetic::Bytes head = synthetic::makeMakerFile(file);
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
        const fs::path path = root / "MIXED" / name;
        if (!writeSparse(path, head, 4 * 1024 * 1024 + random() % (512 * 1024), true)) {
            std::cerr << "make_corpus: cannot write " << path.string() << "\n";
            return 1;
        }
        std::cout << path.string() << '\t' << expected << '\n';
    }
    return 0;
}
