#pragma once
// The byte order in force: set by every TIFF header a reading reads ("II"
// little-endian, anything else big-endian), and used for every number the
// reading decodes. Numbers are always decoded from their bytes, so the
// machine's own byte order never matters.
#include <cstdint>

namespace tiffwalker {

class ByteOrder {
public:
    bool isBigEndian() const { return bigEndian_; }
    void setBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }
    void setFromMark(const unsigned char mark[2]) { bigEndian_ = !(mark[0] == 'I' && mark[1] == 'I'); }

    uint16_t get16(const unsigned char* b) const {
        return bigEndian_ ? static_cast<uint16_t>((b[0] << 8) | b[1]) : static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    uint32_t get32(const unsigned char* b) const {
        const uint32_t b0 = b[0], b1 = b[1], b2 = b[2], b3 = b[3];
        return bigEndian_ ? (b0 << 24) | (b1 << 16) | (b2 << 8) | b3 : b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
    }
    // A field that holds file bytes in their stored order, converted to a number.
    uint16_t toHost16(uint16_t storedField) const;
    uint32_t toHost32(uint32_t storedField) const;

private:
    bool bigEndian_ = false;
};

}  // namespace tiffwalker
