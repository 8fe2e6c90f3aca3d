#include "shown_texts.h"

#include <array>
#include <cctype>

#include "rated_life.h"
#include "text_shape.h"

namespace frametally {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A date the camera did not fill in: nothing but spaces, colons, NULs and
// zeros (EXIF's way of writing an unknown date).
bool isBlankDate(std::string_view text) {
    for (const char c : text) {
        if (c != ' ' && c != ':' && c != '0' && c != '\0') return false;
    }
    return true;
}

// The six numbers of "YYYY:MM:DD HH:MM:SS" when the text is exactly that and
// they make a real date and time of day.
bool exifDateParts(std::string_view text, std::array<int, 6>& parts) {
    constexpr std::string_view kPattern = "dddd:dd:dd dd:dd:dd";
    if (text.size() != kPattern.size()) return false;
    for (size_t i = 0; i < kPattern.size(); ++i) {
        if (kPattern[i] == 'd' ? !isDigit(text[i]) : text[i] != kPattern[i]) return false;
    }
    const auto number = [&](size_t at, size_t digits) {
        int value = 0;
        for (size_t i = at; i < at + digits; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    parts = {number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2)};
    const auto [year, month, day, hour, minute, second] = parts;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return false;
    constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] && (month != 2 || day <= 28 || leap);
}

}  // namespace

std::string dateShown(std::string_view exifDate) {
    const std::string text = trimmed(std::string(exifDate));
    if (isBlankDate(text)) return "";
    std::array<int, 6> parts{};
    if (!exifDateParts(text, parts)) return text;
    std::string shown = text;
    shown[4] = shown[7] = '-';
    return shown;
}

std::string dateTimeValue(std::string_view exifDate) {
    std::string shown = dateShown(exifDate);
    std::array<int, 6> parts{};
    if (!exifDateParts(trimmed(std::string(exifDate)), parts)) return "";
    shown[10] = 'T';
    return shown;
}

std::string serialShown(std::string_view serialNumber) {
    std::string serial = trimmed(std::string(serialNumber));
    if (serial.size() >= 3 && std::toupper(static_cast<unsigned char>(serial[0])) == 'N' &&
        std::toupper(static_cast<unsigned char>(serial[1])) == 'O' && serial[2] == '=') {
        serial = trimmed(serial.substr(3));
    }
    return serial;
}

std::string countKindShown(const Inspection& inspection) {
    if (inspection.status != tiffwalker::ReadingStatus::Count) return "";
    return countKindWords(inspection.countKind);
}

std::string mechanicalCountShown(const Inspection& inspection) {
    if (inspection.status != tiffwalker::ReadingStatus::Count || !inspection.mechanicalCount) return "";
    return std::to_string(*inspection.mechanicalCount);
}

ShownTexts shownTextsOf(const Inspection& inspection) {
    ShownTexts texts;
    texts.result = inspection.status == tiffwalker::ReadingStatus::Error ? "" : inspection.result;
    texts.camera = cameraName(inspection.details);
    texts.serialNumber = serialShown(inspection.details.serialNumber);
    texts.dateTaken = dateShown(inspection.details.dateTimeOriginal);
    texts.lens = inspection.details.lens;
    texts.reason = inspection.reason;
    texts.countKind = countKindShown(inspection);
    texts.mechanicalCount = mechanicalCountShown(inspection);
    texts.ratedLife = ratedLifeText(inspection);
    return texts;
}

std::string bodyName(std::string_view camera, std::string_view serialNumber) {
    std::string name = camera.empty() ? "unknown camera" : std::string(camera);
    const std::string serial = serialShown(serialNumber);
    return serial.empty() ? name + " (no serial number)" : name + ", serial " + serial;
}

std::string bodySummaryLine(const BodySummary& body) {
    std::string line = bodyName(body.camera, body.serialNumber) + ": " + std::to_string(body.highestCount);
    const std::string words = countKindWords(body.countKind);
    if (!words.empty()) line += ", " + words + ",";
    return line + " in " + body.path;
}

}  // namespace frametally
