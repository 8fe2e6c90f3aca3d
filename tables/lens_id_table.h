#pragma once
// Nikon lens numbers and the lens names shown for them, for the LensID tag
// (0xfffb). Keys are decimal numerals, plus the word "Unknown". Names are kept
// exactly as this system has always shown them, misspellings included.
#include "code_tables.h"

namespace tiffwalker {

extern const CodeTable kLensIdTable;

}  // namespace tiffwalker
