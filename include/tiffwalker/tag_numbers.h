#pragma once
// Tag numbers that the reader and its callers act on by name.
#include <cstdint>

namespace tiffwalker::tags {

inline constexpr uint16_t kThumbnailImageIfdOffset = 0x0011;  // Nikon D100/D2H maker notes
inline constexpr uint16_t kSerialNumber29 = 0x001d;
inline constexpr uint16_t kExposureBracketValue = 0x0019;
inline constexpr uint16_t kLens = 0x0084;
inline constexpr uint16_t kSerialNumber = 0x00a0;
inline constexpr uint16_t kShutterCount = 0x00a7;
inline constexpr uint16_t kCompression = 0x0103;
inline constexpr uint16_t kPhotometricInterpretation = 0x0106;
inline constexpr uint16_t kMake = 0x010f;
inline constexpr uint16_t kModel = 0x0110;
inline constexpr uint16_t kPlanarConfiguration = 0x011c;
inline constexpr uint16_t kResolutionUnit = 0x0128;
inline constexpr uint16_t kSoftware = 0x0131;
inline constexpr uint16_t kSubIfdOffsets = 0x014a;
inline constexpr uint16_t kExifOffset = 0x8769;
inline constexpr uint16_t kDateTimeOriginal = 0x9003;
inline constexpr uint16_t kMakerNoteOffset = 0x927c;
// The reader's own records, which stand for no directory entry.
inline constexpr uint16_t kFirstPseudoTag = 0xfff1;
inline constexpr uint16_t kFileSize = 0xfffc;
inline constexpr uint16_t kFileName = 0xfffd;
inline constexpr uint16_t kProgramVersion = 0xfffe;

}  // namespace tiffwalker::tags
