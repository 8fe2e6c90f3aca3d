#include "reading/original_jpeg_detection.h"

#include <cstring>

#include "container/jpeg_segments.h"
#include "container/source_bytes.h"

namespace tiffwalker {

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
    return container::findJpegSegment(file.wholeFile(), 0, file.wholeFile().size(),
                                      [&file](const container::JpegSegment& segment) {
                                          unsigned char data[5];
                                          return container::readExact(file.wholeFile(), segment.dataStart, data,
                                                                      sizeof data) &&
                                                 std::memcmp(data, "Exif\0", sizeof data) == 0;
                                      })
        .has_value();
}

}  // namespace tiffwalker
