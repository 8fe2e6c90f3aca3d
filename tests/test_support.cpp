#include "test_support.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include <tiffwalker/tiffwalker.h>
#include "test_support_system.h"

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() : path_(makeUniqueFolder()) {}

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

DecimalCommaLocale::DecimalCommaLocale() : active_(useCommaLocale()) {}
DecimalCommaLocale::~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, "C"); }

CapturedOutput::CapturedOutput() { tiffwalker::setEngineOutput(stream_); }
CapturedOutput::~CapturedOutput() { tiffwalker::setEngineOutput(std::cout); }

CleanOptions::CleanOptions() { tiffwalker::resetOptions(); }
CleanOptions::~CleanOptions() { tiffwalker::resetOptions(); }

fs::path corpusDir() {
    const fs::path dir = FRAMETALLY_CORPUS_DIR;
    std::error_code error;
    return fs::is_directory(dir, error) ? fs::canonical(dir, error) : fs::path();
}

Bytes readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
