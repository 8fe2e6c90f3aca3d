#pragma once
// tiffwalker --camera: the count of connected cameras, a row each, in the
// formats of the files' rows.
#include <ostream>
#include <string>

#include "report_writer.h"

namespace frametally::cli {

// Reads the camera at port, or with an empty port every connected camera, and
// writes their rows to out. Returns the exit status of files: 0 every camera
// gave a count, 1 some gave a failure text (or none is connected), 3 some
// answered what no camera would.
int runCamera(const std::string& port, Format format, std::ostream& out, std::ostream& err);

}  // namespace frametally::cli
