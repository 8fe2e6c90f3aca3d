#pragma once
// Why a reading gave no count, in words for people, from the reading's
// outcome alone.
#include <string>

#include <tiffwalker/reading_outcome.h>

namespace frametally {

// Empty for a count.
std::string reasonForNoCount(const tiffwalker::ReadingOutcome& outcome);

// True when the Software entry names the camera's own firmware ("Ver.1.00",
// "V1.01") rather than a program that rewrote the file.
bool isCameraFirmware(const std::string& software);

}  // namespace frametally
