#include "container/jpeg_segments.h"

#include <algorithm>
#include <cstring>

#include "container/container_limits.h"
#include "container/source_bytes.h"

namespace tiffwalker::container {

namespace {

constexpr unsigned char kApp1 = 0xE1;
constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kExifMark[6] = {'E', 'x', 'i', 'f', 0, 0};

// Markers that stand alone, without a length: TEM and the restart markers.
bool isStandalone(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

bool isJpegStart(ByteSource& source, int64_t start) {
    unsigned char marker[2];
    return readExact(source, start, marker, sizeof marker) && marker[0] == 0xFF && marker[1] == 0xD8;
}

std::optional<JpegSegment> findJpegSegment(ByteSource& source, int64_t start, int64_t end,
                                           const std::function<bool(const JpegSegment&)>& wanted) {
    end = std::min(end, source.size());
    if (!isJpegStart(source, start)) return std::nullopt;
    int64_t position = start + 2;
    for (int segment = 0; segment < limits::kMaxJpegSegments && position < end; ++segment) {
        unsigned char head[4];
        if (!readExact(source, position, head, 2) || head[0] != 0xFF) return std::nullopt;
        const unsigned char marker = head[1];
        if (marker == 0xFF) {  // a fill byte before the marker
            ++position;
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) return std::nullopt;
        if (isStandalone(marker)) {
            position += 2;
            continue;
        }
        if (!readExact(source, position + 2, head + 2, 2)) return std::nullopt;
        const uint16_t length = bigEndian16(head + 2);  // counts itself, not the marker
        if (length < 2) return std::nullopt;
        const JpegSegment found{marker, position + 4, std::min<int64_t>(position + 2 + length, end)};
        if (wanted(found)) return found;
        position += 2 + length;
    }
    return std::nullopt;
}

std::optional<TiffLocation> findJpegExif(ByteSource& source, int64_t start, int64_t end) {
    const auto exif = findJpegSegment(source, start, end, [&source](const JpegSegment& segment) {
        unsigned char data[sizeof kExifMark + 4];
        return segment.marker == kApp1 && segment.end - segment.dataStart >= 6 + 8 &&
               readExact(source, segment.dataStart, data, sizeof data) &&
               std::memcmp(data, kExifMark, sizeof kExifMark) == 0 && isTiffHeaderStart(data + 6);
    });
    if (!exif) return std::nullopt;
    const int64_t tiff = exif->dataStart + 6;
    return TiffLocation{tiff, exif->end - tiff, TiffRole::Main, "EXIF segment (APP1)"};
}

}  // namespace tiffwalker::container
