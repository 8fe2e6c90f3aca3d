#pragma once
// Shared helpers for the engine tests: temporary files, capturing what the
// engine writes, the shared corpus, and running the command-line tool.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "byte_writer.h"

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

using bytes::ByteWriter;

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

// Switches the process's numbers to a locale that writes decimal commas, as a
// desktop application in such a locale runs, and back to "C" when it ends.
// Where none is installed, one is compiled with localedef into a folder of the
// test run's own. active() is false when neither works.
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    bool active() const { return active_; }

private:
    bool active_ = false;
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
