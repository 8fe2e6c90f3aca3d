#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "host_system.h"
#include "ordered_reading.h"

namespace frametally::cli {

bool isTerminal(StandardStream stream) {
    return ::isatty(stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

void prepareStandardStreams() {}

unsigned availableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return static_cast<unsigned>(CPU_COUNT(&set));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace frametally::cli
