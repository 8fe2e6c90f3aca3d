#include "text_shape.h"

#include <cctype>

namespace frametally {

std::string trimmed(const std::string& text) {
    const auto isPadding = [](char c) { return c == '\0' || std::isspace(static_cast<unsigned char>(c)); };
    size_t end = text.size();
    while (end > 0 && isPadding(text[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && isPadding(text[begin])) ++begin;
    return text.substr(begin, end - begin);
}

std::string withLineBreaks(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown += text[i];
    }
    return shown;
}

}  // namespace frametally
