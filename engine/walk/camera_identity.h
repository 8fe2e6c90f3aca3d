#pragma once
// Which camera a file is from: decided once per reading, by the maker-note
// registry, as the walk reads the first Make and Model entries.
#include "walk/reading_state.h"

namespace tiffwalker {

// Called by the walk for each Make and Model record: the camera and its maker
// in the reading's state, for the walk and the count alike.
void identifyCamera(ReadingState& state, const CTagRecord& record);

}  // namespace tiffwalker
