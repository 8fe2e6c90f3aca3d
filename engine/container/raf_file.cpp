#include "container/raf_file.h"

#include <cstring>

#include "container/jpeg_segments.h"
#include "container/source_bytes.h"

namespace tiffwalker::container {

namespace {

constexpr char kRafMagic[] = "FUJIFILMCCD-RAW ";
constexpr size_t kMagicLength = sizeof kRafMagic - 1;
constexpr int64_t kJpegPlace = 84;  // offset, then length

}  // namespace

bool isRafFile(ByteSource& source) {
    unsigned char magic[kMagicLength];
    return readExact(source, 0, magic, sizeof magic) && std::memcmp(magic, kRafMagic, kMagicLength) == 0;
}

std::optional<TiffLocation> findRafExif(ByteSource& source) {
    unsigned char place[8];
    if (!readExact(source, kJpegPlace, place, sizeof place)) return std::nullopt;
    const int64_t offset = bigEndian32(place);
    const int64_t length = bigEndian32(place + 4);
    if (offset > source.size() || length > source.size() - offset) return std::nullopt;
    std::optional<TiffLocation> found = findJpegExif(source, offset, offset + length);
    if (found) found->label = "EXIF segment (APP1) of the embedded JPEG";
    return found;
}

}  // namespace tiffwalker::container
