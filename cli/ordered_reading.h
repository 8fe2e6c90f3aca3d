#pragma once
// Reads a list of files on several threads and hands each file on in the
// order of the list, so that what a run prints does not depend on which
// thread read which file, or when.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "file_outcome.h"

namespace frametally::cli {

// One file as the run hands it on: what its inspection shows, and what the
// engine wrote while reading it, when that was held back until the file's
// turn came.
struct ReadFile {
    FileOutcome outcome;
    std::string engineText;
};

// Reads one file at a time. Each thread has a reader of its own, so a reader
// keeps whatever it likes (a reading context, buffers) between files.
class FileReader {
public:
    virtual ~FileReader() = default;
    virtual ReadFile read(const std::string& path) = 0;
};

struct OrderedReadingOptions {
    unsigned threads = 1;  // 1: every file is read on the calling thread
    // How many files each thread may have read or be reading beyond the next
    // one due: more keeps the threads busy past a slow file, fewer bounds the
    // memory that finished files take while they wait (with --trace, a whole
    // listing each).
    size_t filesAheadPerThread = 4;
    // Makes the reader of one thread; called on the calling thread.
    std::function<std::unique_ptr<FileReader>()> makeReader;
    // Asked before each file is started; false stops the run: no further file
    // is started, and the files being read are still handed on.
    std::function<bool()> keepGoing;
    // Gets every file, in list order, one call at a time (from whichever
    // thread finished the file that was due).
    std::function<void(const ReadFile&)> deliver;
};

class OrderedReading {
public:
    OrderedReading(const std::vector<std::string>& paths, OrderedReadingOptions options);
    OrderedReading(const OrderedReading&) = delete;
    OrderedReading& operator=(const OrderedReading&) = delete;

    // Reads until every file is handed on or the run is stopped; returns how
    // many files were handed on (the first ones of the list).
    size_t run();

private:
    void work(FileReader& reader);
    // Hands on the files that are due; the caller holds the lock.
    void deliverDue();

    const std::vector<std::string>& paths_;
    OrderedReadingOptions options_;
    // Finished files waiting for those before them: a ring of window_ slots,
    // file i in slot i % window_. No file is started window_ files or more
    // ahead of the next one due.
    size_t window_;
    std::vector<ReadFile> waiting_;
    std::vector<char> finished_;
    std::mutex mutex_;
    std::condition_variable room_;
    size_t started_ = 0;
    size_t delivered_ = 0;
    bool stopped_ = false;
};

// The processors this process may run on: the default number of threads.
unsigned availableProcessors();

}  // namespace frametally::cli
