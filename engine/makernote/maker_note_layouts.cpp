#include "makernote/maker_note_layouts.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "makernote/canon_count.h"
#include "makernote/fujifilm_count.h"
#include "makernote/nikon_count.h"
#include "makernote/pentax_count.h"
#include "makernote/sony_count.h"

namespace tiffwalker::makernote {

namespace {

using namespace std::string_view_literals;

// One row per Make beginning: the maker it names and that maker's count
// reader (none for the makers that record no count).
struct MakeRow {
    std::string_view makeStart;  // the Make text begins with it
    Maker maker;
    const CountReader& (*reader)();
    // Nikon's Make is compared with its case, as the walk has always compared it.
    bool anyCase = true;
};

constexpr MakeRow kMakes[] = {
    {"NIKON CORPORATION", Maker::Nikon, nikonCountReader, false},
    {"SONY", Maker::Sony, sonyCountReader},
    {"PENTAX", Maker::Pentax, pentaxCountReader},  // "PENTAX Corporation", "PENTAX"
    {"ASAHI OPTICAL", Maker::Pentax, pentaxCountReader},
    {"Canon", Maker::Canon, canonCountReader},
    {"FUJIFILM", Maker::Fujifilm, fujifilmCountReader},
    {"FUJI PHOTO FILM", Maker::Fujifilm, fujifilmCountReader},  // older bodies: "FUJI PHOTO FILM CO., LTD."
    {"OLYMPUS", Maker::Olympus, nullptr},
    {"OM Digital", Maker::Olympus, nullptr},
    {"Panasonic", Maker::Panasonic, nullptr},
    {"LEICA", Maker::Leica, nullptr},
    {"SAMSUNG", Maker::Samsung, nullptr},
    {"Apple", Maker::Phone, nullptr},
    {"Google", Maker::Phone, nullptr},
    {"HUAWEI", Maker::Phone, nullptr},
    {"Xiaomi", Maker::Phone, nullptr},
    {"OnePlus", Maker::Phone, nullptr},
    {"motorola", Maker::Phone, nullptr},
    {"OPPO", Maker::Phone, nullptr},
    {"HMD Global", Maker::Phone, nullptr},
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
    // Ricoh made the Pentax bodies from 2011 on, and named them in Model.
    if (startsWithAnyCase(make, kRicohMake)) {
        return startsWithAnyCase(model, "PENTAX") ? Maker::Pentax : Maker::Unknown;
    }
    for (const MakeRow& row : kMakes) {
        if (row.anyCase ? startsWithAnyCase(make, row.makeStart) : make.starts_with(row.makeStart)) return row.maker;
    }
    return Maker::Unknown;
}

const CountReader* countReaderFor(Maker maker) {
    for (const MakeRow& row : kMakes) {
        if (row.maker == maker) return row.reader != nullptr ? &row.reader() : nullptr;
    }
    return nullptr;
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
