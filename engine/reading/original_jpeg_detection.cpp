#include "reading/original_jpeg_detection.h"

#include <tiffwalker/tiffwalker_exception.h>

#include <cstring>
#include <ostream>

#include "container/jpeg_segments.h"
#include "container/source_bytes.h"
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

// A JPEG whose EXIF segment the original detection reads at a fixed place:
// APP1 first (its "Exif" at byte 6), or APP0 first and "Exif" at byte 24.
// Such files keep that reading, and its listing, exactly.
bool hasOriginalJpegLayout(FileStream& file) {
    unsigned char start[30] = {};
    file.seek(0);
    const size_t got = file.read(start, sizeof start);
    file.seek(0);
    if (got < 4 || start[0] != 0xFF || start[1] != 0xD8 || start[2] != 0xFF) return false;
    if (start[3] == 0xE1) return got >= 6 + 5 && std::memcmp(start + 6, "Exif\0", 5) == 0;
    if (start[3] == 0xE0) return got >= 24 + 5 && std::memcmp(start + 24, "Exif\0", 5) == 0;
    return false;
}

int32_t tiffBaseOffset(const ReadingState& state) {
    switch (state.layoutCode) {
        case kLayoutJpegApp0First: return 30;
        case kLayoutJpegApp1First: return 12;
        case kLayoutTiff: return 0;
        default: return -1;
    }
}

bool isJpegFile(FileStream& file) {
    const int64_t position = file.tell();
    file.seek(0);
    unsigned char marker[2] = {};
    file.read(marker, sizeof marker);
    file.seek(position);
    return marker[0] == 0xFF && marker[1] == 0xD8;
}

// Any segment whose data begins "Exif", as the scanner finds the segments
// (their lengths big-endian, as the JPEG format fixes them, whatever byte
// order the reading is in).
bool hasExifSegment(ReadingState&, FileStream& file) {
    return container::findJpegSegment(file.wholeFile(), 0, file.wholeFile().size(), [&file](const container::JpegSegment& segment) {
               unsigned char data[5];
               return container::readExact(file.wholeFile(), segment.dataStart, data, sizeof data) &&
                      std::memcmp(data, "Exif\0", sizeof data) == 0;
           }).has_value();
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
