#include "walk/camera_identity.h"

#include <tiffwalker/tag_numbers.h>

#include "makernote/maker_note_layouts.h"

namespace tiffwalker {

using makernote::withoutPadding;

void identifyCamera(ReadingState& state, const CTagRecord& record) {
    // The first Make and the first Model entry name the camera.
    bool& seen = record.ifde.tag == tags::kMake ? state.makeSeen : state.modelSeen;
    if (seen) return;
    seen = true;
    (record.ifde.tag == tags::kMake ? state.makeText : state.modelText) = withoutPadding(record.displayStringData);
    state.maker = makernote::makerOf(state.makeText, state.modelText);
}

}  // namespace tiffwalker
