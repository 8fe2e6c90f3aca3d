// A program of someone else's that reads shutter counts with the installed engine.
// Beside each file's result it checks what crosses the library's edge only
// when the library really exports it: a class of the library's made and
// called from here (the bytes held in memory), the engine-wide operations'
// text held inside the library, and an error the library raises, caught here
// by its type.
#include <tiffwalker/tiffwalker.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

bool raisedErrorIsCaught() {
    try {
        tiffwalker::throwTiffwalkerException("raised inside the library");
    } catch (tiffwalker::CTiffwalkerException* error) {
        const bool same = error->message() == "raised inside the library";
        error->Delete();
        return same;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!raisedErrorIsCaught()) {
        std::cerr << "consumer: the library's error came without its message\n";
        return 1;
    }
    tiffwalker::ReadingContext context;
    for (int i = 1; i < argc; ++i) {
        const std::string fromDisk = context.read(argv[i]).result;
        std::ifstream file(argv[i], std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        tiffwalker::MemorySource memory(bytes.data(), bytes.size());
        const std::string fromMemory = context.read(memory, argv[i]).result;
        const std::string contextFree = tiffwalker::getImageShutterCount(argv[i]);
        if (fromMemory != fromDisk || contextFree != fromDisk) {
            std::cerr << "consumer: " << argv[i] << " read '" << fromDisk << "' from disk, '" << fromMemory
                      << "' from memory, '" << contextFree << "' by the engine-wide operation\n";
            return 1;
        }
        std::cout << fromDisk << "\n";
    }
    return 0;
}
