// libFuzzer target: any bytes, read as an image file from start to end (file
// type, directory walk, value extraction, display texts) with every switch
// off, as the application reads; and one input in four (chosen by a hash of
// its bytes, so that a finding reproduces) read again with every switch on,
// so that the trace listing and the problem reports run too. A listed reading
// costs about twice a quiet one, so listing every input would cut the rate
// at which the reading itself is explored by two thirds.
//
// Beyond the sanitizers it checks four things of every reading: the record
// list is empty afterwards, the switches change what is written but never
// the result, a batch's reading (texts only for the tags it shows) gives the
// full reading's result and error, and the reading of every maker's count
// gives the Nikon-only reading's result for Nikon files and files of makers
// it does not know. Every maker's maker-note parser is reached through the
// reading contexts (seeds of each maker in make_seeds.cpp).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <string>

#include "file_details.h"
#include "reader.h"
#include "tiffwalker.h"

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

// The input read in a reading context, which reads every maker's count: as a
// batch reads it (texts made only for the tags the inspection layer shows),
// or with every text. The two must agree.
Outcome readInputInContext(bool asBatch, tiffwalker::Maker* maker = nullptr) {
    static tiffwalker::ReadingContext batch;
    static tiffwalker::ReadingContext full;
    static DiscardBuffer discard;
    static std::ostream output(&discard);
    static const bool ready = [] {
        batch.setWantedTags(frametally::detailTags());
        batch.setOutput(output);
        full.setOutput(output);
        return true;
    }();
    (void)ready;
    const tiffwalker::ReadingOutcome read = (asBatch ? batch : full).read(inputFile().path.c_str());
    Outcome outcome;
    outcome.result = read.result;
    outcome.raised = read.status == tiffwalker::ReadingStatus::Error;
    outcome.message = read.message;
    if (maker != nullptr) *maker = read.maker;
    return outcome;
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
    tiffwalker::Maker maker = tiffwalker::Maker::Unknown;
    const Outcome everyMaker = readInputInContext(false, &maker);
    const Outcome batch = readInputInContext(true);
    if (everyMaker.raised != batch.raised || everyMaker.result != batch.result || everyMaker.message != batch.message) {
        __builtin_trap();
    }
    if (quiet.raised != everyMaker.raised || quiet.message != everyMaker.message) __builtin_trap();
    const bool nikonOrUnknown = maker == tiffwalker::Maker::Nikon || maker == tiffwalker::Maker::Unknown;
    if (nikonOrUnknown && quiet.result != everyMaker.result) __builtin_trap();
    if (hashOf(data, size) % 4 != 0) return 0;
    const Outcome listed = readInput(true);
    if (listed.recordsLeft != 0) __builtin_trap();
    if (quiet.raised != listed.raised || quiet.result != listed.result || quiet.message != listed.message) {
        __builtin_trap();
    }
    return 0;
}
