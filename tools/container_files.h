#pragma once
// Containers around TIFF structures, written byte by byte: JPEG data with
// other segments before its EXIF segment, HEIF files with their EXIF item in
// every layout iloc allows, CR3 files with Canon's CMT boxes, and RAF files
// around a JPEG. Box sizes, item locations and offsets are all computed from
// what is written, in the big-endian order of these containers.
#include <cstdint>
#include <string>
#include <vector>

namespace containers {

using Bytes = std::vector<uint8_t>;

// JPEG segments: a marker, and a length that counts itself and the data.
Bytes segment(uint8_t marker, const Bytes& data);
Bytes jfifSegment();                            // APP0 "JFIF"
Bytes commentSegment(const std::string& text);  // COM
Bytes iccSegment();                             // APP2 "ICC_PROFILE"
Bytes adobeSegment();                           // APP14 "Adobe"
Bytes photoshopSegment();                       // APP13 "Photoshop 3.0"
Bytes xmpSegment();                             // APP1, not EXIF
Bytes exifSegment(const Bytes& tiff);           // APP1 "Exif\0\0" + TIFF
// A JPEG: its start, the segments in order, a token image and its end.
Bytes jpeg(const std::vector<Bytes>& segments);

// An ISO base media box: 32-bit size, or 1 and a 64-bit size when large.
Bytes box(const char* type, const Bytes& payload, bool large = false);
// A full box: version and flags before the payload.
Bytes fullBox(const char* type, uint8_t version, const Bytes& payload);

// "Exif\0\0", the bytes that usually come before the TIFF header.
Bytes exifMark();

struct HeifLayout {
    uint8_t ilocVersion = 0;     // 0, 1 or 2
    uint8_t offsetSize = 4;      // 0, 4 or 8
    uint8_t lengthSize = 4;      // 0 (the item runs to the end of its data), 4 or 8
    uint8_t baseOffsetSize = 0;  // 0, 4 or 8: the extent offsets then count from the base
    uint8_t indexSize = 0;       // versions 1 and 2
    uint8_t infeVersion = 2;     // 2 or 3
    bool inIdat = false;         // construction method 1: the item in meta's idat box (version 1 or 2)
    bool largeBoxes = false;     // 64-bit sizes for meta and mdat
    bool mdatToEnd = false;      // mdat's size 0: to the end of the file
    bool twoExtents = false;     // the item in two extents that follow one another
    uint32_t exifItemId = 2;
    // The bytes before the TIFF header in the item, as its first 4 bytes count them.
    // (Made out of line: GCC 12 takes an inline initializer list here for
    // uninitialized memory in optimised builds of the tests.)
    Bytes beforeTiff = exifMark();
};
// A HEIF file: ftyp, meta (hdlr, pitm, iinf with an image item and the Exif
// item, iloc) and mdat with the image and, unless in idat, the Exif data.
// When lengthSize is 0 the Exif data comes last in its box, with mdatToEnd
// or idat.
Bytes heif(const Bytes& tiff, const HeifLayout& layout = {});

// A CR3 file: ftyp "crx ", moov with Canon's uuid box holding CMT1, CMT2 and
// CMT3 (each given as a whole TIFF structure; empty leaves the box out), and
// a token mdat.
Bytes cr3(const Bytes& cmt1, const Bytes& cmt2, const Bytes& cmt3);

// A RAF file: its magic, version fields, the embedded JPEG's offset and
// length at 84 and 88, and the JPEG after some padding.
Bytes raf(const Bytes& jpegData);

}  // namespace containers
