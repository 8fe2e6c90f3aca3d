// One reading of a cached file, over and over: getImageShutterCount on a NEF
// and a JPEG file with as many entries as real camera files have, reported
// in files per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "synthetic_files.h"
#include "reader.h"
#include "tiffwalker.h"

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

void readRepeatedly(benchmark::State& state, bool jpeg) {
    const CachedFile file(jpeg);
    std::ostringstream quiet;
    tiffwalker::setEngineOutput(quiet);
    for (auto _ : state) {
        const std::string& result = tiffwalker::getImageShutterCount(file.path().c_str());
        benchmark::DoNotOptimize(result.data());
    }
    if (tiffwalker::getImageShutterCount(file.path().c_str()) != "12345") state.SkipWithError("wrong count");
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_GetImageShutterCountNef(benchmark::State& state) { readRepeatedly(state, false); }
void BM_GetImageShutterCountJpeg(benchmark::State& state) { readRepeatedly(state, true); }

}  // namespace

BENCHMARK(BM_GetImageShutterCountNef);
BENCHMARK(BM_GetImageShutterCountJpeg);
BENCHMARK_MAIN();
