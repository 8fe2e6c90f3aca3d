#pragma once
// The engine's option switches: 23 one-byte switches, all off unless a caller
// turns one on. Only the numbers below act; the others are kept so that a
// caller's switch numbers stay where they were.
namespace tiffwalker {

inline constexpr int kOptionCount = 23;
// The diagnostic listing of every header, entry and record.
inline constexpr int kTraceSwitch = 0;
// A report of each directory refused as malformed.
inline constexpr int kProblemReportSwitch = 1;
// Either keeps the "File not readable" message back.
inline constexpr int kQuietNotReadableSwitch = 2;
inline constexpr int kQuietNotReadableSwitch2 = 3;
// Keeps back both the "File not readable" and the "No EXIF data found" messages.
inline constexpr int kQuietFailuresSwitch = 6;
// As kQuietFailuresSwitch, and counts those two failures (down) in the
// failure counter.
inline constexpr int kCountFailuresSwitch = 7;

}  // namespace tiffwalker
