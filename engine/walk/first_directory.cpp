#include "walk/first_directory.h"

#include <tiffwalker/tiffwalker_exception.h>

#include <cstring>
#include <ostream>

#include "text/text_format.h"

namespace tiffwalker {

namespace {

// A reading of every file type finds the EXIF segment of a JPEG wherever it
// lies and takes every TIFF structure it finds there: one that comes this far
// has an "Exif" segment without a valid TIFF header, whoever made the file.
// The context-free operations keep the texts of their fixed detection.
constexpr const char* kExifWithoutTiff = "The EXIF segment holds no valid TIFF header";

bool isTiffMark(const unsigned char* mark) {
    return (mark[0] == 'I' && mark[1] == 'I') || (mark[0] == 'M' && mark[1] == 'M');
}

}  // namespace

int32_t tiffBaseOffset(const ReadingState& state) {
    switch (state.layoutCode) {
        case kLayoutJpegApp0First: return 30;
        case kLayoutJpegApp1First: return 12;
        case kLayoutTiff: return 0;
        default: return -1;
    }
}

int32_t findFirstIFD(ReadingState& state, FileStream& file, FirstIfdMode mode) {
    if (mode == FirstIfdMode::Tiff) {
        unsigned char header[8];
        if (file.read(header, sizeof header) < sizeof header) return -1;
        state.order.setFromMark(header);
        if (isTiffMark(header) && state.order.get16(header + 2) == 42) {
            return static_cast<int32_t>(state.order.get32(header + 4));
        }
        state.out() << "\nFile type is not NEF/Nikon RAW\n\n";
        return -1;
    }

    unsigned char start[4];
    if (file.read(start, sizeof start) < sizeof start) return 0;
    if (start[0] != 0xFF || start[1] != 0xD8 || start[2] != 0xFF) return -1;
    file.seek(0);
    if (start[3] == 0xE0) {
        state.layoutCode = kLayoutJpegApp0First;
        file.seek(18);
    } else if (start[3] == 0xE1) {
        state.layoutCode = kLayoutJpegApp1First;
    } else {
        if (!notReadableMessageSuppressed(state)) {
            state.out() << "\n" << formatText("Fourth byte is unknown: %x", unsigned{start[3]}) << "\n";
        }
        if (state.everyKind) throwTiffwalkerException(kExifWithoutTiff);
        return -1;
    }
    return readExifHeader(state, file, tiffBaseOffset(state));
}

int32_t readExifHeader(ReadingState& state, FileStream& file, int32_t base) {
    unsigned char block[20] = {};
    if (file.read(block, sizeof block) < sizeof block) {
        reportFileError(state.out(), file);
        return 0;
    }
    if (std::memcmp(block + 6, "Exif\0", 5) != 0) {
        if (state.everyKind) throwTiffwalkerException(kExifWithoutTiff);
        reportNotJpeg("EXIF header text incorrect");
    }
    state.order.setFromMark(block + 12);
    if (!isTiffMark(block + 12) || state.order.get16(block + 14) != 42) {
        if (state.everyKind) throwTiffwalkerException(kExifWithoutTiff);
        throwTiffwalkerException("File type is not Nikon JPG");
    }
    return static_cast<int32_t>(static_cast<uint32_t>(base) + state.order.get32(block + 16));
}

}  // namespace tiffwalker
