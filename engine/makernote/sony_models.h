#pragma once
// Sony's bodies and where each keeps its count in the enciphered 0x9050
// block: whole model names, never prefixes ("ILCE-7C" is not "ILCE-7CM2").
#include <cstdint>
#include <string_view>

namespace tiffwalker::makernote {

enum class SonyTable {
    A,               // count at 0x32
    B,               // count at 0x3a
    C,               // count at 0x3a
    D,               // count at 0x0a: mechanical releases
    DWhenFiveZeros,  // table D only when the block starts with five zero bytes
    OlderDslr,       // unenciphered, in tag 0x0020
    OlderDslrA450,   // the same, its sub-block's count at 0x14a
    None,            // the body records no count (compacts, global shutter)
    Unknown,         // a body in no list: no guess is made
};

SonyTable sonyTableOf(std::string_view model);

// The deciphered value of one byte of an enciphered block.
uint8_t sonyDeciphered(uint8_t byte);

}  // namespace tiffwalker::makernote
