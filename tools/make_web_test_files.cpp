// Writes the files the page's browser tests read: one of each outcome the
// reader can give (counts from NEF and both JPEG layouts, each kind of missing
// count, a file without EXIF data, unreadable files, a malformed EXIF header
// that raises an error) and a 60 MB NEF whose image data is a hole.
//
//   make_web_test_files OUTPUT_FOLDER
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "synthetic_files.h"

namespace fs = std::filesystem;

namespace {

synthetic::CameraFile camera(uint32_t count) {
    synthetic::CameraFile file;
    file.shutterCount = count;
    file.serialNumber = "2012345";
    file.fullEntrySet = true;
    return file;
}

bool write(const fs::path& path, const synthetic::Bytes& bytes) {
    if (synthetic::writeFile(path.string(), bytes)) return true;
    std::cerr << "make_web_test_files: cannot write " << path.string() << "\n";
    return false;
}

// The structure, then the file made size bytes long with a hole.
bool writeLarge(const fs::path& path, const synthetic::Bytes& head, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
              ::ftruncate(fd, size) == 0;
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    if (!ok) std::cerr << "make_web_test_files: cannot write " << path.string() << "\n";
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_web_test_files OUTPUT_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code error;
    fs::create_directories(root, error);
    bool ok = true;

    ok &= write(root / "DSC_0001.NEF", synthetic::makeNef(camera(4242)));
    synthetic::CameraFile motorola = camera(17);
    motorola.order = synthetic::Order::Motorola;
    motorola.makerNoteOrder = synthetic::Order::Intel;
    motorola.model = "NIKON D7000";
    motorola.serialNumber = "6435634";
    ok &= write(root / "DSC_0002.JPG", synthetic::makeJpeg(motorola, false));
    ok &= write(root / "dsc_0003.jpg", synthetic::makeJpeg(camera(4250), true));

    synthetic::CameraFile coolpix = camera(1);
    coolpix.make = "NIKON";
    coolpix.model = "E775";
    coolpix.serialNumber.clear();
    coolpix.withShutterCount = false;
    ok &= write(root / "coolpix.jpg", synthetic::makeJpeg(coolpix, true));
    synthetic::CameraFile edited = camera(1);
    edited.withMakerNote = false;
    edited.software = "Adobe Photoshop CS6 (Windows)";
    ok &= write(root / "edited.jpg", synthetic::makeJpeg(edited, false));
    synthetic::CameraFile noCount = camera(1);
    noCount.withShutterCount = false;
    ok &= write(root / "no-count.nef", synthetic::makeNef(noCount));
    synthetic::CameraFile refused = camera(1);
    refused.makerNoteHeaderValid = false;
    ok &= write(root / "refused.nef", synthetic::makeNef(refused));

    // What people are shown of a file whatever its texts hold: a serial number as
    // long as some bodies write, a date the camera left blank (spaces and colons,
    // as EXIF says an unknown date is written), and a serial number with a byte
    // that is not UTF-8, which the TSV keeps as it is.
    synthetic::CameraFile longSerial = camera(4);
    longSerial.model = "NIKON D7500";
    longSerial.serialNumber = "02302100048";
    ok &= write(root / "DSC_0004.NEF", synthetic::makeNef(longSerial));
    synthetic::CameraFile blankDate = camera(5);
    blankDate.dateTimeOriginal = "    :  :     :  :  ";
    ok &= write(root / "blank-date.nef", synthetic::makeNef(blankDate));
    synthetic::CameraFile notUtf8 = camera(6);
    notUtf8.serialNumber = std::string("2012\xff") + "45";
    ok &= write(root / "not-utf8.nef", synthetic::makeNef(notUtf8));
    // A body that records its mechanical releases beside every release.
    synthetic::CameraFile twoCounts = camera(46490);
    twoCounts.model = "NIKON D850";
    twoCounts.serialNumber = "3001234";
    twoCounts.mechanicalCount = 31234;
    ok &= write(root / "DSC_0005.NEF", synthetic::makeNef(twoCounts));

    ok &=
        write(root / "plain.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
    // An EXIF segment whose TIFF header has a byte-order mark no file has.
    synthetic::Bytes badExif = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x40, 'E', 'x', 'i', 'f', 0, 0, 'I', 'M'};
    badExif.resize(badExif.size() + 40, 0);
    ok &= write(root / "bad-exif.jpg", badExif);
    const std::string notes = "Shot list for Saturday\n";
    ok &= write(root / "notes.nef", synthetic::Bytes(notes.begin(), notes.end()));
    ok &= write(root / "empty.jpg", {});

    synthetic::CameraFile big = camera(120034);
    big.model = "NIKON D850";
    big.serialNumber = "7654321";
    big.imageBytes = 0;
    ok &= writeLarge(root / "DSC_9999.NEF", synthetic::makeNef(big), 60 * 1024 * 1024);
    return ok ? 0 : 1;
}
