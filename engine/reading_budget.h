#pragma once
// What one reading has spent of the bounds in limits.h: the directories it has
// walked (each position once), how deep it is, and the value bytes it keeps.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tiffwalker {

class ReadingBudget {
public:
    void reset();

    // True when the directory at this position may be walked now; it then
    // counts as walked and one level deeper until leaveDirectory().
    bool enterDirectory(int64_t position);
    void leaveDirectory();
    bool canWalkMoreDirectories() const;

    // How many more value bytes may be kept, at most wanted.
    size_t allowValueBytes(size_t wanted) const;
    void spendValueBytes(size_t bytes);

private:
    std::vector<int64_t> walked_;
    int depth_ = 0;
    size_t keptValueBytes_ = 0;
};

ReadingBudget& readingBudget();

}  // namespace tiffwalker
