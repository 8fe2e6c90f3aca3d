// Ctrl-C as the system delivers it: the first one asks the run to stop (the
// handler is the platform's: a signal handler on POSIX, a console control
// handler on Windows), and the program goes on to print what it has read.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "interrupt.h"

#ifdef _WIN32
#include "windows_text.h"
#else
#include <csignal>
#endif

namespace {

// Sends the process the Ctrl-C its terminal would.
bool pressCtrlC() {
#ifdef _WIN32
    // Console control events need a console of the process's own.
    FreeConsole();
    AllocConsole();
    return GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != 0;
#else
    return std::raise(SIGINT) == 0;
#endif
}

}  // namespace

TEST(Interrupt, TheFirstCtrlCAsksTheRunToStopAndDoesNotEndIt) {
    frametally::cli::watchForInterrupt();
    EXPECT_FALSE(frametally::cli::interruptRequested());
    ASSERT_TRUE(pressCtrlC());
    // Windows calls the handler on a thread of its own.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!frametally::cli::interruptRequested() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(frametally::cli::interruptRequested());
}
