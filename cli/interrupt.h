#pragma once
// Ctrl-C during a run: the first asks the run to stop after the file it is
// reading, so that what was read so far is still printed; a second one ends
// the program at once, as usual.
namespace frametally::cli {

void watchForInterrupt();
bool interruptRequested();

// The exit status of a run stopped by Ctrl-C, as shells report it.
inline constexpr int kInterruptedExitCode = 130;

}  // namespace frametally::cli
