// The engine's context-free operations, in one place: each works in the state
// of the engine-wide context, one reading at a time, and reads Nikon's count
// only, as the engine's first callers expect. Nothing inside the engine calls
// them.
#include <tiffwalker/context_free.h>

#include "context_free/engine_wide.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "walk/record_lookup.h"

namespace tiffwalker {

ReadingContext& defaultContext() {
    static ReadingContext context;
    return context;
}

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

// The record list.
void appendRecord(const CTagRecord& record) { engineState().records.push_back(record); }
void appendRecord(CTagRecord&& record) { engineState().records.push_back(std::move(record)); }
void clearRecords() { prepareRecords(engineState().records); }
size_t recordCount() { return engineState().records.size(); }
const std::string& getDisplayStringData(uint16_t tag) { return getDisplayStringData(engineState(), tag); }
const std::string& getStringData(uint16_t tag) { return getStringData(engineState(), tag); }

}  // namespace tiffwalker
