#pragma once
// One reading's world: its switches, where it writes, the file, the byte order
// in force, the TIFF base and maker-note offsets, its limits, and the records.
// Every reading starts afresh in it, so no reading depends on the one before;
// readings on separate contexts can run at the same time on separate threads.
// Reuse one context for many readings: it keeps its buffers.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include <tiffwalker/byte_source.h>
#include <tiffwalker/export.h>
#include <tiffwalker/reading_outcome.h>
#include <tiffwalker/record_list.h>

namespace tiffwalker {

struct ReadingState;
struct EngineAccess;

class TIFFWALKER_API ReadingContext {
public:
    ReadingContext();
    ~ReadingContext();
    ReadingContext(const ReadingContext&) = delete;
    ReadingContext& operator=(const ReadingContext&) = delete;

    // Switches (engine_options.h) last until changed or reset.
    void setOption(int option, bool on);
    bool isOptionOn(int option) const;
    void resetOptions();

    // The tags whose texts the caller looks at. Readings then make value and
    // display texts and raw bytes only for the records of these tags (and of
    // those the reading acts on itself: Make, Model, Software, ShutterCount);
    // the other records keep their entries and places but come without texts.
    // The result, the outcome and every text made are those of a reading that
    // makes every text. Empty, as it starts: every record's texts. With the
    // trace or the problem reports on, every text is made.
    void setWantedTags(const std::vector<uint16_t>& tags);

    // Where the engine writes its messages and listings; standard output
    // unless set. The stream must outlive the readings that write to it.
    void setOutput(std::ostream& stream);
    std::ostream& output() const;

    // Reads one file, and the count of every maker that records one (the
    // engine's context-free operations read Nikon's only). Never raises: an error the engine raises is caught,
    // deleted, and reported as ReadingStatus::Error with its message. The
    // records the reading made are handed to records when given (its own
    // records are dropped; its storage is exchanged, so passing the same list
    // for every reading spares allocations).
    ReadingOutcome read(const char* path, RecordList* records = nullptr);
    // The same for a file the caller holds as a ByteSource; name stands for
    // its path in the records and messages.
    ReadingOutcome read(ByteSource& source, const char* name, RecordList* records = nullptr);

private:
    // The engine's context-free operations work on the state of the context
    // behind them directly.
    friend struct EngineAccess;
    std::unique_ptr<ReadingState> state_;
};

}  // namespace tiffwalker
