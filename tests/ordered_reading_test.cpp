// Files read on several threads are handed on in list order, each once.
#include "ordered_reading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace frametally::cli;

namespace {

// Takes longer over earlier files, so that later ones finish first.
class SlowReader : public FileReader {
public:
    ReadFile read(const std::string& path) override {
        std::this_thread::sleep_for(std::chrono::microseconds(200 * (20 - std::stoi(path) % 20)));
        ReadFile file;
        file.outcome.path = path;
        return file;
    }
};

std::vector<std::string> numbered(int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i) paths.push_back(std::to_string(i));
    return paths;
}

}  // namespace

TEST(OrderedReading, HandsOnInListOrderWhateverTheThreads) {
    const auto paths = numbered(60);
    for (unsigned threads : {1u, 3u}) {
        std::vector<std::string> delivered;
        OrderedReadingOptions options;
        options.threads = threads;
        options.filesAheadPerThread = 2;
        options.makeReader = [] { return std::make_unique<SlowReader>(); };
        options.keepGoing = [] { return true; };
        options.deliver = [&](const ReadFile& file) { delivered.push_back(file.outcome.path); };
        EXPECT_EQ(OrderedReading(paths, std::move(options)).run(), 60u);
        EXPECT_EQ(delivered, paths) << threads << " threads";
    }
}

TEST(OrderedReading, StoppingHandsOnTheFirstFilesOnly) {
    const auto paths = numbered(60);
    std::vector<std::string> delivered;
    std::atomic<bool> going{true};
    OrderedReadingOptions options;
    options.threads = 2;
    options.makeReader = [] { return std::make_unique<SlowReader>(); };
    options.keepGoing = [&] { return going.load(); };
    options.deliver = [&](const ReadFile& file) {
        delivered.push_back(file.outcome.path);
        if (delivered.size() == 10) going = false;
    };
    const size_t handed = OrderedReading(paths, std::move(options)).run();
    EXPECT_EQ(handed, delivered.size());
    EXPECT_GE(handed, 10u);
    EXPECT_LT(handed, 60u);
    EXPECT_EQ(delivered, std::vector<std::string>(paths.begin(), paths.begin() + static_cast<long>(handed)));
}
