#pragma once
// Code tables of the display texts: for each interpreted tag, the value texts
// it knows and the words shown for them. A row matches only a value text equal
// to its key byte for byte, so '3 ' or '03' match nothing.
#include <span>
#include <string_view>

namespace tiffwalker {

struct CodeRow {
    const char* key;
    const char* text;
};

using CodeTable = std::span<const CodeRow>;

// The text of the first row whose key equals valueText, or nullptr.
const char* findCodeText(CodeTable table, std::string_view valueText);

// TIFF, TIFF/EP and EXIF tags; keys are decimal numerals.
extern const CodeTable kCompressionCodes;           // 0x0103
extern const CodeTable kPhotometricCodes;           // 0x0106
extern const CodeTable kOrientationCodes;           // 0x0112
extern const CodeTable kPlanarConfigurationCodes;   // 0x011c
extern const CodeTable kResolutionUnitCodes;        // 0x0128
extern const CodeTable kYCbCrPositioningCodes;      // 0x0213
extern const CodeTable kExposureProgramCodes;       // 0x8822
extern const CodeTable kMeteringModeCodes;          // 0x9207
extern const CodeTable kLightSourceCodes;           // 0x9208
extern const CodeTable kFlashCodes;                 // 0x9209
extern const CodeTable kSensingMethodCodes;         // 0x9217 and 0xa217
extern const CodeTable kColorSpaceCodes;            // 0xa001
extern const CodeTable kFileSourceCodes;            // 0xa300
extern const CodeTable kSceneTypeCodes;             // 0xa301
extern const CodeTable kCustomRenderedCodes;        // 0xa401
extern const CodeTable kExposureModeCodes;          // 0xa402
extern const CodeTable kWhiteBalanceCodes;          // 0xa403
extern const CodeTable kSceneCaptureTypeCodes;      // 0xa406
extern const CodeTable kGainControlCodes;           // 0xa407
extern const CodeTable kSubjectDistanceRangeCodes;  // 0xa40c

// Nikon maker-note tags.
extern const CodeTable kLensTypeCodes;   // 0x0083, the byte in lower-case hex
extern const CodeTable kFlashModeCodes;  // 0x0087
extern const CodeTable kAFPointCodes;    // 0x0088, "0x" and at least 7 hex digits

}  // namespace tiffwalker
