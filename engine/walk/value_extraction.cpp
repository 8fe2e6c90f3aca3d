// Value extraction: where an entry's value lies, its raw bytes, and its value
// text by field type (and, for UNDEFINED values, by tag).
#include "walk/value_extraction.h"

#include <tiffwalker/field_types.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "io/file_stream.h"
#include "name_tables.h"
#include "text/decimal_text.h"
#include "text/text_format.h"
#include "walk/ifd_walker.h"
#include "walk/reading_limits.h"

namespace tiffwalker {

namespace {

constexpr size_t kMaxListedLongs = 40;
constexpr size_t kMaxListedBytes = 40;

// One entry's value as the entry describes it: the record, the four bytes of
// its value/offset field in the order they stand in the file, where a value
// that lies elsewhere starts, and the room its text may take.
struct ValueSource {
    ReadingState& state;
    FileStream& file;
    CTagRecord& record;
    unsigned char field[4];
    int64_t position;  // absolute position of a value that lies elsewhere
    int64_t fileSize;
    size_t textCapacity;  // the longest value text this entry may keep

    const IFDENTRY& entry() const { return record.ifde; }
    const ByteOrder& order() const { return state.order; }
};

void fieldBytes(const ByteOrder& order, uint32_t valofs, unsigned char bytes[4]) {
    if (order.isBigEndian()) {
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

// Reads n bytes at the value's position into a zero-filled buffer: bytes past
// the end of the file read as 0. n is bounded by the file's length and by what
// the reading may still read, so the buffer can be shorter than wanted.
template <typename Buffer>
void readValueInto(Buffer& buffer, const ValueSource& source, uint64_t wanted) {
    ReadingBudget& budget = source.state.budget;
    const auto n =
        budget.allowReadBytes(static_cast<size_t>(std::min<uint64_t>(wanted, static_cast<uint64_t>(source.fileSize))));
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

// A value text maker: true when the entry's value has a text (in text), and
// isInside says whether it came from the value/offset field itself.
struct MadeText {
    bool made = true;
    bool inside = true;
};
using TextMaker = MadeText (*)(const ValueSource& source, std::string& text);

constexpr MadeText kInside{true, true};
constexpr MadeText kElsewhere{true, false};
constexpr MadeText kNoText{false, true};

// SHORT/SSHORT lists read from the file: every value, unsigned, with a space.
// Each value takes at least two characters, so no more than half the text's
// capacity in values is read.
std::string shortListText(const ValueSource& source, uint32_t count) {
    const uint32_t wanted = boundedCount(count, source.fileSize, 2, source.textCapacity / 2);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 2);
    const size_t n = bytes.size() / 2;
    std::string text;
    for (size_t i = 0; i < n && text.size() + 7 <= source.textCapacity; ++i) {
        appendDecimal(text, source.order().get16(&bytes[i * 2]));
        text += ' ';
    }
    return text;
}

// Up to four bytes of the value/offset field: BYTE in hexadecimal, SBYTE as
// unsigned decimals, separated by spaces; longer lists as the bytes themselves.
MadeText byteText(const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = source.entry();
    if (entry.count > 4) {
        readValueInto(text, source, std::min<uint64_t>(entry.count, source.textCapacity));
        if (text.size() < source.textCapacity) text += '\0';
        return kElsewhere;
    }
    for (uint32_t i = 0; i < entry.count; ++i) {
        if (i > 0) text += ' ';
        if (entry.type == kByte) {
            appendHex(text, source.field[i]);
        } else {
            appendDecimal(text, source.field[i]);
        }
    }
    return kInside;
}

MadeText asciiText(const ValueSource& source, std::string& text) {
    const uint32_t count = source.entry().count;
    if (count <= 4) {
        text = textUpToNul(source.field, count);
        return kInside;
    }
    // The terminating NUL, the value's last byte, is not read.
    const std::vector<unsigned char> chars = readValueBytes(source, std::min<uint64_t>(count - 1, source.textCapacity));
    text = textUpToNul(chars.data(), chars.size());
    return kElsewhere;
}

MadeText shortText(const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = source.entry();
    const bool bigEndian = source.order().isBigEndian();
    const uint16_t first = bigEndian ? highHalf(entry.valofs) : lowHalf(entry.valofs);
    const uint16_t second = bigEndian ? lowHalf(entry.valofs) : highHalf(entry.valofs);
    if (entry.count <= 2 && (entry.tag == 0x0002 || entry.tag == 0x0013)) {
        // ISOUsed and ISOSet: whichever half holds the number.
        const uint16_t low = lowHalf(entry.valofs);
        text = std::to_string(low != 0 ? low : highHalf(entry.valofs));
    } else if (entry.count == 1) {
        text = std::to_string(first);
    } else if (entry.count == 2) {
        text = std::to_string(first) + " " + std::to_string(second);
    } else if (entry.count > 2) {
        text = shortListText(source, entry.count);
        return kElsewhere;
    }
    return kInside;
}

MadeText signedShortText(const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = source.entry();
    const bool bigEndian = source.order().isBigEndian();
    const auto high = static_cast<int16_t>(highHalf(entry.valofs));
    const uint16_t low = lowHalf(entry.valofs);
    if (entry.count <= 2 && (entry.tag == 0x000b || entry.tag == 0x0092)) {
        // WhiteBalanceFine and HueAdjustment: small signed fine-tuning steps.
        const int value = bigEndian ? high : (low > 0xfff0 ? low - 0x10000 : low);
        text = std::to_string(value);
    } else if (entry.count == 1) {
        text = bigEndian ? std::to_string(high) : std::to_string(low);
    } else if (entry.count == 2) {
        text = bigEndian ? std::to_string(high) + " " + std::to_string(low)
                         : std::to_string(low) + " " + std::to_string(high);
    } else if (entry.count > 2) {
        text = shortListText(source, entry.count);
        return kElsewhere;
    }
    return kInside;
}

MadeText longText(const ValueSource& source, std::string& text) {
    const uint32_t count = source.entry().count;
    if (count <= 1) {
        appendDecimal(text, static_cast<int32_t>(source.entry().valofs));
        return kInside;
    }
    const uint32_t wanted = boundedCount(count, source.fileSize, 4, kMaxListedLongs);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 4);
    const size_t n = bytes.size() / 4;
    // "0xffffffff " is the longest item.
    for (size_t i = 0; i < n && text.size() + 11 <= source.textCapacity; ++i) {
        text += "0x";
        appendHex(text, source.order().get32(&bytes[i * 4]));
        text += ' ';
    }
    return kElsewhere;
}

// Each quotient takes at least four characters ("inf "), so no more than a
// quarter of the text's capacity in values is read.
MadeText rationalText(const ValueSource& source, std::string& text) {
    const bool signedNumerator = source.entry().type == kSRational;
    const uint32_t wanted = boundedCount(source.entry().count, source.fileSize, 8, source.textCapacity / 4 + 1);
    const std::vector<unsigned char> bytes = readValueBytes(source, uint64_t{wanted} * 8);
    const size_t n = bytes.size() / 8;
    for (size_t i = 0; i < n && text.size() < source.textCapacity; ++i) {
        const uint32_t numerator = source.order().get32(&bytes[i * 8]);
        const auto denominator = static_cast<int32_t>(source.order().get32(&bytes[i * 8 + 4]));
        const double top =
            signedNumerator ? static_cast<double>(static_cast<int32_t>(numerator)) : static_cast<double>(numerator);
        appendQuotient(text, top / static_cast<double>(denominator));
        text += ' ';
    }
    if (text.size() > source.textCapacity) text.resize(source.textCapacity);
    return kElsewhere;
}

// UNDEFINED values have a text only for the tags that say how to read them.

MadeText firstByteHex(const ValueSource& source, std::string& text) {  // FileSource, SceneType
    appendHex(text, source.field[0]);
    return kInside;
}

MadeText lensFStops(const ValueSource& source, std::string& text) {
    const unsigned x = source.field[0], y = source.field[1], z = source.field[2];
    text = formatText("%0.2f", z != 0 ? static_cast<double>(y) / z * x : 0.0);
    return kInside;
}

MadeText afPoint(const ValueSource& source, std::string& text) {
    text = "0x";
    appendHex(text, source.entry().valofs, 7);
    return kInside;
}

MadeText versionText(const ValueSource& source, std::string& text) {  // four characters, NUL-padded
    text = textUpToNul(source.field, 4);
    text.resize(4, '\0');
    return kInside;
}

// Formatted from the value/offset field, which holds four bytes at most.
MadeText fieldHexBytes(const ValueSource& source, std::string& text) {
    for (uint32_t i = 0; i < std::min<uint32_t>(source.entry().count, 4); ++i) {
        appendHex(text, source.field[i], 2);
        text += ' ';
    }
    return kInside;
}

MadeText listedHexBytes(const ValueSource& source, std::string& text) {
    const std::vector<unsigned char> listed =
        readValueBytes(source, std::min<uint64_t>(source.entry().count, kMaxListedBytes));
    for (size_t i = 0; i < listed.size() && text.size() + 3 <= source.textCapacity; ++i) {
        appendHex(text, listed[i], 2);
        text += ' ';
    }
    return kElsewhere;
}

// The 8-byte character-code prefix is skipped.
MadeText userComment(const ValueSource& source, std::string& text) {
    const IFDENTRY& entry = source.entry();
    const auto skip = static_cast<uint32_t>(source.record.iASCILabelSkipLength);
    if (entry.count < skip) return kElsewhere;  // nothing follows the prefix
    ValueSource comment = source;
    comment.position = static_cast<int32_t>(static_cast<uint32_t>(source.record.lAdjustedOffset) + skip + entry.valofs);
    const std::vector<unsigned char> chars =
        readValueBytes(comment, std::min<uint64_t>(entry.count - skip, source.textCapacity));
    text = textUpToNul(chars.data(), chars.size());
    return kElsewhere;
}

MadeText offsetDecimal(const ValueSource& source, std::string& text) {  // MakerNoteOffset
    appendDecimal(text, static_cast<int32_t>(source.entry().valofs));
    return kInside;
}

MadeText exposureDifference(const ValueSource& source, std::string& text) {
    const auto x = static_cast<signed char>(source.field[0]);
    const auto y = static_cast<signed char>(source.field[1]);
    const int divisor = source.entry().count >= 3 ? static_cast<signed char>(source.field[2]) : 0;
    appendQuotient(text, static_cast<double>(y) / divisor * x);
    return kInside;
}

struct TextRow {
    uint16_t key;
    TextMaker make;
};

// By tag number, sorted for binary search.
constexpr TextRow kUndefinedTexts[] = {
    {0x0001, versionText},         // FileSystemVersion
    {0x000d, fieldHexBytes},       //
    {0x000e, exposureDifference},  // ExposureDifference
    {0x0012, fieldHexBytes},       // FlashCompensation
    {0x0017, fieldHexBytes},       //
    {0x0018, fieldHexBytes},       // FlashExposureBracketValue
    {0x0088, afPoint},             // AFPoint
    {0x008b, lensFStops},          // LensFStops
    {0x008c, listedHexBytes},      // NEFCurve1
    {0x0091, listedHexBytes},      //
    {0x0096, listedHexBytes},      // NEFCurve2
    {0x0097, listedHexBytes},      // ColorBalance151
    {0x0098, listedHexBytes},      // LensDataBytes
    {0x00a4, fieldHexBytes},       //
    {0x00a8, listedHexBytes},      //
    {0x0e0e, listedHexBytes},      // NikonCaptureOffsets
    {0x9000, versionText},         // ExifVersion
    {0x9101, fieldHexBytes},       // ComponentsConfiguration
    {0x927c, offsetDecimal},       // MakerNoteOffset
    {0x9286, userComment},         // UserComment
    {0xa000, versionText},         // FlashPixVersion
    {0xa300, firstByteHex},        // FileSource
    {0xa301, firstByteHex},        // SceneType
    {0xa302, listedHexBytes},      // CFAPatternEXIF
};

constexpr bool keysAscend(const TextRow* begin, const TextRow* end) {
    return std::is_sorted(begin, end, [](const TextRow& a, const TextRow& b) { return a.key < b.key; });
}

TextMaker findMaker(const TextRow* begin, const TextRow* end, uint16_t key) {
    const TextRow* found =
        std::lower_bound(begin, end, key, [](const TextRow& row, uint16_t wanted) { return row.key < wanted; });
    return found != end && found->key == key ? found->make : nullptr;
}

static_assert(keysAscend(std::begin(kUndefinedTexts), std::end(kUndefinedTexts)), "binary search needs sorted tags");

MadeText undefinedText(const ValueSource& source, std::string& text) {
    const TextMaker make = findMaker(std::begin(kUndefinedTexts), std::end(kUndefinedTexts), source.entry().tag);
    return make != nullptr ? make(source, text) : kNoText;
}

// By field type, sorted; SLONG, FLOAT, DOUBLE and unknown types have no text.
constexpr TextRow kTypeTexts[] = {
    {kByte, byteText},           {kAscii, asciiText},        {kShort, shortText},
    {kLong, longText},           {kRational, rationalText},  {kSByte, byteText},
    {kUndefined, undefinedText}, {kSShort, signedShortText}, {kSRational, rationalText},
};

static_assert(keysAscend(std::begin(kTypeTexts), std::end(kTypeTexts)), "binary search needs sorted types");

// In a reading that makes the wanted texts only: whether this record's texts
// are made. A record left without them spends the raw bytes a reading of
// every text would have kept (known without reading them), and counts what
// its value text could at most have taken: the bytes behind it (every byte of
// the value, and no more than a RATIONAL list's text reads: two bytes for
// each character it may hold, and a value more), and 32 characters an item
// (the longest, a quotient, takes 19) plus 64. Raises EveryTextNeeded before
// anything of a record that such a reading might not have had every byte for.
bool makesTexts(ReadingState& state, const CTagRecord& record, int32_t typeSize, int64_t fileSize) {
    ReadingBudget& budget = state.budget;
    const auto fileBytes = static_cast<uint64_t>(std::max<int64_t>(fileSize, 0));
    // The raw bytes' count as setData() computes it, in 32 bits.
    const uint32_t product = static_cast<uint32_t>(typeSize) * record.ifde.count;
    const uint64_t rawBytes = product > 4 ? std::min<uint64_t>(product, fileBytes) : 0;
    const uint64_t valueBytes = std::min({static_cast<uint64_t>(std::max(typeSize, 0)) * record.ifde.count, fileBytes,
                                          uint64_t{2 * limits::kMaxValueTextLength + 8}});
    if (!budget.surelyAllows(rawBytes + limits::kMaxValueTextLength, rawBytes + valueBytes)) throw EveryTextNeeded();
    if (state.isTextWanted(record.ifde.tag)) return true;
    // rawBytes is at most the 32-bit product, so it fits a size_t everywhere.
    budget.spendReadBytes(static_cast<size_t>(rawBytes));
    budget.spendValueBytes(static_cast<size_t>(rawBytes));
    const uint64_t textLength = std::min<uint64_t>(limits::kMaxValueTextLength, 32 * uint64_t{record.ifde.count} + 64);
    budget.spendSkippedBytes(textLength, valueBytes);
    return false;
}

}  // namespace

void setData(ReadingState& state, CTagRecord& record, FileStream& file) {
    const int64_t startPosition = file.tell();
    if (record.iIFDType == kMakerNotes || record.iIFDType == kThumbIfd) {
        record.lAdjustedOffset = static_cast<int32_t>(record.ulMakerNoteHeaderOffset);
    } else if (record.iFileType != kFileKindJpeg) {
        record.lAdjustedOffset = 0;
    } else {
        record.lAdjustedOffset = record.iImageType;
    }

    ReadingBudget& budget = state.budget;
    // Positions are 32-bit; one that wraps below 0 lies outside the file.
    const int64_t position = static_cast<int32_t>(static_cast<uint32_t>(record.lAdjustedOffset) + record.ifde.valofs);
    ValueSource source{state, file, record, {}, position, file.size(), 0};
    fieldBytes(state.order, record.ifde.valofs, source.field);

    const int32_t typeSize = getTypeSize(record.ifde.type);
    const uint32_t product = static_cast<uint32_t>(typeSize) * record.ifde.count;
    if (state.wantedTextsOnly && !makesTexts(state, record, typeSize, source.fileSize)) {
        file.seek(startPosition);
        return;
    }
    if (product > 4) {
        // Read straight into the record: a maker note's raw bytes run to kilobytes.
        readValueInto(record.rawData, source, budget.allowValueBytes(product));
        budget.spendValueBytes(record.rawData.size());
    }

    // The text gets what is left of the kept bytes once the raw bytes are in.
    source.textCapacity = budget.allowValueBytes(limits::kMaxValueTextLength);
    std::string text;
    const TextMaker make = findMaker(std::begin(kTypeTexts), std::end(kTypeTexts), record.ifde.type);
    const MadeText made = make != nullptr ? make(source, text) : kNoText;
    if (made.made) record.isLessThanFourBytes = made.inside;
    record.stringData = std::move(text);
    budget.spendValueBytes(record.stringData.size());
    record.setDisplayStringData(record.stringData);
    file.seek(startPosition);
}

}  // namespace tiffwalker
