#include "byte_order.h"

#include <cstring>

namespace tiffwalker {

namespace {
bool bigEndianInForce = false;
}

bool isBigEndian() { return bigEndianInForce; }
void setBigEndian(bool bigEndian) { bigEndianInForce = bigEndian; }

void setByteOrderFromMark(const unsigned char mark[2]) { bigEndianInForce = !(mark[0] == 'I' && mark[1] == 'I'); }

uint16_t get16(const unsigned char* b) {
    return bigEndianInForce ? static_cast<uint16_t>((b[0] << 8) | b[1]) : static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t get32(const unsigned char* b) {
    const uint32_t b0 = b[0], b1 = b[1], b2 = b[2], b3 = b[3];
    return bigEndianInForce ? (b0 << 24) | (b1 << 16) | (b2 << 8) | b3 : b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
}

// The field's bytes are laid out in memory as they stood in the file; take them
// back out as bytes so that the host's own order plays no part.
uint16_t toHost16(uint16_t storedField) {
    unsigned char bytes[2];
    std::memcpy(bytes, &storedField, sizeof bytes);
    return get16(bytes);
}

uint32_t toHost32(uint32_t storedField) {
    unsigned char bytes[4];
    std::memcpy(bytes, &storedField, sizeof bytes);
    return get32(bytes);
}

}  // namespace tiffwalker
