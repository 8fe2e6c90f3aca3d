#pragma once
// Small text shapings for showing what a file holds.
#include <string>

namespace frametally {

// Without the NULs and spaces that pad ASCII values at either end.
std::string trimmed(const std::string& text);
// "\r\n" (the engine's line break in messages) as "\n".
std::string withLineBreaks(const std::string& text);

}  // namespace frametally
