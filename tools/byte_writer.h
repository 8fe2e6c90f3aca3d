#pragma once
// Numbers written byte by byte in a chosen byte order: the one writer behind
// the synthetic camera files, the crafted hostile files, the tests' byte
// fixtures and the fuzzer seeds, so that each shows every field as it stands
// in the file.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace bytes {

using Bytes = std::vector<uint8_t>;

// Stores the size low bytes of value at position at, in the given order.
// Bytes that would fall past the end are dropped, so that no caller can write
// out of bounds whatever it asks for.
inline void storeNumber(Bytes& out, size_t at, uint64_t value, unsigned size, bool bigEndian) {
    for (unsigned i = 0; i < size; ++i) {
        const unsigned shift = bigEndian ? 8 * (size - 1 - i) : 8 * i;
        if (at + i < out.size()) out[at + i] = static_cast<uint8_t>(value >> shift);
    }
}

// Appends fields one after another.
class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian) : big_(bigEndian) {}
    bool bigEndian() const { return big_; }

    ByteWriter& number(uint64_t value, unsigned size) {
        bytes_.resize(bytes_.size() + size);
        storeNumber(bytes_, bytes_.size() - size, value, size, big_);
        return *this;
    }
    ByteWriter& u8(uint8_t value) { return number(value, 1); }
    ByteWriter& u16(uint32_t value) { return number(value, 2); }
    ByteWriter& u32(uint32_t value) { return number(value, 4); }
    ByteWriter& raw(std::initializer_list<uint8_t> values) {
        bytes_.insert(bytes_.end(), values);
        return *this;
    }
    ByteWriter& append(const Bytes& data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    ByteWriter& text(const std::string& value) {
        bytes_.insert(bytes_.end(), value.begin(), value.end());
        return *this;
    }
    ByteWriter& fill(size_t count, uint8_t value = 0) {
        bytes_.insert(bytes_.end(), count, value);
        return *this;
    }
    // A TIFF header: byte-order mark, 42 and the offset of IFD0.
    ByteWriter& header(uint32_t ifd0) { return text(big_ ? "MM" : "II").u16(42).u32(ifd0); }
    // One 12-byte directory entry.
    ByteWriter& entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t valofs) {
        return u16(tag).u16(type).u32(count).u32(valofs);
    }
    // Rewrites a 32-bit field written before.
    void patch32(size_t at, uint32_t value) { storeNumber(bytes_, at, value, 4, big_); }

    size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

private:
    bool big_;
    Bytes bytes_;
};

}  // namespace bytes
