#include "file_types.h"

#include <cctype>

namespace frametally {

namespace {

#include "file_types_table.inc"

// "a, b and c".
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

bool endsWithIgnoringCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size()) return false;
    const std::string_view tail = name.substr(name.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != ending[i]) return false;
    }
    return true;
}

}  // namespace

std::span<const FileType> fileTypes() { return kFileTypes; }

std::vector<std::string> fileExtensions() {
    std::vector<std::string> extensions;
    for (const FileType& type : kFileTypes) {
        for (const std::string_view ending : type.endings) {
            if (!ending.empty()) extensions.emplace_back(ending);
        }
    }
    return extensions;
}

bool isReadFileName(std::string_view name) {
    for (const std::string& extension : fileExtensions()) {
        if (name.size() > extension.size() && endsWithIgnoringCase(name, extension) &&
            name[name.size() - extension.size() - 1] == '.') {
            return true;
        }
    }
    return false;
}

std::vector<std::string> countMakers() { return {std::begin(kCountMakers), std::end(kCountMakers)}; }

std::string fileTypeNamesText() {
    std::vector<std::string> names;
    for (const FileType& type : kFileTypes) names.emplace_back(type.name);
    return listed(names);
}

std::string readsText() {
    return "This program reads the counts that " + listed(countMakers()) + " cameras record in their " +
           fileTypeNamesText() + " files.";
}

}  // namespace frametally
