#pragma once
// The parts of the test helpers that differ between systems, one file per
// system (test_support_posix.cpp, test_support_windows.cpp); runTiffwalker()
// of test_support.h is defined there too.
#include <filesystem>

namespace testing_support {

// A new, empty folder in the system's temporary folder; empty when none could
// be made.
std::filesystem::path makeUniqueFolder();

// Switches LC_NUMERIC to a locale that writes decimal commas; false when the
// system has none.
bool useCommaLocale();

}  // namespace testing_support
