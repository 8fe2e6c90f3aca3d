// The engine's context-free operations, in one place: each works in the state
// of the engine-wide context (defaultContext()), one reading at a time, and
// reads Nikon's count only, as the engine's first callers expect. Nothing
// inside the engine calls them.
#include "context_free.h"

#include "byte_order.h"
#include "reading_context.h"
#include "record_lookup.h"
#include "tiffwalker.h"

namespace tiffwalker {

struct EngineAccess {
    static ReadingState& state(ReadingContext& context) { return *context.state_; }
};

ReadingContext& defaultContext() {
    static ReadingContext context;
    return context;
}

ReadingState& engineState() { return EngineAccess::state(defaultContext()); }
ReadingBudget& readingBudget() { return engineState().budget; }

// Readings.
const std::string& getImageShutterCount(const char* path) { return readImage(engineState(), path, nullptr, nullptr); }
const std::string& readImageRecords(const char* path, RecordList& recordsOut) {
    return readImage(engineState(), path, nullptr, &recordsOut);
}
int32_t getTiffBaseOffset() { return tiffBaseOffset(engineState()); }

// Switches and output.
bool isOptionOn(int option) { return defaultContext().isOptionOn(option); }
void setOption(int option, bool on) { defaultContext().setOption(option, on); }
void resetOptions() { defaultContext().resetOptions(); }
std::ostream& engineOutput() { return engineState().out(); }
void setEngineOutput(std::ostream& stream) { defaultContext().setOutput(stream); }

// The reader's steps.
bool hasExifSegment(FileStream& file) { return hasExifSegment(engineState(), file); }
int32_t findFirstIFD(FileStream& file, FirstIfdMode mode) { return findFirstIFD(engineState(), file, mode); }
int32_t readExifHeader(FileStream& file, int32_t base) { return readExifHeader(engineState(), file, base); }
int32_t dumpImageFileDirectory(FileStream& file, int32_t offset, int32_t additional_offset, const std::string& strType,
                               int32_t numType) {
    return dumpImageFileDirectory(engineState(), file, offset, additional_offset, strType, numType);
}
void setData(CTagRecord& record, FileStream& file) { setData(engineState(), record, file); }

// The record list.
void appendRecord(const CTagRecord& record) { engineState().records.push_back(record); }
void appendRecord(CTagRecord&& record) { engineState().records.push_back(std::move(record)); }
void clearRecords() { prepareRecords(engineState().records); }
size_t recordCount() { return engineState().records.size(); }
const std::string& getDisplayStringData(uint16_t tag) { return getDisplayStringData(engineState(), tag); }
const std::string& getStringData(uint16_t tag) { return getStringData(engineState(), tag); }

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
