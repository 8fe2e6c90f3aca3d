#include "io/byte_order.h"

#include <cstring>

namespace tiffwalker {

// The field's bytes are laid out in memory as they stood in the file; take them
// back out as bytes so that the host's own order plays no part.
uint16_t ByteOrder::toHost16(uint16_t storedField) const {
    unsigned char bytes[2];
    std::memcpy(bytes, &storedField, sizeof bytes);
    return get16(bytes);
}

uint32_t ByteOrder::toHost32(uint32_t storedField) const {
    unsigned char bytes[4];
    std::memcpy(bytes, &storedField, sizeof bytes);
    return get32(bytes);
}

}  // namespace tiffwalker
