#pragma once
// What one reading has spent of the bounds in reading_limits.h: the directories
// it has asked for and walked (each position once), how deep it is, and the
// value bytes it has read and keeps.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tiffwalker {

class ReadingBudget {
public:
    void reset();

    // Counts one more request for a directory; false once the reading has
    // made as many as it may, and the walker then answers at once.
    bool requestDirectory();
    bool canRequestDirectory() const;

    // True when the directory at this position may be walked now; it then
    // counts as walked and one level deeper until leaveDirectory().
    bool enterDirectory(int64_t position);
    void leaveDirectory();
    bool canWalkMoreDirectories() const;

    // How many more value bytes may be kept, at most wanted.
    size_t allowValueBytes(size_t wanted) const;
    void spendValueBytes(size_t bytes);

    // How many more value bytes may be read from the file, at most wanted.
    size_t allowReadBytes(size_t wanted) const;
    void spendReadBytes(size_t bytes);

    // A reading that makes the texts of some records only skips work that a
    // reading of every text does. What the skipped work could have spent at
    // most is counted here beside what was spent, so that such a reading can
    // tell whether a reading of every text would surely have had every byte
    // it asked for: only then do the two make the same texts.
    void spendSkippedBytes(uint64_t kept, uint64_t read);
    // True when a reading of every text, having spent at most what is
    // counted, could still be given kept and read bytes this many.
    bool surelyAllows(uint64_t kept, uint64_t read) const;

    // Spends bytes of the trace's listings; false, spending nothing, when
    // fewer than that are left.
    bool spendListingBytes(size_t bytes);

    // What the reading has spent so far (until the next reading resets it).
    int directoryRequests() const { return requests_; }
    size_t directoriesWalked() const { return walked_.size(); }
    size_t valueBytesKept() const { return keptValueBytes_; }
    size_t valueBytesRead() const { return readValueBytes_; }
    size_t listingBytes() const { return listingBytes_; }

private:
    std::vector<int64_t> walked_;
    int requests_ = 0;
    int depth_ = 0;
    size_t keptValueBytes_ = 0;
    size_t readValueBytes_ = 0;
    size_t listingBytes_ = 0;
    uint64_t keptAtMost_ = 0;
    uint64_t readAtMost_ = 0;
};

}  // namespace tiffwalker
