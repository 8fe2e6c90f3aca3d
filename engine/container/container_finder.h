#pragma once
// Where the TIFF structures of a file lie, whatever holds them: a TIFF file,
// JPEG data, a HEIF or CR3 file, or a RAF file. Reads only through the
// source, within its size, and keeps nothing between calls.
#include <tiffwalker/byte_source.h>
#include "container/tiff_location.h"

namespace tiffwalker::container {

ContainerFinding findTiffStructures(ByteSource& source);

}  // namespace tiffwalker::container
