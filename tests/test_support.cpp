#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tiffwalker.h"

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "frametally-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const {
    const fs::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

CapturedOutput::CapturedOutput() { tiffwalker::setEngineOutput(stream_); }
CapturedOutput::~CapturedOutput() { tiffwalker::setEngineOutput(std::cout); }

CleanOptions::CleanOptions() { tiffwalker::resetOptions(); }
CleanOptions::~CleanOptions() { tiffwalker::resetOptions(); }

fs::path corpusDir() {
    const fs::path dir = FRAMETALLY_CORPUS_DIR;
    std::error_code error;
    return fs::is_directory(dir, error) ? fs::canonical(dir, error) : fs::path();
}

CommandResult runTiffwalker(const std::vector<std::string>& arguments) {
    CommandResult result;
    TempDir scratch;
    const std::string outPath = (scratch.path() / "out").string();
    const std::string errPath = (scratch.path() / "err").string();
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        std::string program = FRAMETALLY_TIFFWALKER_BIN;
        argv.push_back(program.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen(errPath.c_str(), "w", stderr)) _exit(127);
        ::execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const Bytes out = readBytes(outPath);
    const Bytes err = readBytes(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
}

Bytes readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
