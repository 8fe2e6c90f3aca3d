#pragma once
// Builds TIFF structures, Nikon maker notes, NEF and JPEG files byte by byte,
// for tests, the bundled sample, benchmark corpora and fuzzer seeds. Every
// number is written in the byte order of the structure it belongs to.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace synthetic {

using Bytes = std::vector<uint8_t>;

enum class Order { Intel, Motorola };

struct Ifd;
struct MakerNote;

struct Entry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    // Numbers to write in the structure's byte order, each of valueSize bytes;
    // or raw bytes written as they are.
    std::vector<uint64_t> numbers;
    unsigned valueSize = 0;
    Bytes raw;
    std::vector<std::shared_ptr<Ifd>> children;  // directories this entry points to
    std::shared_ptr<MakerNote> makerNote;

    static Entry bytes(uint16_t tag, uint16_t type, Bytes data);
    static Entry ascii(uint16_t tag, const std::string& text);  // with its NUL
    static Entry shorts(uint16_t tag, std::vector<uint64_t> values, uint16_t type = 3);
    static Entry longs(uint16_t tag, std::vector<uint64_t> values, uint16_t type = 4);
    static Entry rationals(uint16_t tag, std::vector<std::pair<uint32_t, uint32_t>> values, uint16_t type = 5);
    // An entry with any field; its value/offset field holds valofs as it is.
    static Entry field(uint16_t tag, uint16_t type, uint32_t count, uint32_t valofs);
    // A pointer entry (ExifOffset, SubIFDOffsets, 0x0011): LONG offsets of the directories.
    static Entry pointer(uint16_t tag, std::vector<std::shared_ptr<Ifd>> directories);
    static Entry nikonMakerNote(std::shared_ptr<MakerNote> note);
};

struct Ifd {
    std::vector<Entry> entries;
    uint32_t nextIfd = 0;
};

// A Nikon type-3 maker note: "Nikon\0" 02 10 00 00, then a TIFF header of its
// own byte order, with offsets counted from that header.
struct MakerNote {
    Order order = Order::Motorola;
    Ifd ifd;
    // False writes a byte-order mark that no reader accepts ("XX").
    bool validHeader = true;
};

// A TIFF structure (header first) whose offsets count from its first byte,
// placed at filePosition in the file (which only SubIFD offsets, being
// absolute, need to know).
Bytes buildTiff(const Ifd& ifd0, Order order, uint32_t filePosition = 0);

// A JPEG file with the TIFF structure in its EXIF segment: APP1 first (TIFF
// at 12), or a 16-byte JFIF APP0 first (TIFF at 30).
Bytes wrapInJpeg(const Bytes& tiff, bool app0First);

// A camera-like Nikon file: IFD0 with Make/Model, a sub-image, EXIF with
// exposure data and a maker note with lens data and the shutter count.
// imageBytes of filler stand for the image data, to give realistic sizes.
struct CameraFile {
    std::string model = "NIKON D70";
    uint32_t shutterCount = 1234;
    Order order = Order::Intel;
    Order makerNoteOrder = Order::Motorola;
    size_t imageBytes = 0;
    bool withShutterCount = true;
    // The mechanical releases some bodies (D850, D780, Z) record beside the
    // count, as maker-note entry 0x0037; none leaves it out.
    std::optional<uint32_t> mechanicalCount;
    // What IFD0 and EXIF say about the file; an empty text leaves its entry out.
    std::string make = "NIKON CORPORATION";
    std::string software = "Ver.1.00";
    std::string dateTimeOriginal = "2026:12:07 10:00:00";
    // The body's serial number, as maker-note entry 0x001d; empty leaves it out.
    std::string serialNumber;
    bool withMakerNote = true;
    bool makerNoteHeaderValid = true;
    // As many entries as a real camera writes (about 25 in IFD0, 40 in EXIF and
    // 50 in the maker notes, some with values of a few kilobytes), so that
    // benchmark corpora cost what real files cost.
    bool fullEntrySet = false;
};
Bytes makeNef(const CameraFile& camera);
Bytes makeJpeg(const CameraFile& camera, bool app0First);
// The TIFF structure a camera puts in its EXIF segment (or a HEIF Exif item),
// offsets counted from its header.
Bytes makeExifTiff(const CameraFile& camera);

bool writeFile(const std::string& path, const Bytes& bytes);

}  // namespace synthetic
