#include "io/file_stream.h"

#include <algorithm>
#include <cstring>

namespace tiffwalker {

bool FileStream::open(const char* path) {
    close();
    if (!disk_.open(path)) return false;
    open(disk_);
    return true;
}

void FileStream::open(ByteSource& source) {
    if (&source != &disk_) close();
    source_ = &source;
    whole_ = &source;
    size_ = std::max<int64_t>(source.size(), 0);
    if (!window_) window_ = std::make_unique<unsigned char[]>(kWindowSize);
}

void FileStream::close() {
    disk_.close();
    source_ = nullptr;
    whole_ = nullptr;
    origin_ = 0;
    size_ = 0;
    position_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
    filledOnce_ = false;
}

void FileStream::openWindow(int64_t offset, int64_t length) {
    if (whole_ == nullptr) return;
    stretchSource_ = WindowSource(*whole_, offset, length);
    source_ = &stretchSource_;
    origin_ = stretchSource_.origin();
    size_ = stretchSource_.size();
    position_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
}

bool FileStream::fillWindow(int64_t wanted) {
    // Windows begin on a page boundary, so that the walker's returns to a
    // directory a little before the position just read still find it here.
    const int64_t position = wanted - wanted % static_cast<int64_t>(kPageSize);
    windowStart_ = position;
    const size_t windowSize = filledOnce_ ? kWindowSize : kFirstWindowSize;
    filledOnce_ = true;
    const auto length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(windowSize), size_ - position));
    windowLength_ = std::min(source_->readAt(position, window_.get(), length), length);
    // A short read (an error, or a file that shrank) may end before the byte
    // that was wanted.
    return wanted < windowStart_ + static_cast<int64_t>(windowLength_);
}

size_t FileStream::readThroughWindow(void* dest, size_t n) {
    if (source_ == nullptr) return 0;
    if (!isRegularFile()) {
        source_->readAt(0, dest, 0);  // lets the source note a failing read
        return 0;
    }
    auto* out = static_cast<unsigned char*>(dest);
    size_t done = 0;
    while (done < n && position_ >= 0 && position_ < size_) {
        const bool inWindow =
            position_ >= windowStart_ && position_ < windowStart_ + static_cast<int64_t>(windowLength_);
        if (!inWindow && !fillWindow(position_)) break;
        const auto offset = static_cast<size_t>(position_ - windowStart_);
        const size_t chunk = std::min(n - done, windowLength_ - offset);
        std::memcpy(out + done, window_.get() + offset, chunk);
        done += chunk;
        position_ += static_cast<int64_t>(chunk);
    }
    return done;
}

}  // namespace tiffwalker
