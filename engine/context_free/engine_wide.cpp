// The engine-wide context, and the reader's steps and byte order in it, for
// the engine's first callers, its tests, fuzzers and benchmarks.
#include "context_free/engine_wide.h"

#include <tiffwalker/context_free.h>
#include <tiffwalker/reading_context.h>
#include <tiffwalker/tiffwalker_exception.h>

#include "reading/original_jpeg_detection.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

namespace tiffwalker {

struct EngineAccess {
    static ReadingState& state(ReadingContext& context) { return *context.state_; }
};

ReadingState& engineState() { return EngineAccess::state(defaultContext()); }
ReadingBudget& readingBudget() { return engineState().budget; }

// The reader's steps.
bool hasExifSegment(FileStream& file) { return hasExifSegment(engineState(), file); }
int32_t findFirstIFD(FileStream& file, FirstIfdMode mode) { return findFirstIFD(engineState(), file, mode); }
int32_t readExifHeader(FileStream& file, int32_t base) { return readExifHeader(engineState(), file, base); }
int32_t dumpImageFileDirectory(FileStream& file, int32_t offset, int32_t additional_offset, const std::string& strType,
                               int32_t numType) {
    return dumpImageFileDirectory(engineState(), file, offset, additional_offset, strType, numType);
}
void setData(CTagRecord& record, FileStream& file) { setData(engineState(), record, file); }

// The byte order in force.
bool isBigEndian() { return engineState().order.isBigEndian(); }
void setBigEndian(bool bigEndian) { engineState().order.setBigEndian(bigEndian); }
uint16_t get16(const unsigned char* bytes) { return engineState().order.get16(bytes); }
uint32_t get32(const unsigned char* bytes) { return engineState().order.get32(bytes); }
uint16_t toHost16(uint16_t storedField) { return engineState().order.toHost16(storedField); }
uint32_t toHost32(uint32_t storedField) { return engineState().order.toHost32(storedField); }

// The records' own operations that read or write in the engine-wide context.
int TIFFHEADER::read(FileStream& file) { return read(file, engineState().order); }
void TIFFHEADER::print() const { print(engineOutput()); }
int IFDENTRY::read(FileStream& file) { return read(file, engineState().order); }
void IFDENTRY::print() const { print(engineOutput()); }
void CTagRecord::dump() const { dump(engineOutput()); }
void reportFileError(const FileStream& file) { reportFileError(engineOutput(), file); }

}  // namespace tiffwalker
