// Empties the page cache of the files named, so that the next reader of each
// must fetch it from the disk again: a cold start for one file list without
// dropping the caches of the whole machine (which needs privileges and
// disturbs everything else running).
//
//   drop_page_cache [--check] FILE...      or      drop_page_cache [--check] --from LIST
//
// Pages not yet written back cannot be dropped, so each file is synced first.
// With --check, reports how many of the files' pages are still cached
// afterwards (a file system that ignores the advice shows up there).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "file_list.h"

namespace {

// The pages of the open file that are in the page cache.
size_t cachedPages(int fd, size_t& pages) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0) return 0;
    const auto length = static_cast<size_t>(info.st_size);
    void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) return 0;
    const size_t pageSize = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const size_t count = (length + pageSize - 1) / pageSize;
    std::vector<unsigned char> resident(count);
    size_t cached = 0;
    if (::mincore(map, length, resident.data()) == 0) {
        for (const unsigned char page : resident) cached += page & 1;
    }
    ::munmap(map, length);
    pages += count;
    return cached;
}

}  // namespace

int main(int argc, char** argv) {
    bool check = false;
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        check = true;
        --argc;
        ++argv;
        argv[0] = argv[-1];
    }
    std::vector<std::string> paths;
    if (!bench::collectPaths(argc, argv, paths) || paths.empty()) {
        std::fprintf(stderr, "usage: drop_page_cache [--check] FILE... | drop_page_cache [--check] --from LIST\n");
        return 2;
    }
    size_t failed = 0;
    size_t pages = 0;
    size_t stillCached = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ++failed;
            continue;
        }
        ::fdatasync(fd);
        if (::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) ++failed;
        if (check) stillCached += cachedPages(fd, pages);
        ::close(fd);
    }
    if (check) std::printf("%zu of %zu pages still cached\n", stillCached, pages);
    if (failed != 0) std::fprintf(stderr, "drop_page_cache: %zu files could not be dropped\n", failed);
    return failed == 0 ? 0 : 1;
}
