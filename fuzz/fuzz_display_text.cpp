// libFuzzer target: any text, taken as a value text, made into the display
// text of every tag that has a handling of its own (code tables, number
// formats, the lens description).
//
// Beyond the sanitizers it checks that a display text never grows much
// beyond its value text: the longest addition is a number printed in full.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <tiffwalker/tag_record.h>
#include "walk/display_text.h"

namespace {

// The tags whose display text is not simply their value text, found by asking
// every tag number about two probes: a text no handling leaves alone (not a
// number, not a code) and one that only the number handlings change.
std::vector<uint16_t> findHandledTags() {
    const std::string probes[] = {"zz", "1.23456 2 3 4"};
    std::vector<uint16_t> tags;
    for (uint32_t tag = 0; tag <= 0xffff; ++tag) {
        std::string lens;
        for (const std::string& probe : probes) {
            if (tiffwalker::displayTextFor(static_cast<uint16_t>(tag), probe, lens) != probe) {
                tags.push_back(static_cast<uint16_t>(tag));
                break;
            }
        }
    }
    return tags;
}

const std::vector<uint16_t>& handledTags() {
    static const std::vector<uint16_t> tags = findHandledTags();
    return tags;
}

// "%6.4f" of the largest double has 309 digits before the point.
constexpr size_t kLongestAddition = 400;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Far fewer would mean the probes no longer find the handlings.
    if (handledTags().size() < 30) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (uint16_t tag : handledTags()) {
        tiffwalker::CTagRecord record(tiffwalker::IFDENTRY{tag, 2, static_cast<uint32_t>(size), 0}, 1);
        const std::string& display = record.setDisplayStringData(text);
        if (display.size() > text.size() + kLongestAddition) __builtin_trap();
        if (record.lensStringData.size() > text.size() + kLongestAddition) __builtin_trap();
    }
    return 0;
}
