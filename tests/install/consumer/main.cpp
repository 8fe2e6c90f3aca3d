// A program of someone else's that reads shutter counts with the installed engine.
#include <tiffwalker/tiffwalker.h>

#include <iostream>

int main(int argc, char** argv) {
    tiffwalker::ReadingContext context;
    for (int i = 1; i < argc; ++i) std::cout << context.read(argv[i]).result << "\n";
    return 0;
}
