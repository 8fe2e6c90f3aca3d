#include "shutter_ratings.h"

namespace tiffwalker {

const ShutterRating* shutterRating(Maker maker, std::string_view model) {
    constexpr std::string_view padding(" \0", 2);
    const size_t first = model.find_first_not_of(padding);
    if (first == std::string_view::npos) return nullptr;
    model = model.substr(first, model.find_last_not_of(padding) - first + 1);
    for (const ShutterRating& rating : shutterRatings()) {
        if (rating.maker == maker && rating.model == model) return &rating;
    }
    return nullptr;
}

}  // namespace tiffwalker
