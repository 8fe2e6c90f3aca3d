#pragma once
// What the engine's shared library exports: its public API, marked with
// TIFFWALKER_API; everything else in it is hidden. Declarations that take the
// engine's own types (its file stream, its byte order) are for the engine and
// its tests only (TIFFWALKER_INTERNALS, set in its build tree).
#if defined(_WIN32)
#define TIFFWALKER_API
#define TIFFWALKER_LOCAL
#else
#define TIFFWALKER_API __attribute__((visibility("default")))
// A member of an exported class that stays inside the library.
#define TIFFWALKER_LOCAL __attribute__((visibility("hidden")))
#endif
