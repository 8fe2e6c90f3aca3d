#pragma once
// Reading synthetic camera files of every maker from memory.
#include <tiffwalker/tiffwalker.h>
#include "maker_note_files.h"

namespace testing_support {

// What ReadingContext::read gives for these bytes.
inline tiffwalker::ReadingOutcome readMakerBytes(const synthetic::Bytes& bytes) {
    tiffwalker::ReadingContext context;
    tiffwalker::MemorySource source(bytes.data(), bytes.size());
    return context.read(source, "synthetic");
}

inline tiffwalker::ReadingOutcome readMakerFile(const synthetic::MakerFile& file) {
    return readMakerBytes(synthetic::makeMakerFile(file));
}

}  // namespace testing_support
