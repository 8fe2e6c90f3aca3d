#include "container/iso_boxes.h"

#include <algorithm>

#include "container/source_bytes.h"

namespace tiffwalker::container {

BoxList::BoxList(ByteSource& source, int64_t begin, int64_t end, int maxBoxes)
    : source_(source), position_(begin), end_(std::min(end, source.size())), maxBoxes_(maxBoxes) {}

std::optional<Box> BoxList::next() {
    if (malformed_ || position_ >= end_) return std::nullopt;
    if (count_ >= maxBoxes_) {
        malformed_ = true;
        return std::nullopt;
    }
    ++count_;
    unsigned char header[16];
    if (end_ - position_ < 8 || !readExact(source_, position_, header, 8)) {
        malformed_ = true;
        return std::nullopt;
    }
    Box box;
    box.type = bigEndian32(header + 4);
    box.start = position_;
    const uint32_t size32 = bigEndian32(header);
    uint64_t size = size32;
    int64_t headerSize = 8;
    if (size32 == 1) {
        if (end_ - position_ < 16 || !readExact(source_, position_ + 8, header + 8, 8)) {
            malformed_ = true;
            return std::nullopt;
        }
        size = bigEndian64(header + 8);
        headerSize = 16;
    } else if (size32 == 0) {
        size = static_cast<uint64_t>(end_ - position_);
    }
    // A box must hold its own header and fit in what holds it; a smaller
    // size would never move the list forward.
    if (size < static_cast<uint64_t>(headerSize) || size > static_cast<uint64_t>(end_ - position_)) {
        malformed_ = true;
        return std::nullopt;
    }
    box.payload = position_ + headerSize;
    box.end = position_ + static_cast<int64_t>(size);
    position_ = box.end;
    return box;
}

std::optional<Box> findBox(ByteSource& source, int64_t begin, int64_t end, uint32_t type) {
    BoxList list(source, begin, end);
    while (const std::optional<Box> box = list.next()) {
        if (box->type == type) return box;
    }
    return std::nullopt;
}

}  // namespace tiffwalker::container
