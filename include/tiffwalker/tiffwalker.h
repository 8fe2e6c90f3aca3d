#pragma once
// The Tiffwalker engine: from the path of a camera's raw or JPEG file to the
// shutter count the camera recorded in it (Nikon, Sony, Pentax, the Canon
// bodies that record one, Fujifilm's image count), and every directory entry
// of the file as a tag record on the way.
//
//   tiffwalker::ReadingContext context;             // one per thread
//   tiffwalker::ReadingOutcome outcome = context.read(path);
//   if (outcome.status == tiffwalker::ReadingStatus::Count) use(outcome.result, outcome.countKind);
//
// This header brings in the whole API: the reading context and what it
// gives, and the engine's first, context-free operations (context_free.h).
#include <tiffwalker/byte_source.h>
#include <tiffwalker/context_free.h>
#include <tiffwalker/engine_options.h>
#include <tiffwalker/export.h>
#include <tiffwalker/field_types.h>
#include <tiffwalker/ifd_types.h>
#include <tiffwalker/reading_context.h>
#include <tiffwalker/reading_outcome.h>
#include <tiffwalker/record_list.h>
#include <tiffwalker/tag_numbers.h>
#include <tiffwalker/tag_record.h>
#include <tiffwalker/tiff_structures.h>
#include <tiffwalker/tiffwalker_exception.h>
