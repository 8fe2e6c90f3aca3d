#include "interrupt.h"

#include <csignal>

namespace frametally::cli {

namespace {
volatile std::sig_atomic_t requested = 0;

extern "C" void onInterrupt(int) { requested = 1; }
}  // namespace

void watchForInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the handler is used once; a second Ctrl-C ends the program.
    action.sa_flags = static_cast<int>(SA_RESTART | SA_RESETHAND);
    sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() { return requested != 0; }

}  // namespace frametally::cli
