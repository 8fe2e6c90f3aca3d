#pragma once
// The maker-note registry, the one place that decides whose maker notes a file
// holds: the maker and its count reader from the Make entry (and, for
// Ricoh-made Pentax bodies, the Model), and the maker note's layout from its
// maker and its first bytes. A layout says where
// the maker note's directory starts, where its offsets count from and how its
// byte order is found.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <tiffwalker/reading_outcome.h>

namespace tiffwalker::makernote {

struct CountReader;

// The maker a Make entry names; Model decides between Ricoh's own bodies and
// the Pentax bodies that Ricoh made. Both texts without their padding.
Maker makerOf(std::string_view make, std::string_view model);

// The count reader of a maker that records counts; null for the others.
const CountReader* countReaderFor(Maker maker);

// Why a file whose Make names no maker with a count reader has no count:
// MakeNotNikon for an empty Make or one that begins "NIKON" without being
// Nikon's own (the Coolpix bodies), UnknownMaker for every other.
ReadingCause unknownMakerCause(std::string_view make);

// The text without the NULs and spaces that pad it at either end.
std::string_view withoutPadding(std::string_view text);

// Nikon's maker note: "Nikon\0", two version bytes, two zero bytes, then a TIFF
// header of its own at this distance from the maker note's start.
inline constexpr uint32_t kNikonEmbeddedHeaderAt = 10;

// Where a maker note's offsets count from.
enum class OffsetBase {
    FileTiffHeader,      // the TIFF header of the structure that holds the maker note
    MakerNoteStart,      // the maker note's first byte
    EmbeddedTiffHeader,  // a TIFF header inside the maker note
};

// How a maker note's byte order is found.
enum class OrderRule {
    File,            // that of the structure that holds it
    EmbeddedHeader,  // the mark of its own TIFF header
    FromDirectory,   // its directory read both ways (Pentax's mark is often wrong)
    LittleEndian,    // always
};

struct MakerNoteLayout {
    Maker maker;
    const char* name;
    std::string_view header;  // the bytes the maker note begins with; empty: no header
    // The directory's distance from the maker note's start; for an embedded
    // TIFF header, the header's distance (the directory is where it says).
    uint32_t directoryAt;
    // The directory's distance is instead a 32-bit little-endian number stored
    // right after the header (Fujifilm).
    bool directoryAtStored;
    OffsetBase base;
    OrderRule order;
    // Its last 8 bytes may say where an editing program moved it from (Canon).
    bool mayHaveFooter;
};

// The layout of a maker note of this maker that begins with these bytes (n of
// them at hand); null when no layout of the maker fits.
const MakerNoteLayout* layoutFor(Maker maker, const unsigned char* head, size_t n);

// The longest header of any layout: the bytes layoutFor may look at.
inline constexpr size_t kLongestHeader = 12;

}  // namespace tiffwalker::makernote
