#include "io/window_source.h"

#include <algorithm>

namespace tiffwalker {

WindowSource::WindowSource(ByteSource& source, int64_t offset, int64_t length) : source_(&source) {
    const int64_t size = std::max<int64_t>(source.size(), 0);
    offset_ = std::clamp<int64_t>(offset, 0, size);
    length_ = std::clamp<int64_t>(length, 0, size - offset_);
}

size_t WindowSource::readAt(int64_t position, void* dest, size_t n) {
    if (source_ == nullptr || position < 0 || position >= length_) return 0;
    const auto left = static_cast<uint64_t>(length_ - position);
    const size_t count = left < n ? static_cast<size_t>(left) : n;
    return std::min(source_->readAt(offset_ + position, dest, count), count);
}

}  // namespace tiffwalker
