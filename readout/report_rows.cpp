#include "report_rows.h"

#include <charconv>

#include "text_shape.h"

namespace frametally {

namespace {

using tiffwalker::ReadingStatus;

const char* kHexDigits = "0123456789abcdef";

std::string decimalOrEmpty(const std::optional<std::uint32_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

const std::vector<ReportField> kFields = {
    {"path", [](const Inspection& i) { return i.path; }, true, JsonPresence::Always},
    {"path_hex", [](const Inspection& i) { return hexOf(i.path); }, false, JsonPresence::WhenPathNotUtf8},
    {"result", [](const Inspection& i) { return i.result; }, true, JsonPresence::NullForError},
    {"status", [](const Inspection& i) { return std::string(statusName(i.status)); }, true, JsonPresence::Always},
    {"make", [](const Inspection& i) { return i.details.make; }, true, JsonPresence::NullWhenEmpty},
    {"model", [](const Inspection& i) { return i.details.model; }, true, JsonPresence::NullWhenEmpty},
    {"serial", [](const Inspection& i) { return i.details.serialNumber; }, true, JsonPresence::NullWhenEmpty},
    {"date_time_original", [](const Inspection& i) { return i.details.dateTimeOriginal; }, true,
     JsonPresence::NullWhenEmpty},
    {"lens", [](const Inspection& i) { return i.details.lens; }, true, JsonPresence::NullWhenEmpty},
    {"reason", [](const Inspection& i) { return i.reason; }, true, JsonPresence::UnlessCount},
    {"message", [](const Inspection& i) { return i.message; }, false, JsonPresence::OnlyForError},
    // Added after the first columns, so that scripts that read those keep working.
    {"maker", [](const Inspection& i) { return std::string(tiffwalker::makerName(i.maker)); }, true,
     JsonPresence::NullWhenEmpty},
    {"count_kind", [](const Inspection& i) { return std::string(countKindName(i.countKind)); }, true,
     JsonPresence::NullWhenEmpty},
    {"mechanical_count", [](const Inspection& i) { return decimalOrEmpty(i.mechanicalCount); }, true,
     JsonPresence::NullWhenEmpty},
    {"rated_releases", [](const Inspection& i) { return decimalOrEmpty(i.ratedReleases); }, true,
     JsonPresence::NullWhenEmpty},
    {"rated_source", [](const Inspection& i) { return i.ratedSource; }, true, JsonPresence::NullWhenEmpty},
    {"source", [](const Inspection& i) { return i.source; }, true, JsonPresence::NullWhenEmpty},
};

}  // namespace

const std::vector<ReportField>& reportFields() { return kFields; }

std::string tsvHeader() {
    std::string line;
    for (const ReportField& field : kFields) {
        if (!field.inTsv) continue;
        if (!line.empty()) line += '\t';
        line += field.name;
    }
    return line + '\n';
}

std::string tsvLine(const Inspection& inspection) {
    std::string line;
    bool first = true;
    for (const ReportField& field : kFields) {
        if (!field.inTsv) continue;
        if (!first) line += '\t';
        first = false;
        line += escapedForTsv(field.value(inspection));
    }
    return line + '\n';
}

std::string jsonLine(const Inspection& inspection) {
    const bool error = inspection.status == ReadingStatus::Error;
    std::string line = "{";
    for (const ReportField& field : kFields) {
        bool present = true;
        bool null = false;
        std::string value;
        switch (field.inJson) {
            case JsonPresence::Always: break;
            case JsonPresence::NullWhenEmpty:
                value = field.value(inspection);
                null = value.empty();
                break;
            case JsonPresence::NullForError: null = error; break;
            case JsonPresence::UnlessCount:
                // A count's row has a reason only where something stands
                // beside the count (a camera that may not have been given
                // its settings back), which a script must not miss.
                present = inspection.status != ReadingStatus::Count || !field.value(inspection).empty();
                break;
            case JsonPresence::OnlyForError: present = error; break;
            case JsonPresence::WhenPathNotUtf8: present = !isValidUtf8(inspection.path); break;
            case JsonPresence::Never: present = false; break;
        }
        if (!present) continue;
        if (line.size() > 1) line += ',';
        line += jsonString(field.name);
        line += ':';
        if (null) {
            line += "null";
        } else {
            line += jsonString(field.inJson == JsonPresence::NullWhenEmpty ? value : field.value(inspection));
        }
    }
    return line + "}\n";
}

namespace {

std::vector<std::string_view> tabSeparated(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::string unescapedFromTsv(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::optional<std::uint32_t> decimalOf(const std::string& text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

Inspection inspectionOfTsvLine(std::string_view header, std::string_view line) {
    const std::vector<std::string_view> names = tabSeparated(header);
    const std::vector<std::string_view> values = tabSeparated(line);
    Inspection i;
    for (size_t c = 0; c < names.size() && c < values.size(); ++c) {
        const std::string_view name = names[c];
        std::string value = unescapedFromTsv(values[c]);
        if (name == "path")
            i.path = std::move(value);
        else if (name == "result")
            i.result = std::move(value);
        else if (name == "make")
            i.details.make = std::move(value);
        else if (name == "model")
            i.details.model = std::move(value);
        else if (name == "serial")
            i.details.serialNumber = std::move(value);
        else if (name == "date_time_original")
            i.details.dateTimeOriginal = std::move(value);
        else if (name == "lens")
            i.details.lens = std::move(value);
        else if (name == "reason")
            i.reason = std::move(value);
        else if (name == "mechanical_count")
            i.mechanicalCount = decimalOf(value);
        else if (name == "rated_releases")
            i.ratedReleases = decimalOf(value);
        else if (name == "rated_source")
            i.ratedSource = std::move(value);
        else if (name == "source")
            i.source = std::move(value);
        else if (name == "status") {
            for (const auto status : {ReadingStatus::Count, ReadingStatus::NotReadable, ReadingStatus::NoExif,
                                      ReadingStatus::NoCount, ReadingStatus::Error}) {
                if (value == statusName(status)) i.status = status;
            }
        } else if (name == "maker") {
            for (int m = 0; m <= static_cast<int>(tiffwalker::Maker::Phone); ++m) {
                const auto maker = static_cast<tiffwalker::Maker>(m);
                if (value == tiffwalker::makerName(maker)) i.maker = maker;
            }
        } else if (name == "count_kind") {
            for (int k = 0; k <= static_cast<int>(tiffwalker::CountKind::AllReleases); ++k) {
                const auto kind = static_cast<tiffwalker::CountKind>(k);
                if (value == countKindName(kind)) i.countKind = kind;
            }
        }
    }
    return i;
}

std::string escapedForTsv(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c; break;
        }
    }
    return out;
}

std::string jsonString(std::string_view text) {
    const std::string valid = shownAsUtf8(text);
    std::string out = "\"";
    out.reserve(valid.size() + 2);
    for (const char c : valid) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 0xf];
                } else {
                    out += c;
                }
        }
    }
    return out + '"';
}

std::string hexOf(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xf];
    }
    return out;
}

}  // namespace frametally
