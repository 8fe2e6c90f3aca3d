// Writes the bundled sample: a small synthetic NEF file of a Nikon D70 whose
// maker notes record the shutter count 4242. With --no-count, a JPEG file of
// the same camera as an editing program leaves it: without maker notes, so
// without a count, its Software entry naming the program.
#include <cstring>
#include <iostream>

#include "synthetic_files.h"

int main(int argc, char** argv) {
    const bool noCount = argc == 3 && std::strcmp(argv[1], "--no-count") == 0;
    if (argc != 2 && !noCount) {
        std::cerr << "usage: make_sample [--no-count] OUTPUT\n";
        return 2;
    }
    const char* output = argv[argc - 1];
    synthetic::CameraFile camera;
    camera.shutterCount = 4242;
    camera.serialNumber = "2012345";
    camera.imageBytes = 4096;
    if (noCount) {
        camera.withMakerNote = false;
        camera.software = "Adobe Photoshop CS6 (Windows)";
    }
    const synthetic::Bytes bytes = noCount ? synthetic::makeJpeg(camera, false) : synthetic::makeNef(camera);
    if (!synthetic::writeFile(output, bytes)) {
        std::cerr << "make_sample: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
