// Value extraction: where an entry's value lies, its raw bytes, and its value
// text by field type (and, for UNDEFINED values, by tag).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "byte_order.h"
#include "decimal_text.h"
#include "file_stream.h"
#include "reading_limits.h"
#include "name_tables.h"
#include "reading_budget.h"
#include "text_format.h"
#include "tiffwalker.h"

namespace tiffwalker {

namespace {

enum FieldType : uint16_t {
    kByte = 1,
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kSByte = 6,
    kUndefined = 7,
    kSShort = 8,
    kSRational = 10,
};

constexpr size_t kMaxListedLongs = 40;
constexpr size_t kMaxListedBytes = 40;

// The value as the entry describes it: where it lies and the room it may take.
struct ValueSource {
    FileStream& file;
    int64_t position;     // absolute position of a value that lies elsewhere
    int64_t fileSize;
    size_t textCapacity;  // the longest value text this entry may keep
};

// The four bytes of the value/offset field in the order they stand in the file.
void fieldBytes(uint32_t valofs, unsigned char bytes[4]) {
    if (isBigEndian()) {
        bytes[0] = static_cast<unsigned char>(valofs >> 24);
        bytes[1] = static_cast<unsigned char>(valofs >> 16);
        bytes[2] = static_cast<unsigned char>(valofs >> 8);
        bytes[3] = static_cast<unsigned char>(valofs);
    } else {
        bytes[0] = static_cast<unsigned char>(valofs);
        bytes[1] = static_cast<unsigned char>(valofs >> 8);
        bytes[2] = static_cast<unsigned char>(valofs >> 16);
        bytes[3] = static_cast<unsigned char>(valofs >> 24);
    }
}

uint16_t highHalf(uint32_t valofs) { return static_cast<uint16_t>(valofs >> 16); }
uint16_t lowHalf(uint32_t valofs) { return static_cast<uint16_t>(valofs); }
uint16_t firstShort(uint32_t valofs) { return isBigEndian() ? highHalf(valofs) : lowHalf(valofs); }
uint16_t secondShort(uint32_t valofs) { return isBigEndian() ? lowHalf(valofs) : highHalf(valofs); }

// Reads n bytes at the value's position into a zero-filled buffer: bytes past
// the end of the file read as 0. n is bounded by the file's length and by what
// the reading may still read, so the buffer can be shorter than wanted.
template <typename Buffer>
void readValueInto(Buffer& buffer, const ValueSource& source, uint64_t wanted) {
    ReadingBudget& budget = readingBudget();
    const auto n = budget.allowReadBytes(
        static_cast<size_t>(std::min<uint64_t>(wanted, static_cast<uint64_t>(source.fileSize))));
    buffer.assign(n, 0);
    if (n > 0) {
        source.file.seek(source.position);
        source.file.read(buffer.data(), n);
        budget.spendReadBytes(n);
    }
}

std::vector<unsigned char> readValueBytes(const ValueSource& source, uint64_t wanted) {
    std::vector<unsigned char> buffer;
    readValueInto(buffer, source, wanted);
    return buffer;
}

// How many values of this size the file can hold, and at most limit of them:
// no more can be read, or shown.
uint32_t boundedCount(uint32_t count, int64_t fileSize, unsigned valueSize, size_t limit) {
    return static_cast<uint32_t>(std::min<int64_t>({count, fileSize / valueSize, static_cast<int64_t>(limit)}));
}

// "%f" of a quotient: six decimals; a zero divisor gives what IEEE arithmetic
// gives (inf, -inf, or nan with its sign cleared, so the text never depends
// on the machine).
void appendQuotient(std::string& text, double quotient) {
    if (std::isnan(quotient)) quotient = std::numeric_limits<double>::quiet_NaN();
    appendSixDecimals(text, quotient);
}

std::string textUpToNul(const unsigned char* bytes, size_t n) {
    // An empty buffer's data() may be null, which memchr must not be given.
    if (n == 0) return {};
    const auto* end = static_cast<const unsigned char*>(std::memchr(bytes, 0, n));
    return std::string(reinterpret_cast<const char*>(bytes), end ? static_cast<size_t>(end - bytes) : n);
}

// Up to four bytes of the value/offset field: BYTE in hexadecimal, SBYTE as
// unsigned decimals, separated by spaces.
std::string smallByteText(const unsigned char bytes[4], uint32_t count, bool hexadecimal) {
    std::string text;
    for (uint32_t i = 0; i < std::min<uint32_t>(count, 4); ++i) {
        if (i > 0) text += ' ';
        if (hexadecimal) {
            appendHex(text, bytes[i]);
        } else {
            appendDecimal(text, bytes[i]);
        }
    }
    return text;
}

// SHORT/SSHORT lists read from the file: every value, unsigned, with a space.
// Each value takes at least two characters, so no more than half the text's
// capacity in values is read.
std::string shortListText(const ValueSource& source, uint32_t count) {
    const uint32_t wanted = boundedCount(count, source.fileSize, 2, source.textCapacity / 2);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 2);
    const size_t n = bytes.size() / 2;
    std::string text;
    for (size_t i = 0; i < n && text.size() + 7 <= source.textCapacity; ++i) {
        appendDecimal(text, get16(&bytes[i * 2]));
        text += ' ';
    }
    return text;
}

std::string longListText(const ValueSource& source, uint32_t count) {
    const uint32_t wanted = boundedCount(count, source.fileSize, 4, kMaxListedLongs);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 4);
    const size_t n = bytes.size() / 4;
    std::string text;
    // "0xffffffff " is the longest item.
    for (size_t i = 0; i < n && text.size() + 11 <= source.textCapacity; ++i) {
        text += "0x";
        appendHex(text, get32(&bytes[i * 4]));
        text += ' ';
    }
    return text;
}

// Each quotient takes at least four characters ("inf "), so no more than a
// quarter of the text's capacity in values is read.
std::string rationalListText(const ValueSource& source, uint32_t count, bool signedNumerator) {
    const uint32_t wanted = boundedCount(count, source.fileSize, 8, source.textCapacity / 4 + 1);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 8);
    const size_t n = bytes.size() / 8;
    std::string text;
    for (size_t i = 0; i < n && text.size() < source.textCapacity; ++i) {
        const uint32_t numerator = get32(&bytes[i * 8]);
        const auto denominator = static_cast<int32_t>(get32(&bytes[i * 8 + 4]));
        const double top = signedNumerator ? static_cast<double>(static_cast<int32_t>(numerator))
                                           : static_cast<double>(numerator);
        appendQuotient(text, top / static_cast<double>(denominator));
        text += ' ';
    }
    if (text.size() > source.textCapacity) text.resize(source.textCapacity);
    return text;
}

std::string byteListFromFile(const ValueSource& source, uint32_t count) {
    std::string text;
    readValueInto(text, source, std::min<uint64_t>(count, source.textCapacity));
    if (text.size() < source.textCapacity) text += '\0';
    return text;
}

// Value text of an UNDEFINED entry; false when its tag has no text.
bool undefinedText(CTagRecord& record, const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = record.ifde;
    unsigned char bytes[4];
    fieldBytes(entry.valofs, bytes);
    bool inside = true;
    switch (entry.tag) {
        case 0xa300:  // FileSource
        case 0xa301:  // SceneType
            appendHex(text, bytes[0]);
            break;
        case 0x008b: {  // LensFStops
            const unsigned x = bytes[0], y = bytes[1], z = bytes[2];
            text = formatText("%0.2f", z != 0 ? static_cast<double>(y) / z * x : 0.0);
            break;
        }
        case 0x0088:  // AFPoint
            text = "0x";
            appendHex(text, entry.valofs, 7);
            break;
        case 0x0001:  // FileSystemVersion
        case 0x9000:  // ExifVersion
        case 0xa000:  // FlashPixVersion
            text = textUpToNul(bytes, 4);
            text.resize(4, '\0');
            break;
        case 0x000d:
        case 0x0012:  // FlashCompensation
        case 0x0017:
        case 0x0018:  // FlashExposureBracketValue
        case 0x00a4:
        case 0x9101:  // ComponentsConfiguration
            // Formatted from the value/offset field, which holds four bytes at most.
            for (uint32_t i = 0; i < std::min<uint32_t>(entry.count, 4); ++i) {
                appendHex(text, bytes[i], 2);
                text += ' ';
            }
            break;
        case 0xa302:  // CFAPatternEXIF
        case 0x008c:  // NEFCurve1
        case 0x0091:
        case 0x0096:  // NEFCurve2
        case 0x0097:  // ColorBalance151
        case 0x0098:  // LensDataBytes
        case 0x00a8:
        case 0x0e0e: {  // NikonCaptureOffsets
            const std::vector<unsigned char> listed =
                readValueBytes(source, std::min<uint64_t>(entry.count, kMaxListedBytes));
            for (size_t i = 0; i < listed.size() && text.size() + 3 <= source.textCapacity; ++i) {
                appendHex(text, listed[i], 2);
                text += ' ';
            }
            inside = false;
            break;
        }
        case 0x9286: {  // UserComment: the 8-byte character-code prefix is skipped
            inside = false;
            const auto skip = static_cast<uint32_t>(record.iASCILabelSkipLength);
            if (entry.count < skip) break;  // nothing follows the prefix
            ValueSource comment = source;
            comment.position = static_cast<int32_t>(static_cast<uint32_t>(record.lAdjustedOffset) + skip +
                                                    entry.valofs);
            const std::vector<unsigned char> chars =
                readValueBytes(comment, std::min<uint64_t>(entry.count - skip, source.textCapacity));
            text = textUpToNul(chars.data(), chars.size());
            break;
        }
        case 0x927c:  // MakerNoteOffset
            appendDecimal(text, static_cast<int32_t>(entry.valofs));
            break;
        case 0x000e: {  // ExposureDifference
            const auto x = static_cast<signed char>(bytes[0]);
            const auto y = static_cast<signed char>(bytes[1]);
            const int divisor = entry.count >= 3 ? static_cast<signed char>(bytes[2]) : 0;
            appendQuotient(text, static_cast<double>(y) / divisor * x);
            break;
        }
        default:
            return false;
    }
    record.isLessThanFourBytes = inside;
    return true;
}

// Value text by field type; false for the types that have none.
bool valueText(CTagRecord& record, const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = record.ifde;
    unsigned char bytes[4];
    fieldBytes(entry.valofs, bytes);
    const uint32_t count = entry.count;
    bool inside = true;
    switch (entry.type) {
        case kByte:
        case kSByte:
            if (count <= 4) {
                text = smallByteText(bytes, count, entry.type == kByte);
            } else {
                text = byteListFromFile(source, count);
                inside = false;
            }
            break;
        case kAscii:
            if (count <= 4) {
                text = textUpToNul(bytes, count);
            } else {
                // The terminating NUL, the value's last byte, is not read.
                const std::vector<unsigned char> chars =
                    readValueBytes(source, std::min<uint64_t>(count - 1, source.textCapacity));
                text = textUpToNul(chars.data(), chars.size());
                inside = false;
            }
            break;
        case kShort:
            if (count <= 2 && (entry.tag == 0x0002 || entry.tag == 0x0013)) {
                // ISOUsed and ISOSet: whichever half holds the number.
                const uint16_t low = lowHalf(entry.valofs);
                text = std::to_string(low != 0 ? low : highHalf(entry.valofs));
            } else if (count == 1) {
                text = std::to_string(firstShort(entry.valofs));
            } else if (count == 2) {
                text = std::to_string(firstShort(entry.valofs)) + " " + std::to_string(secondShort(entry.valofs));
            } else if (count > 2) {
                text = shortListText(source, count);
                inside = false;
            }
            break;
        case kSShort: {
            const auto high = static_cast<int16_t>(highHalf(entry.valofs));
            const uint16_t low = lowHalf(entry.valofs);
            if (count <= 2 && (entry.tag == 0x000b || entry.tag == 0x0092)) {
                // WhiteBalanceFine and HueAdjustment: small signed fine-tuning steps.
                const int value = isBigEndian() ? high : (low > 0xfff0 ? low - 0x10000 : low);
                text = std::to_string(value);
            } else if (count == 1) {
                text = isBigEndian() ? std::to_string(high) : std::to_string(low);
            } else if (count == 2) {
                text = isBigEndian() ? std::to_string(high) + " " + std::to_string(low)
                                     : std::to_string(low) + " " + std::to_string(high);
            } else if (count > 2) {
                text = shortListText(source, count);
                inside = false;
            }
            break;
        }
        case kLong:
            if (count <= 1) {
                appendDecimal(text, static_cast<int32_t>(entry.valofs));
            } else {
                text = longListText(source, count);
                inside = false;
            }
            break;
        case kRational:
        case kSRational:
            text = rationalListText(source, count, entry.type == kSRational);
            inside = false;
            break;
        case kUndefined:
            return undefinedText(record, source, text);
        default:
            return false;
    }
    record.isLessThanFourBytes = inside;
    return true;
}

}  // namespace

void setData(CTagRecord& record, FileStream& file) {
    const int64_t startPosition = file.tell();
    if (record.iIFDType == kMakerNotes || record.iIFDType == kThumbIfd) {
        record.lAdjustedOffset = static_cast<int32_t>(record.ulMakerNoteHeaderOffset);
    } else if (record.iFileType != kFileKindJpeg) {
        record.lAdjustedOffset = 0;
    } else {
        record.lAdjustedOffset = record.iImageType;
    }

    ReadingBudget& budget = readingBudget();
    // Positions are 32-bit; one that wraps below 0 lies outside the file.
    const int64_t position =
        static_cast<int32_t>(static_cast<uint32_t>(record.lAdjustedOffset) + record.ifde.valofs);
    ValueSource source{file, position, file.size(), 0};

    const uint32_t product = static_cast<uint32_t>(getTypeSize(record.ifde.type)) * record.ifde.count;
    if (product > 4) {
        // Read straight into the record: a maker note's raw bytes run to kilobytes.
        readValueInto(record.rawData, source, budget.allowValueBytes(product));
        budget.spendValueBytes(record.rawData.size());
    }

    // The text gets what is left of the kept bytes once the raw bytes are in.
    source.textCapacity = budget.allowValueBytes(limits::kMaxValueTextLength);
    std::string text;
    valueText(record, source, text);
    record.stringData = std::move(text);
    budget.spendValueBytes(record.stringData.size());
    record.setDisplayStringData(record.stringData);
    file.seek(startPosition);
}

}  // namespace tiffwalker
