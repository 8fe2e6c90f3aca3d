#include "byte_order.h"

#include <cstring>

#include "reading_state.h"

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

namespace {
ByteOrder& engineOrder() { return engineState().order; }
}  // namespace

bool isBigEndian() { return engineOrder().isBigEndian(); }
void setBigEndian(bool bigEndian) { engineOrder().setBigEndian(bigEndian); }
uint16_t get16(const unsigned char* bytes) { return engineOrder().get16(bytes); }
uint32_t get32(const unsigned char* bytes) { return engineOrder().get32(bytes); }
uint16_t toHost16(uint16_t storedField) { return engineOrder().toHost16(storedField); }
uint32_t toHost32(uint32_t storedField) { return engineOrder().toHost32(storedField); }

}  // namespace tiffwalker
