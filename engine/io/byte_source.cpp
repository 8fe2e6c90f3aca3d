#include <tiffwalker/byte_source.h>

#include <algorithm>
#include <cstring>

namespace tiffwalker {

size_t MemorySource::readAt(int64_t position, void* dest, size_t n) {
    if (position < 0 || static_cast<uint64_t>(position) >= size_) return 0;
    const size_t offset = static_cast<size_t>(position);
    const size_t count = std::min(n, size_ - offset);
    std::memcpy(dest, data_ + offset, count);
    return count;
}

}  // namespace tiffwalker
