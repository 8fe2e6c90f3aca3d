// Readings of a cached file, over and over: a NEF and a JPEG file with as many
// entries as real camera files have, read on one thread and on one thread per
// processor, each thread with a context of its own. Reported as readings per
// second of all threads together (items_per_second). Two kinds of reading:
// the engine's with every record's texts (Reading), and what tiffwalker does
// for each file of a batch, an inspection with the texts it shows (Inspection).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include <tiffwalker/tiffwalker.h>
#include "readout.h"
#include "synthetic_files.h"

namespace {

class CachedFile {
public:
    explicit CachedFile(bool jpeg) {
        std::string pattern = (std::filesystem::temp_directory_path() / "frametally-bench-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) ::close(fd);
        path_ = pattern;
        synthetic::CameraFile camera;
        camera.fullEntrySet = true;
        camera.serialNumber = "6435634";
        camera.shutterCount = 12345;
        camera.imageBytes = 256 * 1024;
        synthetic::writeFile(path_, jpeg ? synthetic::makeJpeg(camera, false) : synthetic::makeNef(camera));
    }
    ~CachedFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// One file of each kind for the whole run, shared by the threads.
const std::string& cachedPath(bool jpeg) {
    static const CachedFile nef(false);
    static const CachedFile jpegFile(true);
    return (jpeg ? jpegFile : nef).path();
}

void readRepeatedly(benchmark::State& state, bool jpeg) {
    const std::string& path = cachedPath(jpeg);
    std::ostringstream quiet;
    tiffwalker::ReadingContext context;
    context.setOutput(quiet);
    tiffwalker::RecordList records;
    for (auto _ : state) {
        const tiffwalker::ReadingOutcome outcome = context.read(path.c_str(), &records);
        benchmark::DoNotOptimize(outcome.result.data());
    }
    if (context.read(path.c_str()).result != "12345") state.SkipWithError("wrong count");
    state.SetItemsProcessed(state.iterations());
}

void inspectRepeatedly(benchmark::State& state, bool jpeg) {
    const std::string& path = cachedPath(jpeg);
    std::ostringstream quiet;
    frametally::Inspector inspector;
    inspector.context().setOutput(quiet);
    for (auto _ : state) {
        const frametally::Inspection inspection = inspector.inspect(path);
        benchmark::DoNotOptimize(inspection.result.data());
    }
    if (inspector.inspect(path).details.serialNumber != "6435634") state.SkipWithError("wrong serial number");
    state.SetItemsProcessed(state.iterations());
}

void BM_ReadingNef(benchmark::State& state) { readRepeatedly(state, false); }
void BM_ReadingJpeg(benchmark::State& state) { readRepeatedly(state, true); }
void BM_InspectionNef(benchmark::State& state) { inspectRepeatedly(state, false); }
void BM_InspectionJpeg(benchmark::State& state) { inspectRepeatedly(state, true); }

int processors() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

}  // namespace

// Wall time, so that N threads report what they read together in a second.
BENCHMARK(BM_ReadingNef)->Threads(1)->Threads(processors())->UseRealTime();
BENCHMARK(BM_ReadingJpeg)->Threads(1)->Threads(processors())->UseRealTime();
BENCHMARK(BM_InspectionNef)->Threads(1)->Threads(processors())->UseRealTime();
BENCHMARK(BM_InspectionJpeg)->Threads(1)->Threads(processors())->UseRealTime();
BENCHMARK_MAIN();
