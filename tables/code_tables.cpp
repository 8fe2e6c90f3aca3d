#include "code_tables.h"

namespace tiffwalker {

namespace {

// clang-format off
constexpr CodeRow kCompressionRows[] = {
    {"1", "Uncompressed"},
    {"2", "CCITT 1D"},
    {"3", "T4/Group 3 Fax"},
    {"4", "T6/Group 4 Fax"},
    {"5", "LZW"},
    {"6", "JPEG (old-style)"},
    {"7", "JPEG"},
    {"8", "Adobe Deflate"},
    {"9", "JBIG B&W"},
    {"10", "JBIG Color"},
    {"32766", "Next"},
    {"32771", "CCIRLEW"},
    {"32773", "PackBits"},
    {"32809", "Thunderscan"},
    {"32895", "IT8CTPAD"},
    {"32896", "IT8LW"},
    {"32897", "IT8MP"},
    {"32898", "IT8BL"},
    {"32908", "PixarFilm"},
    {"32909", "PixarLog"},
    {"32946", "Deflate"},
    {"32947", "DCS"},
    {"34661", "JBIG"},
    {"34676", "SGILog"},
    {"34677", "SGILog24"},
    {"34712", "JPEG 2000"},
    {"34713", "Nikon NEF Compressed"},
};
// clang-format on

// There is no row for 7.
// clang-format off
constexpr CodeRow kPhotometricRows[] = {
    {"0", "WhiteIsZero"},
    {"1", "BlackIsZero"},
    {"2", "RGB"},
    {"3", "RGB Palette"},
    {"4", "Transparency Mask"},
    {"5", "CMYK"},
    {"6", "YCbCr"},
    {"8", "CIELab"},
    {"9", "ICCLab"},
    {"10", "ITULab"},
    {"32803", "Color Filter Array"},
    {"32844", "Pixar LogL"},
    {"32845", "Pixar LogLuv"},
    {"34892", "Linear Raw"},
};
// clang-format on

// clang-format off
constexpr CodeRow kOrientationRows[] = {
    {"1", "Horizontal (normal)"},
    {"2", "Mirrored horizontal"},
    {"3", "Rotated 180"},
    {"4", "Mirrored vertical"},
    {"5", "Mirrored horizontal then rotated 90 CCW"},
    {"6", "Rotated 90 CW"},
    {"7", "Mirrored horizontal then rotated 90 CW"},
    {"8", "Rotated 90 CCW"},
};
// clang-format on

// clang-format off
constexpr CodeRow kPlanarConfigurationRows[] = {
    {"1", "Chunky"},
    {"2", "Planar"},
};
// clang-format on

// clang-format off
constexpr CodeRow kResolutionUnitRows[] = {
    {"1", "None"},
    {"2", "inches"},
    {"3", "cm"},
};
// clang-format on

// clang-format off
constexpr CodeRow kYCbCrPositioningRows[] = {
    {"1", "Centered"},
    {"2", "Co-sited"},
};
// clang-format on

// 0 has no row and shows as unknown.
// clang-format off
constexpr CodeRow kExposureProgramRows[] = {
    {"1", "Manual"},
    {"2", "Program AE"},
    {"3", "Aperture-priority AE"},
    {"4", "Shutter speed priority AE"},
    {"5", "Creative (Slow speed)"},
    {"6", "Action (High speed)"},
    {"7", "Portrait"},
    {"8", "Landscape"},
};
// clang-format on

// Only three modes have words; 1 (average) and 255 (other) show as unknown.
// clang-format off
constexpr CodeRow kMeteringModeRows[] = {
    {"2", "Center-weighted average"},
    {"3", "Spot"},
    {"5", "Multi-segment"},
};
// clang-format on

// clang-format off
constexpr CodeRow kLightSourceRows[] = {
    {"1", "Daylight"},
    {"2", "Fluorescent"},
    {"3", "Tungsten"},
    {"4", "Flash"},
    {"9", "Fine Weather"},
    {"10", "Cloudy"},
    {"11", "Shade"},
    {"12", "Daylight Fluorescent"},
    {"13", "Day White Fluorescent"},
    {"14", "Cool White Fluorescent"},
    {"15", "White Fluorescent"},
    {"17", "Standard Light A"},
    {"18", "Standard Light B"},
    {"19", "Standard Light C"},
    {"20", "D55"},
    {"21", "D65"},
    {"22", "D75"},
    {"23", "D50"},
    {"24", "ISO Studio Tungsten"},
    {"255", "Other"},
};
// clang-format on

// The whole flash value is the key; its bits are not decoded one by one, so a
// combination without a row (such as 88) shows as unknown. "Fired" twice in 71
// is the text this system has always shown.
// clang-format off
constexpr CodeRow kFlashRows[] = {
    {"0", "No Flash"},
    {"1", "Fired"},
    {"5", "Fired, Return not detected"},
    {"7", "Fired, Return detected"},
    {"9", "On"},
    {"13", "On, Return not detected"},
    {"15", "On, Return detected"},
    {"16", "Off"},
    {"24", "Auto, Did not fire"},
    {"25", "Auto, Fired"},
    {"29", "Auto, Fired, Return not detected"},
    {"31", "Auto, Fired, Return detected"},
    {"32", "No flash function"},
    {"65", "Fired, Red-eye reduction"},
    {"69", "Fired, Red-eye reduction, Return not detected"},
    {"71", "Fired, Fired, Red-eye reduction, Return detected"},
    {"73", "On, Red-eye reduction"},
    {"77", "On, Red-eye reduction, Return not detected"},
    {"79", "On, Red-eye reduction, Return detected"},
    {"89", "Auto, Fired, Red-eye reduction"},
    {"93", "Auto, Fired, Red-eye reduction, Return not detected"},
    {"95", "Auto, Fired, Red-eye reduction, Return detected"},
};
// clang-format on

// clang-format off
constexpr CodeRow kSensingMethodRows[] = {
    {"1", "Not defined"},
    {"2", "One-chip color area"},
    {"3", "Two-chip color area"},
    {"4", "Three-chip color area"},
    {"5", "Color sequential area"},
    {"7", "Trilinear"},
    {"8", "Color sequential linear"},
};
// clang-format on

// clang-format off
constexpr CodeRow kColorSpaceRows[] = {
    {"1", "sRGB"},
    {"2", "Adobe RGB"},
    {"65535", "Uncalibrated"},
};
// clang-format on

// Key: the first byte in hex.
// clang-format off
constexpr CodeRow kFileSourceRows[] = {
    {"3", "Digital Camera"},
};
// clang-format on

// Key: the first byte in hex.
// clang-format off
constexpr CodeRow kSceneTypeRows[] = {
    {"1", "Directly photographed"},
};
// clang-format on

// clang-format off
constexpr CodeRow kCustomRenderedRows[] = {
    {"0", "Normal"},
    {"1", "Custom"},
};
// clang-format on

// clang-format off
constexpr CodeRow kExposureModeRows[] = {
    {"0", "Auto"},
    {"1", "Manual"},
    {"2", "Auto bracket"},
};
// clang-format on

// clang-format off
constexpr CodeRow kWhiteBalanceRows[] = {
    {"0", "Auto"},
    {"1", "Manual"},
};
// clang-format on

// clang-format off
constexpr CodeRow kSceneCaptureTypeRows[] = {
    {"0", "Standard"},
    {"1", "Landscape"},
    {"2", "Portrait"},
    {"3", "Night"},
};
// clang-format on

// clang-format off
constexpr CodeRow kGainControlRows[] = {
    {"0", "None"},
    {"1", "Low gain up"},
    {"2", "High gain up"},
    {"3", "Low gain down"},
    {"4", "High gain down"},
};
// clang-format on

// 0 has no row and shows as unknown.
// clang-format off
constexpr CodeRow kSubjectDistanceRangeRows[] = {
    {"1", "Macro"},
    {"2", "Close"},
    {"3", "Distant"},
};
// clang-format on

// clang-format off
constexpr CodeRow kLensTypeRows[] = {
    {"0", "Manual Focus"},
    {"2", "D"},
    {"6", "G"},
    {"e", "G-VR"},
    {"a", "D-VR"},
};
// clang-format on

// clang-format off
constexpr CodeRow kFlashModeRows[] = {
    {"0", "Did Not Fire"},
    {"8", "Fired, Commander Mode"},
    {"9", "Fired, TTL Mode"},
};
// clang-format on

// The first five rows name a point only. In the others the top byte is the area
// mode (0 single, 1 dynamic, 2 closest subject), the next byte the point
// (0 center, 1 top, 2 bottom, 3 left, 4 right) and the low 16 bits the same
// point as one bit; the text is still matched whole, so no other combination
// is recognised.
// clang-format off
constexpr CodeRow kAFPointRows[] = {
    {"0x0000000", "Center"},
    {"0x0000100", "Top"},
    {"0x0000200", "Bottom"},
    {"0x0000300", "Left"},
    {"0x0000400", "Right"},
    {"0x0000001", "Single Area, Center"},
    {"0x0010002", "Single Area, Top"},
    {"0x0020004", "Single Area, Bottom"},
    {"0x0030008", "Single Area, Left"},
    {"0x0040010", "Single Area, Right"},
    {"0x1000001", "Dynamic Area, Center"},
    {"0x1010002", "Dynamic Area, Top"},
    {"0x1020004", "Dynamic Area, Bottom"},
    {"0x1030008", "Dynamic Area, Left"},
    {"0x1040010", "Dynamic Area, Right"},
    {"0x2000001", "Closest Subject, Center"},
    {"0x2010002", "Closest Subject, Top"},
    {"0x2020004", "Closest Subject, Bottom"},
    {"0x2030008", "Closest Subject, Left"},
    {"0x2040010", "Closest Subject, Right"},
};
// clang-format on

}  // namespace

constinit const CodeTable kCompressionCodes{kCompressionRows};
constinit const CodeTable kPhotometricCodes{kPhotometricRows};
constinit const CodeTable kOrientationCodes{kOrientationRows};
constinit const CodeTable kPlanarConfigurationCodes{kPlanarConfigurationRows};
constinit const CodeTable kResolutionUnitCodes{kResolutionUnitRows};
constinit const CodeTable kYCbCrPositioningCodes{kYCbCrPositioningRows};
constinit const CodeTable kExposureProgramCodes{kExposureProgramRows};
constinit const CodeTable kMeteringModeCodes{kMeteringModeRows};
constinit const CodeTable kLightSourceCodes{kLightSourceRows};
constinit const CodeTable kFlashCodes{kFlashRows};
constinit const CodeTable kSensingMethodCodes{kSensingMethodRows};
constinit const CodeTable kColorSpaceCodes{kColorSpaceRows};
constinit const CodeTable kFileSourceCodes{kFileSourceRows};
constinit const CodeTable kSceneTypeCodes{kSceneTypeRows};
constinit const CodeTable kCustomRenderedCodes{kCustomRenderedRows};
constinit const CodeTable kExposureModeCodes{kExposureModeRows};
constinit const CodeTable kWhiteBalanceCodes{kWhiteBalanceRows};
constinit const CodeTable kSceneCaptureTypeCodes{kSceneCaptureTypeRows};
constinit const CodeTable kGainControlCodes{kGainControlRows};
constinit const CodeTable kSubjectDistanceRangeCodes{kSubjectDistanceRangeRows};
constinit const CodeTable kLensTypeCodes{kLensTypeRows};
constinit const CodeTable kFlashModeCodes{kFlashModeRows};
constinit const CodeTable kAFPointCodes{kAFPointRows};

const char* findCodeText(CodeTable table, std::string_view valueText) {
    for (const CodeRow& row : table) {
        if (valueText == row.key) return row.text;
    }
    return nullptr;
}

}  // namespace tiffwalker
