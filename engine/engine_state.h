#pragma once
// The engine-wide reading state. One file is read at a time; this state lives
// for the whole run, as the reader's callers expect.
#include <cstdint>
#include <iosfwd>
#include <string>

namespace tiffwalker {

inline constexpr int kOptionCount = 23;
inline constexpr int kTraceSwitch = 0;
inline constexpr int kProblemReportSwitch = 1;

// Layout codes of the file being read.
inline constexpr int32_t kLayoutJpegApp0First = 0;
inline constexpr int32_t kLayoutJpegApp1First = 1;
inline constexpr int32_t kLayoutTiff = 99;

// File kinds, as copied into every record.
inline constexpr int32_t kFileKindJpeg = 0;
inline constexpr int32_t kFileKindTiff = 1;

struct EngineState {
    int32_t layoutCode = 0;
    int32_t fileKind = 0;
    unsigned char options[kOptionCount] = {};
    int32_t failureCounter = 0;
    int32_t fileSize = 0;
    uint32_t makerNoteHeaderOffset = 0;
    std::string resultText;
};

EngineState& engineState();

bool isOptionOn(int option);
void setOption(int option, bool on);
void resetOptions();

bool isTraceOn();

// Where the engine writes every text of its own: the diagnostic listing and the
// failure messages. Standard output unless a caller chooses another stream.
std::ostream& engineOutput();
void setEngineOutput(std::ostream& stream);

}  // namespace tiffwalker
