// Writes the bundled sample: a small synthetic NEF file of a Nikon D70 whose
// maker notes record the shutter count 4242.
#include <iostream>

#include "synthetic_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sample OUTPUT.NEF\n";
        return 2;
    }
    synthetic::CameraFile camera;
    camera.shutterCount = 4242;
    camera.imageBytes = 4096;
    if (!synthetic::writeFile(argv[1], synthetic::makeNef(camera))) {
        std::cerr << "make_sample: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
