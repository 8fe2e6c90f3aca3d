#include "name_tables.h"

#include <cstddef>
#include <string_view>

namespace tiffwalker {

// The one text every name lookup answers when no row has the number. It is
// deliberately shorter than the padded "Unknown" rows of the tag labels, so a
// listing shows whether a tag is known by number but unnamed, or not known.
const char kUnknownName[] = "Unknown";

namespace {

constexpr std::size_t kTagLabelWidth = 27;
constexpr std::size_t kIfdTypeNameWidth = 12;

struct NameRow {
    uint16_t key;
    const char* name;
};

struct TypeRow {
    uint16_t type;
    int32_t size;
    const char* name;
};

// Tag labels, padded so that a listing lines up in a column. Tags are labelled
// by number alone: the maker-note numbers below 0x00fe are also GPS and
// interoperability tags, but the reader never walks those directories.
// clang-format off
constexpr NameRow kTagLabels[] = {
    {0x0001, "FileSystemVersion          "},
    {0x0002, "ISOUsed                    "},
    {0x0003, "ColorMode                  "},
    {0x0004, "Quality                    "},
    {0x0005, "WhiteBalance               "},
    {0x0006, "Sharpening                 "},
    {0x0007, "FocusMode                  "},
    {0x0008, "FlashSetting               "},
    {0x0009, "FlashType                  "},
    {0x000a, "Unknown                    "},
    {0x000b, "WhiteBalanceFine           "},
    {0x000c, "ColorBalance12             "},
    {0x000d, "Unknown                    "},
    {0x000e, "ExposureDifference         "},
    {0x0011, "ThumbnailImageIFDOffset    "},
    {0x0012, "FlashCompensation          "},
    {0x0013, "ISOSet                     "},
    {0x0016, "ImageBoundary              "},
    {0x0017, "Unknown                    "},
    {0x0018, "FlashExposureBracketValue  "},
    {0x0019, "ExposureBracketValue       "},
    {0x001a, "Unknown                    "},
    {0x001b, "Unknown                    "},
    {0x001c, "Unknown                    "},
    {0x001d, "SerialNumber29             "},
    {0x001e, "Unknown                    "},
    {0x0081, "ToneCompensation           "},
    {0x0083, "LensType                   "},
    {0x0084, "Lens                       "},
    {0x0087, "FlashMode                  "},
    {0x0088, "AFPoint                    "},
    {0x0089, "ShootingMode               "},
    {0x008a, "Unknown                    "},
    {0x008b, "LensFStops                 "},
    {0x008c, "NEFCurve1                  "},
    {0x008d, "ColorHue                   "},
    {0x008e, "Unknown                    "},
    {0x0090, "LightSource                "},
    {0x0091, "Unknown                    "},
    {0x0092, "HueAdjustment              "},
    {0x0093, "Unknown                    "},
    {0x0095, "NoiseReduction             "},
    {0x0096, "NEFCurve2                  "},
    {0x0097, "ColorBalance151            "},
    {0x0098, "LensDataBytes              "},
    {0x0099, "NEFThumbnailSize           "},
    {0x009a, "SensorPixelSize            "},
    {0x00a0, "SerialNumber               "},
    {0x00a1, "Unknown                    "},
    {0x00a2, "ImageDataSize              "},
    {0x00a3, "Unknown                    "},
    {0x00a4, "Unknown                    "},
    {0x00a5, "Unknown                    "},
    {0x00a6, "Unknown                    "},
    {0x00a7, "ShutterCount               "},
    {0x00a8, "Unknown                    "},
    {0x00a9, "ImageOptimization          "},
    {0x00aa, "Saturation                 "},
    {0x00ab, "VariProgram                "},
    {0x00b0, "Unknown                    "},
    {0x00b1, "Unknown                    "},
    {0x0e01, "Unknown                    "},
    {0x0e05, "Unknown                    "},
    {0x0e08, "Unknown                    "},
    {0x0e09, "SoftwareNC                 "},
    {0x0e0e, "NikonCaptureOffsets        "},
    {0x0e10, "Unknown                    "},
    {0x0e19, "Unknown                    "},
    {0x00fe, "NewSubfileType             "},
    {0x0100, "ImageWidth                 "},
    {0x0101, "ImageHeight                "},
    {0x0102, "BitsPerSample              "},
    {0x0103, "Compression                "},
    {0x0106, "PhotometricInterpretation  "},
    {0x010a, "FillOrder                  "},
    {0x010d, "DocumentName               "},
    {0x010e, "ImageDescription           "},
    {0x010f, "Make                       "},
    {0x0110, "Model                      "},
    {0x0111, "StripOffsets               "},
    {0x0112, "Orientation                "},
    {0x0115, "SamplesPerPixel            "},
    {0x0116, "RowsPerStrip               "},
    {0x0117, "StripByteCounts            "},
    {0x011a, "XResolution                "},
    {0x011b, "YResolution                "},
    {0x011c, "PlanarConfiguration        "},
    {0x0128, "ResolutionUnit             "},
    {0x012d, "TransferFunction           "},
    {0x0131, "Software                   "},
    {0x0132, "ModifyDate                 "},
    {0x013b, "Artist                     "},
    {0x013e, "WhitePoint                 "},
    {0x013f, "PrimaryChromaticities      "},
    {0x014a, "SubIFDOffsets              "},
    {0x0156, "TransferRange              "},
    {0x0200, "JPEGProc                   "},
    {0x0201, "ThumbnailOffset            "},
    {0x0202, "ThumbnailLength            "},
    {0x0211, "YCbCrCoefficients          "},
    {0x0212, "YCbCrSubSampling           "},
    {0x0213, "YCbCrPositioning           "},
    {0x0214, "ReferenceBlackWhite        "},
    {0x1001, "RelatedImageWidth          "},
    {0x1002, "RelatedImageLength         "},
    {0x828d, "CFARepeatPatternDim        "},
    {0x828e, "CFAPattern                 "},
    {0x828f, "BatteryLevel               "},
    {0x8298, "Copyright                  "},
    {0x829a, "ExposureTime               "},
    {0x829d, "FNumber                    "},
    {0x83bb, "IPTC/NAA                   "},
    {0x8769, "ExifOffset                 "},
    {0x8773, "InterColorProfile          "},
    {0x8822, "ExposureProgram            "},
    {0x8824, "SpectralSensitivity        "},
    {0x8825, "GPSInfo                    "},
    {0x8827, "ISOSpeedRatings            "},
    {0x8828, "OECF                       "},
    {0x9000, "ExifVersion                "},
    {0x9003, "DateTimeOriginal           "},
    {0x9004, "DateTimeDigitized          "},
    {0x9101, "ComponentsConfiguration    "},
    {0x9102, "CompressedBitsPerPixel     "},
    {0x9201, "ShutterSpeedValue          "},
    {0x9202, "ApertureValue              "},
    {0x9203, "BrightnessValue            "},
    {0x9204, "ExposureBiasValue          "},
    {0x9205, "MaxApertureValue           "},
    {0x9206, "SubjectDistance            "},
    {0x9207, "MeteringMode               "},
    {0x9208, "LightSourceEXIF            "},
    {0x9209, "Flash                      "},
    {0x920a, "FocalLength                "},
    {0x9216, "TIFF_EPStandardId          "},
    {0x9217, "SensingMethod              "},
    {0x927c, "MakerNoteOffset            "},
    {0x9286, "UserComment                "},
    {0x9290, "SubSecTime                 "},
    {0x9291, "SubSecTimeOriginal         "},
    {0x9292, "SubSecTimeDigitized        "},
    {0xa000, "FlashPixVersion            "},
    {0xa001, "ColorSpace                 "},
    {0xa002, "ExifImageWidth             "},
    {0xa003, "ExifImageLength            "},
    {0xa004, "RelatedAudioFile           "},
    {0xa005, "InteroperabilityOffset     "},
    {0xa20b, "FlashEnergy                "},
    {0xa20c, "SpatialFrequencyResponse   "},
    {0xa20e, "FocalPlaneXResolution      "},
    {0xa20f, "FocalPlaneYResolution      "},
    {0xa210, "FocalPlaneResolutionUnit   "},
    {0xa214, "SubjectLocation            "},
    {0xa215, "ExposureIndex              "},
    {0xa217, "SensingMethodEXIF          "},
    {0xa300, "FileSource                 "},
    {0xa301, "SceneType                  "},
    {0xa302, "CFAPatternEXIF             "},
    {0xa401, "CustomRendered             "},
    {0xa402, "ExposureMode               "},
    {0xa403, "WhiteBalanceEXIF           "},
    {0xa404, "DigitalZoomRatio           "},
    {0xa405, "FocalLengthIn35mmFilm      "},
    {0xa406, "SceneCaptureType           "},
    {0xa407, "GainControl                "},
    {0xa408, "Contrast                   "},
    {0xa409, "SaturationEXIF             "},
    {0xa40a, "Sharpness                  "},
    {0xa40c, "SubjectDistanceRange       "},
    {0xa500, "Gamma                      "},
    {0xfff1, "AFAperture                 "},
    {0xfff2, "FocusPosition              "},
    {0xfff3, "MinFocalLength             "},
    {0xfff4, "MaxFocalLength             "},
    {0xfff5, "MaxApertureAtMinFocal      "},
    {0xfff6, "MaxApertureAtMaxFocal      "},
    {0xfff7, "MCUVersion                 "},
    {0xfff8, "EffectiveMaxAperture       "},
    {0xfff9, "LensDataVersion            "},
    {0xfffa, "FocusDistance              "},
    {0xfffb, "LensID                     "},
    {0xfffc, "FileSize                   "},
    {0xfffd, "FileName                   "},
    {0xfffe, "TiffwalkerWProgramVersion  "},
    {0xffff, "Ignored Tag                "},
};
// clang-format on

// Field types with the byte size of one value; the size decides whether a
// value sits in the entry itself or elsewhere in the file.
// clang-format off
constexpr TypeRow kFieldTypes[] = {
    {0, 0, "Unspecified"},
    {1, 1, "8-bit unsigned"},
    {2, 1, "ASCIIZ string"},
    {3, 2, "16-bit unsigned"},
    {4, 4, "32-bit unsigned"},
    {5, 8, "32-bit unsigned rational"},
    {6, 1, "8-bit signed"},
    {7, 1, "8-bit undefined"},
    {8, 2, "16-bit signed"},
    {9, 4, "32-bit signed"},
    {10, 8, "32-bit signed rational"},
    {11, 4, "4-byte IEEE floating point"},
    {12, 8, "8-byte IEEE floating point"},
};
// clang-format on

// clang-format off
constexpr NameRow kCompressionNames[] = {
    {1, "Uncompressed"}, {2, "CCITT1D"}, {3, "Group3Fax"}, {4, "Group4Fax"},
    {5, "LZW"},          {6, "JPEG"},    {0x8005, "PackBits"},
};
// clang-format on

// clang-format off
constexpr NameRow kIfdTypeNames[] = {
    {kIfdSpecial, "SPECIAL     "}, {kIfd0, "IFD0        "},       {kSubIfd0, "SUB_IFD0    "},
    {kSubIfd1, "SUB_IFD1    "},    {kSubIfd2, "SUB_IFD2    "},    {kSubIfd3, "SUB_IFD3    "},
    {kIfdExif, "EXIF        "},    {kIfdGps, "GPS         "},     {kThumbIfd, "THUMB_IFD   "},
    {kMakerNotes, "MAKER_NOTES "},
};
// clang-format on

// There is no photometric interpretation 7.
// clang-format off
constexpr NameRow kPhotometricNames[] = {
    {0, "WhiteIsZero"}, {1, "BlackIsZero"}, {2, "RGB"},   {3, "RGB Palette"},
    {4, "Transparency Mask"}, {5, "CMYK"}, {6, "YCbCr"}, {8, "CIELab"},
};
// clang-format on

// clang-format off
constexpr NameRow kResolutionUnitNames[] = {
    {1, "Undefined"},
    {2, "Inches"},
    {3, "Centimeters"},
};
// clang-format on

// clang-format off
constexpr NameRow kPlanarConfigNames[] = {
    {1, "Chunky"},
    {2, "Planar"},
};
// clang-format on

template <std::size_t N>
constexpr bool allNamesHaveWidth(const NameRow (&rows)[N], std::size_t width) {
    for (const NameRow& row : rows) {
        if (std::string_view(row.name).size() != width) return false;
    }
    return true;
}

static_assert(std::size(kTagLabels) == 185);
static_assert(allNamesHaveWidth(kTagLabels, kTagLabelWidth));
static_assert(allNamesHaveWidth(kIfdTypeNames, kIfdTypeNameWidth));

// The argument is compared whole with the 16-bit key: a number above 0xffff
// must not find the row of its low 16 bits.
template <typename Row, std::size_t N>
const Row* findRow(const Row (&rows)[N], uint32_t key) {
    for (const Row& row : rows) {
        if (uint32_t{row.key} == key) return &row;
    }
    return nullptr;
}

template <std::size_t N>
const char* nameOf(const NameRow (&rows)[N], uint32_t key) {
    const NameRow* row = findRow(rows, key);
    return row != nullptr ? row->name : kUnknownName;
}

const TypeRow* findType(uint32_t type) {
    for (const TypeRow& row : kFieldTypes) {
        if (uint32_t{row.type} == type) return &row;
    }
    return nullptr;
}

}  // namespace

const char* getTagName(uint32_t tag) { return nameOf(kTagLabels, tag); }

const char* getTypeName(uint32_t type) {
    const TypeRow* row = findType(type);
    return row != nullptr ? row->name : kUnknownName;
}

int32_t getTypeSize(uint32_t type) {
    const TypeRow* row = findType(type);
    return row != nullptr ? row->size : 0;
}

const char* getCompressionName(uint32_t value) { return nameOf(kCompressionNames, value); }

const char* getPhotometricName(uint32_t value) { return nameOf(kPhotometricNames, value); }

const char* getResolutionUnitName(uint32_t value) { return nameOf(kResolutionUnitNames, value); }

const char* getPlanarConfigName(uint32_t value) { return nameOf(kPlanarConfigNames, value); }

const char* getIfdTypeName(uint32_t ifdType) { return nameOf(kIfdTypeNames, ifdType); }

}  // namespace tiffwalker
