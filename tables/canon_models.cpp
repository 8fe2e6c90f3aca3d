#include "canon_models.h"

#include <algorithm>
#include <cctype>

namespace tiffwalker {

namespace {

constexpr CanonModel kModels[] = {
    {"EOS-1D", CanonPlace::FileInfo, 2, 2, 0, false},
    {"EOS-1DS", CanonPlace::FileInfo, 2, 2, 0, false},
    {"EOS-1D Mark II", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1Ds Mark II", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1D Mark II N", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1D Mark III", CanonPlace::CameraInfo, 0x176, 0x176, 1, false},
    {"EOS-1Ds Mark III", CanonPlace::CameraInfo, 0x176, 0x176, 1, false},
    {"EOS R5", CanonPlace::CameraInfo, 0xaf1, 0xaf1, 0, true},
    {"EOS R6", CanonPlace::CameraInfo, 0xaf1, 0xaf1, 0, true},
    {"EOS R6 Mark II", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R6m2", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R8", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R50", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"PowerShot G5 X Mark II", CanonPlace::CameraInfo, 0x293, 0xa95, 0, true},
};

bool sameAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const CanonModel* canonModelOf(std::string_view model) {
    // Model reads "Canon EOS R5"; the maker's name before it is optional here.
    if (model.size() >= 6 && sameAnyCase(model.substr(0, 6), "Canon ")) model.remove_prefix(6);
    for (const CanonModel& row : kModels) {
        if (sameAnyCase(row.model, model)) return &row;
    }
    return nullptr;
}

}  // namespace tiffwalker
