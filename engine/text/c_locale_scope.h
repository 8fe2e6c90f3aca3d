#pragma once
// Holds the calling thread in the "C" locale while it lives, so that printf
// and strtod use '.' whatever locale the program chose: a desktop application
// switches the process to the user's locale, where "%.2f" may write "3,50".
// Only the calling thread is affected, so readings on other threads are not.
#ifdef _WIN32
#include "text/c_locale_scope_windows.h"
#else
#include <locale.h>
#include <clocale>

namespace tiffwalker {

class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        previous_ = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    }
    ~CLocaleScope() {
        if (previous_) uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

}  // namespace tiffwalker
#endif
