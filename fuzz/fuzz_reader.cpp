// libFuzzer target: any bytes, read as an image file from start to end (file
// type, containers, directory walk, value extraction, display texts) with
// every switch off: by the original operation, and by a reading context as
// every front end reads (every file type, through its container). One input
// in four (chosen by a hash of its bytes, so that a finding reproduces) is
// read again with every switch on, by one of the two in turn, so that the
// trace listing and the problem reports run too. A listed reading costs about
// twice a quiet one, so listing every input would cut the rate at which the
// reading itself is explored by two thirds.
//
// Beyond the sanitizers it checks four things of every reading: the record
// list is empty afterwards, the switches change what is written but never
// the result, a batch's reading (texts only for the tags it shows) gives the
// full reading's result and error, and a file in one of the original layouts
// reads the same both ways (but for the counts of other makers than Nikon).
// Every maker's maker-note parser and every container are reached through the
// reading contexts (seeds of each in make_seeds.cpp).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "file_details.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

namespace {

// Swallows the engine's output, while still letting every insertion format.
class DiscardBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The engine reads from a path: the input goes to an in-memory file that the
// engine opens through /proc/self/fd.
struct InputFile {
    int fd = -1;
    std::string path;
};

const InputFile& inputFile() {
    static const InputFile file = [] {
        InputFile made;
        made.fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
        if (made.fd < 0) std::abort();
        made.path = "/proc/self/fd/" + std::to_string(made.fd);
        return made;
    }();
    return file;
}

void writeInput(const uint8_t* data, size_t size) {
    const InputFile& file = inputFile();
    if (::ftruncate(file.fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(file.fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
}

struct Outcome {
    std::string result;
    bool raised = false;
    std::string message;
    size_t recordsLeft = 0;
    tiffwalker::Maker maker = tiffwalker::Maker::Unknown;  // a reading context's
};

Outcome readInput(bool allSwitchesOn) {
    using namespace tiffwalker;
    resetOptions();
    if (allSwitchesOn) {
        for (int option = 0; option < kOptionCount; ++option) setOption(option, true);
    }
    Outcome outcome;
    try {
        outcome.result = getImageShutterCount(inputFile().path.c_str());
    } catch (CTiffwalkerException* error) {
        outcome.raised = true;
        outcome.message = error->message();
        error->Delete();
    }
    outcome.recordsLeft = recordCount();
    resetOptions();
    return outcome;
}

// The input read by a reading context: every text, as a batch reads (texts
// made only for the tags the inspection layer shows), or with every switch on.
enum class ContextReading { EveryText, Batch, Listed };

Outcome readInputInContext(ContextReading kind) {
    static DiscardBuffer discard;
    static std::ostream output(&discard);
    const auto made = [](ContextReading reading) {
        auto context = std::make_unique<tiffwalker::ReadingContext>();
        context->setOutput(output);
        if (reading == ContextReading::Batch) context->setWantedTags(frametally::detailTags());
        if (reading == ContextReading::Listed) {
            for (int option = 0; option < tiffwalker::kOptionCount; ++option) context->setOption(option, true);
        }
        return context;
    };
    static const std::unique_ptr<tiffwalker::ReadingContext> contexts[] = {
        made(ContextReading::EveryText), made(ContextReading::Batch), made(ContextReading::Listed)};
    const tiffwalker::ReadingOutcome read = contexts[static_cast<int>(kind)]->read(inputFile().path.c_str());
    Outcome outcome;
    outcome.result = read.result;
    outcome.raised = read.status == tiffwalker::ReadingStatus::Error;
    outcome.message = read.message;
    outcome.maker = read.maker;
    return outcome;
}

// A TIFF header at 0, or a JPEG whose EXIF segment the original detection
// reads (first, or after APP0 with "Exif" at 24): both readings read it alike.
bool hasOriginalLayout(const uint8_t* data, size_t size) {
    if (size >= 4 && ((data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0) ||
                      (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42))) {
        return true;
    }
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return false;
    if (data[3] == 0xE1) return size >= 6 + 5 && std::memcmp(data + 6, "Exif\0", 5) == 0;
    if (data[3] == 0xE0) return size >= 24 + 5 && std::memcmp(data + 24, "Exif\0", 5) == 0;
    return false;
}

bool same(const Outcome& a, const Outcome& b) {
    return a.raised == b.raised && a.result == b.result && a.message == b.message;
}

// The original operations' reading and a context's: the same, but for the
// words of a JPEG whose EXIF segment holds no valid TIFF header, which a
// context says without naming a maker.
bool sameAsOriginal(const Outcome& original, const Outcome& context) {
    if (original.raised && context.raised && original.message == "File type is not Nikon JPG") {
        return context.message == "The EXIF segment holds no valid TIFF header" && original.result == context.result;
    }
    return same(original, context);
}

// FNV-1a of the input.
uint32_t hashOf(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static DiscardBuffer discard;
    static std::ostream output(&discard);
    tiffwalker::setEngineOutput(output);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    const Outcome quiet = readInput(false);
    if (quiet.recordsLeft != 0) __builtin_trap();
    const Outcome full = readInputInContext(ContextReading::EveryText);
    if (!same(full, readInputInContext(ContextReading::Batch))) __builtin_trap();
    // The two readings' ways part only for the files the original detection
    // does not read (other JPEG layouts, HEIF, CR3, RAF), and in the results
    // of other makers' files, which only the reading context reads.
    const bool nikonOrUnknown = full.maker == tiffwalker::Maker::Nikon || full.maker == tiffwalker::Maker::Unknown;
    if (hasOriginalLayout(data, size) && (quiet.raised || nikonOrUnknown) && !sameAsOriginal(quiet, full)) {
        __builtin_trap();
    }
    const uint32_t hash = hashOf(data, size);
    if (hash % 4 != 0) return 0;
    if (hash % 8 == 0) {
        const Outcome listed = readInput(true);
        if (listed.recordsLeft != 0 || !same(quiet, listed)) __builtin_trap();
    } else if (!same(full, readInputInContext(ContextReading::Listed))) {
        __builtin_trap();
    }
    return 0;
}
