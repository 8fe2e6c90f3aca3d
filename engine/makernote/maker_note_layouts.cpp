#include "maker_note_layouts.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tiffwalker::makernote {

namespace {

using namespace std::string_view_literals;

struct MakeRow {
    std::string_view makeStart;  // the Make text begins with it, in any case
    Maker maker;
};

// Nikon's row is kept apart: its Make is compared exactly, case included, as
// the walk has always compared it.
constexpr std::string_view kNikonMake = "NIKON CORPORATION";

constexpr MakeRow kMakes[] = {
    {"SONY", Maker::Sony},
    {"PENTAX", Maker::Pentax},  // "PENTAX Corporation", "PENTAX"
    {"ASAHI OPTICAL", Maker::Pentax},
    {"Canon", Maker::Canon},
    {"FUJIFILM", Maker::Fujifilm},
    {"FUJI PHOTO FILM", Maker::Fujifilm},  // the older bodies' Make: "FUJI PHOTO FILM CO., LTD."
    {"OLYMPUS", Maker::Olympus},
    {"OM Digital", Maker::Olympus},
    {"Panasonic", Maker::Panasonic},
    {"LEICA", Maker::Leica},
    {"SAMSUNG", Maker::Samsung},
    {"Apple", Maker::Phone},
    {"Google", Maker::Phone},
    {"HUAWEI", Maker::Phone},
    {"Xiaomi", Maker::Phone},
    {"OnePlus", Maker::Phone},
    {"motorola", Maker::Phone},
    {"OPPO", Maker::Phone},
    {"HMD Global", Maker::Phone},
};

constexpr std::string_view kRicohMake = "RICOH";

constexpr MakerNoteLayout kLayouts[] = {
    {Maker::Nikon, "Nikon type 3", "Nikon\0"sv, kNikonEmbeddedHeaderAt, false, OffsetBase::EmbeddedTiffHeader,
     OrderRule::EmbeddedHeader, false},
    // The walk has always entered the embedded header at that place whatever
    // bytes come before it, and its records and listing stay as they were:
    // the header there, valid or not, decides.
    {Maker::Nikon, "Nikon, unmarked", ""sv, kNikonEmbeddedHeaderAt, false, OffsetBase::EmbeddedTiffHeader,
     OrderRule::EmbeddedHeader, false},
    {Maker::Sony, "Sony", "SONY DSC \0\0\0"sv, 12, false, OffsetBase::FileTiffHeader, OrderRule::File, false},
    // Files derived from ARW and SR2 raw files: the directory right away.
    {Maker::Sony, "Sony without header", ""sv, 0, false, OffsetBase::FileTiffHeader, OrderRule::File, false},
    {Maker::Pentax, "Pentax AOC", "AOC\0"sv, 6, false, OffsetBase::FileTiffHeader, OrderRule::FromDirectory, false},
    {Maker::Pentax, "Pentax", "PENTAX \0"sv, 10, false, OffsetBase::MakerNoteStart, OrderRule::FromDirectory, false},
    {Maker::Pentax, "Ricoh", "RICOH\0"sv, 8, false, OffsetBase::MakerNoteStart, OrderRule::FromDirectory, false},
    {Maker::Canon, "Canon", ""sv, 0, false, OffsetBase::FileTiffHeader, OrderRule::File, true},
    {Maker::Fujifilm, "Fujifilm", "FUJIFILM"sv, 0, true, OffsetBase::MakerNoteStart, OrderRule::LittleEndian, false},
};

bool startsWithAnyCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    return std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

Maker makerOf(std::string_view make, std::string_view model) {
    if (make.starts_with(kNikonMake)) return Maker::Nikon;
    // Ricoh made the Pentax bodies from 2011 on, and named them in Model.
    if (startsWithAnyCase(make, kRicohMake)) {
        return startsWithAnyCase(model, "PENTAX") ? Maker::Pentax : Maker::Unknown;
    }
    for (const MakeRow& row : kMakes) {
        if (startsWithAnyCase(make, row.makeStart)) return row.maker;
    }
    return Maker::Unknown;
}

ReadingCause unknownMakerCause(std::string_view make) {
    return make.empty() || make.starts_with("NIKON") ? ReadingCause::MakeNotNikon : ReadingCause::UnknownMaker;
}

std::string_view withoutPadding(std::string_view text) {
    constexpr std::string_view kPadding("\0 ", 2);
    const size_t end = text.find_last_not_of(kPadding);
    text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
    const size_t start = text.find_first_not_of(kPadding);
    return text.substr(start == std::string_view::npos ? text.size() : start);
}

const MakerNoteLayout* layoutFor(Maker maker, const unsigned char* head, size_t n) {
    // Rows with a header come before their maker's row without one, which
    // takes every maker note that none of them fits.
    for (const MakerNoteLayout& layout : kLayouts) {
        if (layout.maker != maker) continue;
        const std::string_view header = layout.header;
        if (header.empty()) return &layout;  // head may be null then
        if (header.size() <= n && std::memcmp(head, header.data(), header.size()) == 0) return &layout;
    }
    return nullptr;
}

}  // namespace tiffwalker::makernote
