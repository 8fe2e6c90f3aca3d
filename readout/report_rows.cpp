#include "report_rows.h"

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
            case JsonPresence::UnlessCount: present = inspection.status != ReadingStatus::Count; break;
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
