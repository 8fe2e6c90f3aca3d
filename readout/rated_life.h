#pragma once
// What the releases a maker rates a body's shutter for mean for the count a
// file holds, in words for people.
#include <string>

#include "readout.h"

namespace frametally {

// The count's share of the releases the maker rates the body's mechanical
// shutter for, "23% of the 200,000 releases Nikon rates this shutter for":
// - against the mechanical releases where the file records them, beside its
//   count or as its count, rounded to the nearest percent ("less than 1%"
//   for a share that would round to none);
// - for a count that includes electronic-shutter exposures and no mechanical
//   count beside it, the share is an upper bound (the mechanical releases are
//   some of those exposures), rounded up so that it stays one: "at most 24%";
// - "" for an image count (it may start again, so it bounds nothing), for a
//   file without a count and for a body without a published rating.
// A rating is a test figure, not a lifetime promise, so the words never speak
// of wear.
std::string ratedLifeText(const Inspection& inspection);

}  // namespace frametally
