#pragma once
// Why a file gave no count, in words, from what the same reading left: the
// result, the records and the engine's own messages.
#include <string>

#include "record_list.h"

namespace frametally::cli {

struct FileOutcome;

// Empty for a count.
std::string reasonForNoCount(const FileOutcome& outcome, const tiffwalker::RecordList& records);

// True when the Software entry names the camera's own firmware ("Ver.1.00",
// "V1.01") rather than a program that rewrote the file.
bool isCameraFirmware(const std::string& software);

}  // namespace frametally::cli
