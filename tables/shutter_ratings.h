#pragma once
// The releases makers rate their bodies' mechanical shutters for, where a
// figure is published: tables/shutter_ratings.tsv, made into a C++ table at
// build time. A body without a published figure has no row, and nothing is
// claimed about it.
#include <cstdint>
#include <span>
#include <string_view>

#include <tiffwalker/export.h>
#include <tiffwalker/reading_outcome.h>

namespace tiffwalker {

struct ShutterRating {
    Maker maker;
    std::string_view model;  // exactly as the body writes its EXIF Model entry
    std::uint32_t releases;
    std::string_view rated;       // what is rated, "mechanical shutter"
    std::string_view source;      // the address where the figure was read
    std::string_view sourceKind;  // "maker" (its own page, release, manual) or "press"
    std::string_view readOn;      // the date the figure was read, YYYY-MM-DD
};

// Every row of the table, in its order.
TIFFWALKER_API std::span<const ShutterRating> shutterRatings();

// The row of this maker's body whose model is the EXIF Model text given, after
// the spaces and NUL bytes that pad it on either side are trimmed; nullptr
// without one. Models match whole and exactly: "ILCE-7M3" is not "ILCE-7M3A",
// and "NIKON D5" is not "NIKON D500".
TIFFWALKER_API const ShutterRating* shutterRating(Maker maker, std::string_view model);

}  // namespace tiffwalker
