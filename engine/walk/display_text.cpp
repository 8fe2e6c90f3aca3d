#include "walk/display_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

#include "code_tables.h"
#include "lens_id_table.h"
#include "text/decimal_text.h"
#include "text/split_string.h"
#include "text/text_format.h"

namespace tiffwalker {

namespace {

enum class Handling {
    CodeTable,        // the words of a code table row, or the unknown-code text
    Offset,           // "%d(0x%04x)"
    ExposureTime,     // "1/250 seconds", "2.5000 seconds"
    FNumber,          // two decimals, no unit
    FocalLength,      // decimals only when they are not zero, " mm"
    FocalLength35,    // the value text and " mm"
    Level,            // "Normal", or a small signed number
    LensDescription,  // "18-70 mm f/3.5-4.5", also kept in lensStringData
};

struct DisplayEntry {
    uint16_t tag;
    Handling handling;
    const CodeTable* codes;  // for Handling::CodeTable only
};

// The handling of every interpreted tag, chosen by tag number alone: a number
// means the same in whatever directory it is found. Tags not listed show their
// value text unchanged (the walker relies on that for Make and Model).
constexpr DisplayEntry kDisplayEntries[] = {
    // Nikon maker notes
    {0x0011, Handling::Offset, nullptr},  // ThumbnailImageIFDOffset
    {0x0083, Handling::CodeTable, &kLensTypeCodes},
    {0x0084, Handling::LensDescription, nullptr},  // Lens
    {0x0087, Handling::CodeTable, &kFlashModeCodes},
    {0x0088, Handling::CodeTable, &kAFPointCodes},
    // TIFF, TIFF/EP and EXIF
    {0x0103, Handling::CodeTable, &kCompressionCodes},
    {0x0106, Handling::CodeTable, &kPhotometricCodes},
    {0x0111, Handling::Offset, nullptr},  // StripOffsets
    {0x0112, Handling::CodeTable, &kOrientationCodes},
    {0x011c, Handling::CodeTable, &kPlanarConfigurationCodes},
    {0x0128, Handling::CodeTable, &kResolutionUnitCodes},
    {0x0201, Handling::Offset, nullptr},  // ThumbnailOffset
    {0x0213, Handling::CodeTable, &kYCbCrPositioningCodes},
    {0x829a, Handling::ExposureTime, nullptr},
    {0x829d, Handling::FNumber, nullptr},
    {0x8769, Handling::Offset, nullptr},  // ExifOffset
    {0x8822, Handling::CodeTable, &kExposureProgramCodes},
    {0x9207, Handling::CodeTable, &kMeteringModeCodes},
    {0x9208, Handling::CodeTable, &kLightSourceCodes},
    {0x9209, Handling::CodeTable, &kFlashCodes},
    {0x920a, Handling::FocalLength, nullptr},
    {0x9217, Handling::CodeTable, &kSensingMethodCodes},
    {0x927c, Handling::Offset, nullptr},  // MakerNoteOffset
    {0xa001, Handling::CodeTable, &kColorSpaceCodes},
    {0xa005, Handling::Offset, nullptr},  // InteroperabilityOffset
    {0xa217, Handling::CodeTable, &kSensingMethodCodes},
    {0xa300, Handling::CodeTable, &kFileSourceCodes},
    {0xa301, Handling::CodeTable, &kSceneTypeCodes},
    {0xa401, Handling::CodeTable, &kCustomRenderedCodes},
    {0xa402, Handling::CodeTable, &kExposureModeCodes},
    {0xa403, Handling::CodeTable, &kWhiteBalanceCodes},
    {0xa405, Handling::FocalLength35, nullptr},
    {0xa406, Handling::CodeTable, &kSceneCaptureTypeCodes},
    {0xa407, Handling::CodeTable, &kGainControlCodes},
    {0xa408, Handling::Level, nullptr},  // Contrast
    {0xa409, Handling::Level, nullptr},  // SaturationEXIF
    {0xa40a, Handling::Level, nullptr},  // Sharpness
    {0xa40c, Handling::CodeTable, &kSubjectDistanceRangeCodes},
    // LensID, a lens number
    {0xfffb, Handling::CodeTable, &kLensIdTable},
};

// Every record passes through here, so the table is kept in ascending tag
// order and searched by halves.
constexpr bool isSortedByTag() {
    for (size_t i = 1; i < std::size(kDisplayEntries); ++i) {
        if (kDisplayEntries[i - 1].tag >= kDisplayEntries[i].tag) return false;
    }
    return true;
}
static_assert(isSortedByTag(), "display entries must stay in ascending tag order");

const DisplayEntry* findDisplayEntry(uint16_t tag) {
    const auto* end = std::end(kDisplayEntries);
    const auto* found = std::lower_bound(std::begin(kDisplayEntries), end, tag,
                                         [](const DisplayEntry& entry, uint16_t t) { return entry.tag < t; });
    return found != end && found->tag == tag ? found : nullptr;
}

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal integer the way C's atol does on a 32-bit long: white space
// skipped, an optional sign, then digits up to the first other character; no
// digits read as 0. A number beyond the 32-bit range is clamped to its nearest
// end (as strtol does) instead of overflowing.
int32_t readInteger(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        magnitude = std::min(kLimit, magnitude * 10 + (text[pos] - '0'));
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Reads a decimal floating-point number like C's atof, but independent of the
// locale: white space skipped, then the longest leading part of the form
// [sign] digits [. digits] [e [sign] digits]; the rest is ignored. A text that
// does not begin with a number reads as 0; one too large for a double reads as
// infinity, one too small as 0.
double readDouble(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isCSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t start = pos;
    // Decimal position of the leading digit, to tell overflow from underflow.
    int64_t leadingDigitPower = 0;
    bool seenNonZero = false;
    size_t digits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits) {
        if (seenNonZero) {
            ++leadingDigitPower;
        } else if (text[pos] != '0') {
            seenNonZero = true;
        }
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits) {
            if (!seenNonZero) {
                --leadingDigitPower;
                if (text[pos] != '0') seenNonZero = true;
            }
        }
    }
    if (digits == 0) return 0.0;
    size_t end = pos;
    int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t e = pos + 1;
        bool negativeExponent = false;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            negativeExponent = text[e] == '-';
            ++e;
        }
        if (e < text.size() && isDigit(text[e])) {
            for (; e < text.size() && isDigit(text[e]); ++e) {
                exponent = std::min<int64_t>(exponent * 10 + (text[e] - '0'), 1'000'000);
            }
            if (negativeExponent) exponent = -exponent;
            end = e;
        }
    }
    if (!seenNonZero) return negative ? -0.0 : 0.0;

    // std::from_chars does not accept a '+'; the sign was taken off above.
    double value = 0.0;
    const std::errc ec = parseDecimal(text.data() + start, text.data() + end, value);
    if (ec == std::errc::result_out_of_range) {
        value = leadingDigitPower + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string unknownCodeText(const std::string& valueText) { return "Unknown (" + valueText + ")"; }

std::string offsetText(const std::string& valueText) {
    const int32_t v = readInteger(valueText);
    return formatText("%d(0x%04x)", v, static_cast<uint32_t>(v));
}

// Up to 0.5 s the time shows as a fraction 1/n, n being 1/v rounded half up;
// longer times show with four decimals. A time of 0 has no fraction and shows
// as "0 seconds"; a time so short that n leaves the 32-bit range shows the
// nearest end of that range.
std::string exposureTimeText(const std::string& valueText) {
    const double v = readDouble(valueText);
    if (v > 0.5) return formatText("%6.4f", v) + " seconds";
    if (v == 0.0) return "0 seconds";
    const double n = std::trunc(1.0 / v + 0.5);
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    const int32_t denominator = static_cast<int32_t>(std::clamp(n, kMin, kMax));
    return formatText("1/%d", denominator) + " seconds";
}

std::string levelText(const std::string& valueText) {
    int32_t v = readInteger(valueText);
    if (v == 0) return "Normal";
    if (v < 0) return {};
    // A SHORT holds negative levels as 65521..65535, meaning -15..-1.
    if (v > 0xfff0) v -= 0x10000;
    return formatText("%d", v);
}

std::string focalLengthText(const std::string& valueText) {
    return cutAfterPoint(valueText, getFocalCut(valueText)) + " mm";
}

}  // namespace

std::string displayTextFor(uint16_t tag, const std::string& valueText, std::string& lensText) {
    const DisplayEntry* entry = findDisplayEntry(tag);
    if (entry == nullptr) return valueText;

    switch (entry->handling) {
        case Handling::CodeTable: {
            const char* text = findCodeText(*entry->codes, valueText);
            return text != nullptr ? std::string(text) : unknownCodeText(valueText);
        }
        case Handling::Offset: return offsetText(valueText);
        case Handling::ExposureTime: return exposureTimeText(valueText);
        case Handling::FNumber: return cutAfterPoint(valueText, 3);
        case Handling::FocalLength: return focalLengthText(valueText);
        case Handling::FocalLength35: return valueText + " mm";
        case Handling::Level: return levelText(valueText);
        case Handling::LensDescription: return lensText = lensDescription(valueText);
    }
    return valueText;
}

// A text without a point is returned whole: there is nothing to cut at.
std::string cutAfterPoint(const std::string& text, int n) {
    const size_t point = text.find('.');
    if (point == std::string::npos) return text;
    const size_t keep = point + static_cast<size_t>(std::max(n, 0));
    return keep < text.size() ? text.substr(0, keep) : text;
}

int getFocalCut(const std::string& text) {
    const size_t point = text.find('.');
    if (point != std::string::npos && point + 1 < text.size() && text[point + 1] == '0') return 0;
    return 2;
}

// With fewer than four numbers there is no description to make, and the value
// text is shown as it is.
std::string lensDescription(const std::string& valueText) {
    std::vector<std::string> parts;
    if (splitString(valueText.c_str(), " ", parts, 0, false, false, false, false) < 4) {
        return valueText;
    }
    const std::string& s0 = parts[0];
    const std::string& s1 = parts[1];
    const std::string& a0 = parts[2];
    const std::string& a1 = parts[3];

    const std::string f0 = cutAfterPoint(s0, getFocalCut(s0));
    const std::string f1 = cutAfterPoint(s1, 0);
    const std::string ap0 = cutAfterPoint(a0, 2);
    const std::string ap1 = cutAfterPoint(a1, 2);

    if (s0 == s1 && a0 == a1) return f0 + " mm f/" + ap0;
    if (a0 == a1) return f0 + "-" + f1 + " mm f/" + ap0;
    return f0 + "-" + f1 + " mm f/" + ap0 + "-" + ap1;
}

}  // namespace tiffwalker
