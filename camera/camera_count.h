#pragma once
// What a camera's answers over PTP mean: whose camera it is, which of its
// properties holds the count, how that property's value becomes the count, and
// what to tell its owner when it gives none. Free of libgphoto2, so that it is
// the same whatever the connection.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <tiffwalker/reading_outcome.h>

namespace frametally::camera {

// The maker, from the Manufacturer text of the camera's DeviceInfo
// ("Canon Inc.", "FUJIFILM", "OLYMPUS", "OM Digital Solutions", ...).
tiffwalker::Maker makerOfManufacturer(std::string_view manufacturer);

// The configuration entry that holds a maker's count: "shuttercounter" (Canon
// EOS, property 0xD1AC, sent in the event stream), "d310" (Fujifilm's total
// shots, read raw), "d059" (Olympus and OM System); "" for makers whose bodies
// give none over PTP.
const char* countEntryOf(tiffwalker::Maker maker);

// The count a maker's entry text stands for; empty when the text is no count.
// Fujifilm's raw value holds the count in its upper 16 bits on most bodies
// (their lower 16 bits are then zero) and the count itself on others.
std::optional<std::uint32_t> countOfEntryText(tiffwalker::Maker maker, std::string_view text);

// What the count read from a maker's camera counts.
tiffwalker::CountKind countKindOf(tiffwalker::Maker maker);

// Why a camera gave no count, in words for its owner: where to look instead.
// recordsInFiles: whether this body records a count in its pictures.
std::string noCountOverUsbReason(tiffwalker::Maker maker, bool recordsInFiles);

}  // namespace frametally::camera
