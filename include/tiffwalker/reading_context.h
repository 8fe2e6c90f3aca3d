#pragma once
// One reading's world: its switches, where it writes, the file, the byte order
// in force, the TIFF base and maker-note offsets, its limits, and the records.
// Every reading starts afresh in it, so no reading depends on the one before;
// readings on separate contexts can run at the same time on separate threads.
// Reuse one context for many readings: it keeps its buffers.
#include <iosfwd>
#include <memory>

#include "byte_source.h"
#include "reading_outcome.h"
#include "record_list.h"

namespace tiffwalker {

struct ReadingState;

class ReadingContext {
public:
    ReadingContext();
    ~ReadingContext();
    ReadingContext(const ReadingContext&) = delete;
    ReadingContext& operator=(const ReadingContext&) = delete;

    // Switches (engine_options.h) last until changed or reset.
    void setOption(int option, bool on);
    bool isOptionOn(int option) const;
    void resetOptions();

    // Where the engine writes its messages and listings; standard output
    // unless set. The stream must outlive the readings that write to it.
    void setOutput(std::ostream& stream);
    std::ostream& output() const;

    // Reads one file. Never raises: an error the engine raises is caught,
    // deleted, and reported as ReadingStatus::Error with its message. The
    // records the reading made are handed to records when given (its own
    // records are dropped; its storage is exchanged, so passing the same list
    // for every reading spares allocations).
    ReadingOutcome read(const char* path, RecordList* records = nullptr);
    // The same for a file the caller holds as a ByteSource; name stands for
    // its path in the records and messages.
    ReadingOutcome read(ByteSource& source, const char* name, RecordList* records = nullptr);

    // The engine's own form: the result text, valid until the next reading in
    // this context; a malformed EXIF header raises CTiffwalkerException*,
    // which the catcher deletes.
    const std::string& getImageShutterCount(const char* path);

    ReadingState& state() { return *state_; }

private:
    std::unique_ptr<ReadingState> state_;
};

// The context behind the engine's context-free operations.
ReadingContext& defaultContext();

}  // namespace tiffwalker
