// The floor under any reader of file metadata: for each file, open it, read
// its first 64 KiB and close it, nothing else. A reader that takes about this
// long spends its time waiting for the system, not in its own work.
//
//   io_floor FILE...      or      io_floor --from LIST
//
// Prints how many files it read and how many bytes; exit status 1 when a
// file could not be opened or read.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "file_list.h"

int main(int argc, char** argv) {
    std::vector<std::string> paths;
    if (!bench::collectPaths(argc, argv, paths) || paths.empty()) {
        std::fprintf(stderr, "usage: io_floor FILE... | io_floor --from LIST\n");
        return 2;
    }
    static unsigned char head[64 * 1024];
    unsigned long long bytes = 0;
    size_t failed = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ++failed;
            continue;
        }
        ssize_t got;
        do {
            got = ::read(fd, head, sizeof head);
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            ++failed;
        } else {
            bytes += static_cast<unsigned long long>(got);
        }
        ::close(fd);
    }
    std::printf("%zu files, %llu bytes read\n", paths.size() - failed, bytes);
    return failed == 0 ? 0 : 1;
}
