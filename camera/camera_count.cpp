#include "camera_count.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace frametally::camera {

using tiffwalker::CountKind;
using tiffwalker::Maker;

namespace {

bool startsWithAnyCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

Maker makerOfManufacturer(std::string_view manufacturer) {
    while (!manufacturer.empty() && manufacturer.front() == ' ') manufacturer.remove_prefix(1);
    const std::pair<std::string_view, Maker> makers[] = {
        {"Canon", Maker::Canon},         {"FUJIFILM", Maker::Fujifilm},  {"FUJI PHOTO", Maker::Fujifilm},
        {"OLYMPUS", Maker::Olympus},     {"OM Digital", Maker::Olympus}, {"Nikon", Maker::Nikon},
        {"Sony", Maker::Sony},           {"PENTAX", Maker::Pentax},      {"RICOH", Maker::Pentax},
        {"Panasonic", Maker::Panasonic}, {"Leica", Maker::Leica},        {"Samsung", Maker::Samsung},
    };
    for (const auto& [prefix, maker] : makers) {
        if (startsWithAnyCase(manufacturer, prefix)) return maker;
    }
    return Maker::Unknown;
}

const char* countEntryOf(Maker maker) {
    switch (maker) {
        case Maker::Canon: return "shuttercounter";
        case Maker::Fujifilm: return "d310";
        case Maker::Olympus: return "d059";
        default: return "";
    }
}

std::optional<std::uint32_t> countOfEntryText(Maker maker, std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    // The generic entries show a 32-bit value as a signed decimal on some
    // builds: read it as 64 bits and keep its 32.
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
    auto raw = static_cast<std::uint32_t>(value);
    if (maker == Maker::Fujifilm && raw > 0xFFFF && (raw & 0xFFFF) == 0) raw >>= 16;
    return raw;
}

CountKind countKindOf(Maker maker) {
    switch (maker) {
        case Maker::Canon: return CountKind::MechanicalReleases;
        // The same count the bodies write in their files, which a firmware
        // update may start again.
        case Maker::Fujifilm: return CountKind::ImageCount;
        // The bodies' own count of releases, electronic-shutter ones included.
        case Maker::Olympus: return CountKind::AllExposures;
        default: return CountKind::None;
    }
}

std::string noCountOverUsbReason(Maker maker, bool recordsInFiles) {
    const std::string none = "This camera gives no count over USB.";
    if (maker == Maker::Canon && !recordsInFiles) {
        return none + " This Canon body records none in its pictures either, so no count can be read from it.";
    }
    if (maker == Maker::Panasonic || maker == Maker::Olympus || maker == Maker::Leica || maker == Maker::Samsung) {
        return none + " Its maker records none in the pictures either.";
    }
    return none + " Take a picture and read its file.";
}

}  // namespace frametally::camera
