#include "engine_state.h"

#include <iostream>

namespace tiffwalker {

namespace {
std::ostream* outputStream = &std::cout;
}

EngineState& engineState() {
    static EngineState state;
    return state;
}

bool isOptionOn(int option) { return option >= 0 && option < kOptionCount && engineState().options[option] != 0; }

void setOption(int option, bool on) {
    if (option >= 0 && option < kOptionCount) engineState().options[option] = on ? 1 : 0;
}

void resetOptions() {
    for (auto& option : engineState().options) option = 0;
}

bool isTraceOn() { return isOptionOn(kTraceSwitch); }

std::ostream& engineOutput() { return *outputStream; }
void setEngineOutput(std::ostream& stream) { outputStream = &stream; }

}  // namespace tiffwalker
