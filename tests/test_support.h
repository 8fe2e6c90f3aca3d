#pragma once
// Shared helpers for the engine tests: temporary files, capturing what the
// engine writes, the shared corpus, and running the command-line tool.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// Whether this build runs under AddressSanitizer, and whether it is optimised:
// time and memory bounds mean something only in an optimised build without it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

#ifdef NDEBUG
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

using Bytes = std::vector<uint8_t>;

// Writes numbers in a chosen byte order, for byte fixtures that show each
// field as it stands in the file.
class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian) : big_(bigEndian) {}
    ByteWriter& u8(uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    ByteWriter& u16(uint32_t value) { return put(value, 2); }
    ByteWriter& u32(uint32_t value) { return put(value, 4); }
    ByteWriter& raw(std::initializer_list<uint8_t> values) {
        bytes_.insert(bytes_.end(), values);
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
    ByteWriter& header(uint32_t ifd0) {
        text(big_ ? "MM" : "II");
        u16(42);
        return u32(ifd0);
    }
    // One 12-byte directory entry.
    ByteWriter& entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t valofs) {
        return u16(tag).u16(type).u32(count).u32(valofs);
    }
    size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }

private:
    ByteWriter& put(uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = big_ ? 8 * (size - 1 - i) : 8 * i;
            bytes_.push_back(static_cast<uint8_t>(value >> shift));
        }
        return *this;
    }
    bool big_;
    Bytes bytes_;
};

// A directory removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to a file in the directory and returns its path.
    std::string write(const std::string& name, const Bytes& bytes) const;

private:
    std::filesystem::path path_;
};

// Sends everything the engine writes to a string while it lives.
class CapturedOutput {
public:
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
    std::string text() const { return stream_.str(); }

private:
    std::ostringstream stream_;
};

// Resets the engine's switches on construction and destruction.
struct CleanOptions {
    CleanOptions();
    ~CleanOptions();
};

// The shared corpus directory, or an empty path when it is not there.
std::filesystem::path corpusDir();

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
// Runs the tiffwalker binary with the given arguments (no shell involved).
CommandResult runTiffwalker(const std::vector<std::string>& arguments);

// The bytes of a file; empty when it cannot be read.
Bytes readBytes(const std::filesystem::path& path);

}  // namespace testing_support
