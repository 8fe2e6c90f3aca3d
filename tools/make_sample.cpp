// Writes the bundled sample: a small synthetic NEF file of a Nikon D70 whose
// maker notes record the shutter count 4242. With --no-count, a JPEG file of
// the same camera as an editing program leaves it: without maker notes, so
// without a count, its Software entry naming the program. With --two-counts,
// a NEF file of a Nikon D850, whose maker notes record every release (46490)
// and the mechanical releases among them (31234).
#include <cstring>
#include <iostream>

#include "synthetic_files.h"

int main(int argc, char** argv) {
    const bool noCount = argc == 3 && std::strcmp(argv[1], "--no-count") == 0;
    const bool twoCounts = argc == 3 && std::strcmp(argv[1], "--two-counts") == 0;
    if (argc != 2 && !noCount && !twoCounts) {
        std::cerr << "usage: make_sample [--no-count | --two-counts] OUTPUT\n";
        return 2;
    }
    const char* output = argv[argc - 1];
    synthetic::CameraFile camera;
    camera.shutterCount = 4242;
    camera.serialNumber = "2012345";
    camera.imageBytes = 4096;
    if (twoCounts) {
        camera.model = "NIKON D850";
        camera.shutterCount = 46490;
        camera.mechanicalCount = 31234;
        camera.serialNumber = "3001234";
    }
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
