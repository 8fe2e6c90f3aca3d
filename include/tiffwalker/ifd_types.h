#pragma once
// The kind of directory a record came from, carried by every record
// (CTagRecord::iIFDType).
#include <cstdint>

namespace tiffwalker {

enum IfdType : int32_t {
    kIfdSpecial = 0,  // the reader's own records
    kIfd0 = 1,
    kSubIfd0 = 2,
    kSubIfd1 = 3,
    kSubIfd2 = 4,
    kSubIfd3 = 5,
    kIfdExif = 6,
    kIfdGps = 7,
    kThumbIfd = 8,
    kMakerNotes = 9,
    // Sub-image directories beyond the fourth continue from here, so that
    // none of them is taken for EXIF, GPS, thumbnail or maker notes.
    kSubIfd4 = 10,
};

}  // namespace tiffwalker
