#pragma once
// Why a file gave no count, in the words of a camera owner rather than those
// of the file format: what the page shows. The command and the downloads keep
// reasonForNoCount()'s exact words, which scripts may match.
#include <string>

#include "readout.h"

namespace frametally {

// Empty for a count.
std::string plainReason(const Inspection& inspection);

}  // namespace frametally
