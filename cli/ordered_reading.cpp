#include "ordered_reading.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace frametally::cli {

OrderedReading::OrderedReading(const std::vector<std::string>& paths, OrderedReadingOptions options)
    : paths_(paths),
      options_(std::move(options)),
      window_(std::max<size_t>(1, options_.filesAheadPerThread) * std::max(1u, options_.threads)),
      waiting_(window_),
      finished_(window_, 0) {}

size_t OrderedReading::run() {
    // No more threads than files: one file is read on the calling thread alone.
    const unsigned threads =
        static_cast<unsigned>(std::min<size_t>(std::max(1u, options_.threads), std::max<size_t>(1, paths_.size())));
    std::vector<std::unique_ptr<FileReader>> readers;
    for (unsigned i = 0; i < threads; ++i) readers.push_back(options_.makeReader());
    {
        // The calling thread reads too; the others join it.
        std::vector<std::jthread> helpers;
        for (unsigned i = 1; i < threads; ++i) helpers.emplace_back([this, &readers, i] { work(*readers[i]); });
        work(*readers[0]);
    }
    return delivered_;
}

void OrderedReading::work(FileReader& reader) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopped_ || started_ >= paths_.size()) break;
        if (started_ >= delivered_ + window_) {
            room_.wait(lock);
            continue;
        }
        if (options_.keepGoing && !options_.keepGoing()) {
            stopped_ = true;
            room_.notify_all();
            break;
        }
        const size_t index = started_++;
        lock.unlock();
        ReadFile file = reader.read(paths_[index]);
        lock.lock();
        waiting_[index % window_] = std::move(file);
        finished_[index % window_] = 1;
        deliverDue();
    }
}

void OrderedReading::deliverDue() {
    bool delivered = false;
    while (delivered_ < started_ && finished_[delivered_ % window_] != 0) {
        const size_t slot = delivered_ % window_;
        options_.deliver(waiting_[slot]);
        waiting_[slot] = ReadFile();
        finished_[slot] = 0;
        ++delivered_;
        delivered = true;
    }
    if (delivered) room_.notify_all();
}

}  // namespace frametally::cli
