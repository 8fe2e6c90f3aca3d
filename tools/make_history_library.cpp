// Writes a photo library whose bodies' histories are known in advance:
//
//   make_history_library OUTPUT_FOLDER                 the test library (every kind of anomaly)
//   make_history_library OUTPUT_FOLDER FILES BODIES    FILES NEFs over BODIES bodies in steady use
#include <cstdlib>
#include <iostream>

#include "synthetic_library.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::cerr << "usage: make_history_library OUTPUT_FOLDER [FILES BODIES]\n";
        return 2;
    }
    const auto library =
        argc == 2 ? synthetic::historyLibrary()
                  : synthetic::steadyLibrary(std::strtoul(argv[2], nullptr, 10), std::strtoul(argv[3], nullptr, 10));
    if (!synthetic::writeLibrary(argv[1], library)) {
        std::cerr << "make_history_library: cannot write below " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
