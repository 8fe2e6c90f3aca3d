#include "head_byte_source.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>

// Reads length bytes at position of the file being read into dest (memory of
// this module); the number read, or -1 when the browser could not read them.
EM_JS(int, readFileBeyondHead, (double position, unsigned char* dest, size_t length),
      { return Module.readBeyondHead(position, dest, length); });

namespace frametally::web {

unsigned char* HeadByteSource::headBuffer(size_t length) {
    if (head_.size() < length) head_.resize(length);
    return head_.data();
}

void HeadByteSource::startFile(int64_t fileSize, size_t headLength) {
    size_ = std::max<int64_t>(fileSize, 0);
    headLength_ = static_cast<size_t>(
        std::min<int64_t>({static_cast<int64_t>(headLength), static_cast<int64_t>(head_.size()), size_}));
    error_ = false;
    bytesBeyondHead_ = 0;
    blockLength_ = 0;
}

size_t HeadByteSource::readAt(int64_t position, void* dest, size_t n) {
    if (position < 0 || position >= size_ || n == 0) return 0;
    n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n), size_ - position));
    auto* out = static_cast<unsigned char*>(dest);
    size_t done = 0;
    if (position < static_cast<int64_t>(headLength_)) {
        done = std::min(n, headLength_ - static_cast<size_t>(position));
        std::memcpy(out, head_.data() + position, done);
    }
    while (done < n) {
        const size_t got = readBeyondHead(position + static_cast<int64_t>(done), out + done, n - done);
        if (got == 0) break;
        done += got;
    }
    return done;
}

size_t HeadByteSource::readBeyondHead(int64_t position, unsigned char* dest, size_t n) {
    const bool inBlock =
        blockLength_ > 0 && position >= blockStart_ && position < blockStart_ + static_cast<int64_t>(blockLength_);
    if (!inBlock) {
        if (error_) return 0;
        const size_t length = static_cast<size_t>(std::min<int64_t>(kBlockSize, size_ - position));
        block_.resize(kBlockSize);
        const int got = readFileBeyondHead(static_cast<double>(position), block_.data(), length);
        if (got <= 0) {
            // A failed read, or nothing where the file's size says there are
            // bytes (it shrank since it was chosen): a read error either way.
            error_ = true;
            blockLength_ = 0;
            return 0;
        }
        blockStart_ = position;
        blockLength_ = std::min(static_cast<size_t>(got), length);
        bytesBeyondHead_ += static_cast<int64_t>(blockLength_);
    }
    const auto offset = static_cast<size_t>(position - blockStart_);
    const size_t count = std::min(n, blockLength_ - offset);
    std::memcpy(dest, block_.data() + offset, count);
    return count;
}

}  // namespace frametally::web
