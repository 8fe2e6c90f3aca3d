// windows.h (through windows_text.h) before the headers that build on it.
#include "windows_text.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <thread>

#include "host_system.h"
#include "ordered_reading.h"

namespace frametally::cli {

namespace {

HANDLE handleOf(StandardStream stream) {
    return GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

bool isTerminal(StandardStream stream) {
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(windows::narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

void prepareStandardStreams() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    if (isTerminal(StandardStream::Output) || isTerminal(StandardStream::Error)) SetConsoleOutputCP(CP_UTF8);
}

unsigned availableProcessors() {
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) != 0 && processMask != 0) {
        return static_cast<unsigned>(std::popcount(static_cast<unsigned long long>(processMask)));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace frametally::cli
