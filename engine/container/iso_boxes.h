#pragma once
// The boxes of an ISO base media file (HEIF, AVIF, CR3): a 32-bit big-endian
// size and a four-character type; a size of 1 means a 64-bit size follows the
// type, 0 means the box runs to the end of what holds it. Every box is checked
// against what holds it, and a list of boxes is looked at only so far.
#include <cstdint>
#include <optional>

#include <tiffwalker/byte_source.h>
#include "container/container_limits.h"

namespace tiffwalker::container {

// A four-character code as a number, first character highest.
constexpr uint32_t fourCc(const char (&code)[5]) {
    return (uint32_t{static_cast<unsigned char>(code[0])} << 24) |
           (uint32_t{static_cast<unsigned char>(code[1])} << 16) |
           (uint32_t{static_cast<unsigned char>(code[2])} << 8) | uint32_t{static_cast<unsigned char>(code[3])};
}

struct Box {
    uint32_t type = 0;
    int64_t start = 0;    // of its header
    int64_t payload = 0;  // first byte after its header
    int64_t end = 0;      // one past its last byte
};

// The boxes that lie one after another in [begin, end) of a source.
class BoxList {
public:
    // maxBoxes: how many boxes the list may hold before the search gives up.
    BoxList(ByteSource& source, int64_t begin, int64_t end, int maxBoxes = limits::kMaxBoxesPerList);
    // The next box; nothing at the end of the list, past the number of boxes
    // a list may hold, or at a box whose size does not fit (malformed() then
    // says so: the boxes after it cannot be found).
    std::optional<Box> next();
    bool malformed() const { return malformed_; }

private:
    ByteSource& source_;
    int64_t position_;
    int64_t end_;
    int count_ = 0;
    int maxBoxes_;
    bool malformed_ = false;
};

// The first box of this type in [begin, end).
std::optional<Box> findBox(ByteSource& source, int64_t begin, int64_t end, uint32_t type);

}  // namespace tiffwalker::container
