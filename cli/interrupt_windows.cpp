// Ctrl-C on Windows: the console calls the handler on a thread of its own. The
// first Ctrl-C (or Ctrl-Break) is taken and asks the run to stop; the handler
// then lets the next one through to the system, which ends the program.
#include <atomic>

#include "interrupt.h"
#include "windows_text.h"

namespace frametally::cli {

namespace {
std::atomic<bool> requested{false};

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    return requested.exchange(true) ? FALSE : TRUE;
}
}  // namespace

void watchForInterrupt() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

bool interruptRequested() { return requested.load(); }

}  // namespace frametally::cli
