#pragma once
// CLocaleScope on Windows, whose C runtime has no uselocale: the calling
// thread is given a locale of its own for as long as the scope lives, set to
// "C", and handed back to the locale it had (and to the process's locale, if
// it followed that) at the end. Other threads are not affected.
#include <clocale>
#include <cstring>
#include <string>

namespace tiffwalker {

class CLocaleScope {
public:
    CLocaleScope() : previousMode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
        const char* current = std::setlocale(LC_ALL, nullptr);
        if (current != nullptr && std::strcmp(current, "C") != 0) {
            previous_ = current;
            std::setlocale(LC_ALL, "C");
        }
    }
    ~CLocaleScope() {
        if (!previous_.empty()) std::setlocale(LC_ALL, previous_.c_str());
        if (previousMode_ == _DISABLE_PER_THREAD_LOCALE) _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    int previousMode_;
    std::string previous_;
};

}  // namespace tiffwalker
