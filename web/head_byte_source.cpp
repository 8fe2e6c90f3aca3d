#include "head_byte_source.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>

// Reads length bytes at position of the file being read into dest (memory of
// this module); the number read, or -1 when the browser could not read them.
EM_JS(int, readFileBeyondHead, (double position, unsigned char* dest, size_t length), {
    return Module.readBeyondHead(position, dest, length);
});

namespace frametally::web {

unsigned char* HeadByteSource::headBuffer(size_t length) {
    if (head_.size() < length) head_.resize(length);
    return head_.data();
}

void HeadByteSource::startFile(int64_t fileSize, size_t headLength) {
    size_ = std::max<int64_t>(fileSize, 0);
    headLength_ = static_cast<size_t>(std::min<int64_t>({static_cast<int64_t>(headLength),
                                                          static_cast<int64_t>(head_.size()), size_}));
    error_ = false;
    bytesBeyondHead_ = 0;
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
    if (done == n) return n;
    const int got = readFileBeyondHead(static_cast<double>(position + static_cast<int64_t>(done)), out + done, n - done);
    if (got < 0) {
        error_ = true;
        return done;
    }
    const size_t beyond = std::min(static_cast<size_t>(got), n - done);
    bytesBeyondHead_ += static_cast<int64_t>(beyond);
    return done + beyond;
}

}  // namespace frametally::web
