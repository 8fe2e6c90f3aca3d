#include "walk/reading_budget.h"

#include <algorithm>

#include "walk/reading_limits.h"

namespace tiffwalker {

void ReadingBudget::reset() {
    walked_.clear();
    requests_ = 0;
    depth_ = 0;
    keptValueBytes_ = 0;
    readValueBytes_ = 0;
    listingBytes_ = 0;
    keptAtMost_ = 0;
    readAtMost_ = 0;
}

bool ReadingBudget::requestDirectory() {
    if (!canRequestDirectory()) return false;
    ++requests_;
    return true;
}

bool ReadingBudget::canRequestDirectory() const { return requests_ < limits::kMaxDirectoryRequests; }

bool ReadingBudget::enterDirectory(int64_t position) {
    if (depth_ >= limits::kMaxDirectoryDepth || !canWalkMoreDirectories()) return false;
    if (std::find(walked_.begin(), walked_.end(), position) != walked_.end()) return false;
    walked_.push_back(position);
    ++depth_;
    return true;
}

void ReadingBudget::leaveDirectory() {
    if (depth_ > 0) --depth_;
}

bool ReadingBudget::canWalkMoreDirectories() const {
    return walked_.size() < static_cast<size_t>(limits::kMaxDirectories);
}

size_t ReadingBudget::allowValueBytes(size_t wanted) const {
    return std::min(wanted, limits::kMaxKeptValueBytes - keptValueBytes_);
}

void ReadingBudget::spendValueBytes(size_t bytes) {
    keptValueBytes_ = std::min(limits::kMaxKeptValueBytes, keptValueBytes_ + bytes);
    keptAtMost_ += bytes;
}

size_t ReadingBudget::allowReadBytes(size_t wanted) const {
    return std::min(wanted, limits::kMaxReadValueBytes - readValueBytes_);
}

void ReadingBudget::spendReadBytes(size_t bytes) {
    readValueBytes_ = std::min(limits::kMaxReadValueBytes, readValueBytes_ + bytes);
    readAtMost_ += bytes;
}

void ReadingBudget::spendSkippedBytes(uint64_t kept, uint64_t read) {
    keptAtMost_ += kept;
    readAtMost_ += read;
}

bool ReadingBudget::surelyAllows(uint64_t kept, uint64_t read) const {
    return keptAtMost_ + kept <= limits::kMaxKeptValueBytes && readAtMost_ + read <= limits::kMaxReadValueBytes;
}

bool ReadingBudget::spendListingBytes(size_t bytes) {
    if (bytes > limits::kMaxListingBytes - listingBytes_) return false;
    listingBytes_ += bytes;
    return true;
}

}  // namespace tiffwalker
