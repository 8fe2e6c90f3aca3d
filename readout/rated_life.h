#pragma once
// What the releases a maker rates a body's shutter for mean for the count a
// file holds, in words for people.
#include <string>

#include "readout.h"

namespace frametally {

// "23% of the 200,000 releases Nikon rates this shutter for", set against the
// mechanical releases the file records; "" where no rating is known or the
// count is not one of mechanical releases. A rating is a test figure, not a
// lifetime promise, so the words never speak of wear.
std::string ratedLifeText(const Inspection& inspection);

}  // namespace frametally
