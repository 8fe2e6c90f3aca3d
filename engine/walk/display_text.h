#pragma once
// Display texts: what a person wants to read for a value text, chosen by the
// record's tag alone (code tables, number formats, the lens description).
#include <cstdint>
#include <string>

namespace tiffwalker {

// The display text of valueText for an entry of this tag. For the Lens tag
// it is the lens description, which also goes to lensText; lensText is left
// alone for every other tag.
std::string displayTextFor(uint16_t tag, const std::string& valueText, std::string& lensText);

// text ended n characters after its first point (n = 0 drops the point too).
std::string cutAfterPoint(const std::string& text, int n);
// 0 when the digit after the first point is 0, else 2.
int getFocalCut(const std::string& text);
// The lens description ("18-70 mm f/3.5-4.5") of a Lens value text.
std::string lensDescription(const std::string& valueText);

}  // namespace tiffwalker
