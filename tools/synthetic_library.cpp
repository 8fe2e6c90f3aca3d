#include "synthetic_library.h"

#include <cstdio>
#include <filesystem>

namespace synthetic {

namespace {

LibraryFile nef(const std::string& path, const std::string& model, const std::string& serial, uint32_t count,
                const std::string& taken) {
    LibraryFile file;
    file.path = path;
    file.camera.model = model;
    file.camera.serialNumber = serial;
    file.camera.shutterCount = count;
    file.camera.dateTimeOriginal = taken;
    return file;
}

// Days from 1970-01-01 to the date (H. Hinnant's algorithm, reversed), for
// the steady library's dates.
std::string dateOfDay(long days, unsigned secondsInDay) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long y = static_cast<long>(yoe) + era * 400 + (m <= 2);
    char text[96];  // room for any long and unsigned, as the compiler checks
    std::snprintf(text, sizeof text, "%04ld:%02u:%02u %02u:%02u:%02u", y, m, d, secondsInDay / 3600,
                  secondsInDay / 60 % 60, secondsInDay % 60);
    return text;
}

}  // namespace

std::vector<LibraryFile> historyLibrary() {
    std::vector<LibraryFile> files;
    // Steady use, in a folder per month as a card's files are often kept.
    const char* steadyDates[] = {"2025:01:01 10:00:00", "2025:01:31 10:00:00", "2025:03:02 10:00:00",
                                 "2025:04:01 10:00:00", "2025:05:01 10:00:00"};
    for (int i = 0; i < 5; ++i) {
        files.push_back(nef("d850/DSC_" + std::to_string(1000 + i) + ".NEF", "NIKON D850", "7000001",
                            1000 + 3000 * static_cast<uint32_t>(i), steadyDates[i]));
    }
    LibraryFile pair = files.back();
    pair.path = "d850/DSC_1004.JPG";
    pair.jpeg = true;
    files.push_back(pair);

    files.push_back(nef("d750/a.NEF", "NIKON D750", "3000002", 20000, "2025:02:01 12:00:00"));
    files.push_back(nef("d750/b.NEF", "NIKON D750", "3000002", 22000, "2025:03:03 12:00:00"));
    files.push_back(nef("d750/c.NEF", "NIKON D750", "3000002", 300, "2025:04:02 12:00:00"));
    files.push_back(nef("d750/d.NEF", "NIKON D750", "3000002", 2300, "2025:05:02 12:00:00"));

    files.push_back(nef("shared/d7000-1.NEF", "NIKON D7000", "6000003", 500, "2025:01:10 09:00:00"));
    files.push_back(nef("shared/d7000-2.NEF", "NIKON D7000", "6000003", 900, "2025:01:20 09:00:00"));
    files.push_back(nef("shared/d7100.NEF", "NIKON D7100", "6000003", 100, "2025:02:01 09:00:00"));

    files.push_back(nef("z6/1.NEF", "NIKON Z 6", "5000004", 5000, "2025:06:01 10:00:00"));
    files.push_back(nef("z6/2.NEF", "NIKON Z 6", "5000004", 5700, "2025:06:15 10:00:00"));
    files.push_back(nef("z6/3-clock-reset.NEF", "NIKON Z 6", "5000004", 5900, "2019:01:01 00:00:00"));
    files.push_back(nef("z6/4.NEF", "NIKON Z 6", "5000004", 6500, "2025:07:01 10:00:00"));
    files.push_back(nef("z6/5-five-seconds-on.NEF", "NIKON Z 6", "5000004", 7000, "2025:07:01 10:00:05"));

    files.push_back(nef("d70/1.NEF", "NIKON D70", "", 100, "2025:01:01 10:00:00"));
    files.push_back(nef("d70/2.NEF", "NIKON D70", "", 130, "2025:01:02 10:00:00"));
    files.push_back(nef("d70/undated.NEF", "NIKON D70", "", 120, ""));

    LibraryFile noCount = nef("no-count.NEF", "NIKON D850", "7000001", 1, "2025:01:15 10:00:00");
    noCount.camera.withShutterCount = false;
    files.push_back(noCount);
    return files;
}

std::vector<LibraryFile> steadyLibrary(size_t files, size_t bodies) {
    std::vector<LibraryFile> library;
    library.reserve(files);
    if (bodies == 0) return library;
    std::vector<uint32_t> counts(bodies, 1000);
    const long firstDay = 18262;  // 2020-01-01
    for (size_t i = 0; i < files; ++i) {
        const size_t body = i % bodies;
        const size_t picture = i / bodies;
        counts[body] += 1 + static_cast<uint32_t>((i * 7919) % 40);
        char folder[64];
        std::snprintf(folder, sizeof folder, "body%02zu/%03zu", body, picture / 1000);
        library.push_back(nef(std::string(folder) + "/DSC_" + std::to_string(picture % 1000) + ".NEF", "NIKON Z 8",
                              std::to_string(8000000 + body), counts[body],
                              dateOfDay(firstDay + static_cast<long>(picture), 10 * 3600)));
    }
    return library;
}

bool writeLibrary(const std::string& root, const std::vector<LibraryFile>& files) {
    for (const LibraryFile& file : files) {
        const std::filesystem::path path = std::filesystem::path(root) / file.path;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        const Bytes bytes = file.jpeg ? makeJpeg(file.camera, true) : makeNef(file.camera);
        if (!writeFile(path.string(), bytes)) return false;
    }
    return true;
}

}  // namespace synthetic
