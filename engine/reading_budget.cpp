#include "reading_budget.h"

#include <algorithm>

#include "reading_limits.h"

namespace tiffwalker {

void ReadingBudget::reset() {
    walked_.clear();
    depth_ = 0;
    keptValueBytes_ = 0;
}

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
}

ReadingBudget& readingBudget() {
    static ReadingBudget budget;
    return budget;
}

}  // namespace tiffwalker
