#include "text/split_string.h"

#include <cstring>
#include <string_view>

namespace tiffwalker {

namespace {

bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void trimWhiteSpace(std::string& s) {
    size_t end = s.size();
    while (end > 0 && isWhiteSpace(s[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && isWhiteSpace(s[begin])) ++begin;
    s = s.substr(begin, end - begin);
}

}  // namespace

int splitString(const char* text, const char* delimiters, std::vector<std::string>& list, int maxCount, bool trim,
                bool escapes, bool quotes, bool keepEmpty) {
    list.clear();
    if (text == nullptr || delimiters == nullptr || *text == '\0' || *delimiters == '\0') return 0;

    // Every read below checks pos against the length first, so the end of the
    // text (and a NUL) is never taken for a delimiter.
    const std::string_view in(text);
    const std::string_view delims(delimiters);
    const auto isDelimiter = [&](size_t pos) {
        return pos < in.size() && delims.find(in[pos]) != std::string_view::npos;
    };

    size_t pos = 0;
    if (!keepEmpty) {
        while (isDelimiter(pos)) ++pos;
    }

    bool lastEndedAtDelimiter = false;
    while (pos < in.size()) {
        std::string item;
        while (pos < in.size() && isBlankOrTab(in[pos])) item += in[pos++];

        const bool quoted = quotes && pos < in.size() && in[pos] == '"';
        if (quoted) ++pos;

        while (pos < in.size()) {
            const char c = in[pos];
            if (quoted ? c == '"' : isDelimiter(pos)) break;
            if (escapes && c == '\\') {
                ++pos;
                if (pos >= in.size()) break;
            }
            item += in[pos++];
        }

        lastEndedAtDelimiter = isDelimiter(pos);
        if (pos < in.size()) ++pos;  // the delimiter or the closing quote
        if (quoted && isDelimiter(pos)) ++pos;

        if (trim) trimWhiteSpace(item);

        if (!item.empty() || keepEmpty) {
            if (maxCount > 0 && list.size() >= static_cast<size_t>(maxCount)) break;
            list.push_back(std::move(item));
        }
    }

    // The empty string after a trailing delimiter counts against the maximum
    // like any other: the list never holds more than maxCount strings.
    const bool room = maxCount <= 0 || list.size() < static_cast<size_t>(maxCount);
    if (keepEmpty && lastEndedAtDelimiter && room) list.emplace_back();

    return static_cast<int>(list.size());
}

}  // namespace tiffwalker
