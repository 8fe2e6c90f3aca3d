#pragma once
// The outcome of reading one file, as the command line reports it: what the
// inspection layer shows of it.
#include "readout.h"

namespace frametally::cli {

using FileOutcome = frametally::Inspection;
using Status = tiffwalker::ReadingStatus;
using frametally::cameraName;
using frametally::exitCodeOf;
using frametally::FileDetails;
using frametally::statusName;

}  // namespace frametally::cli
