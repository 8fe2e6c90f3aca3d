// The reading context: every reading of it reads every maker's count.
#include <tiffwalker/reading_context.h>

#include <tiffwalker/tag_numbers.h>
#include <tiffwalker/tiffwalker_exception.h>

#include <exception>
#include <iostream>
#include <memory>

#include "reading/image_reading.h"
#include "walk/reading_state.h"
#include "walk/record_lookup.h"

namespace tiffwalker {

ReadingContext::ReadingContext() : state_(std::make_unique<ReadingState>()) {}
ReadingContext::~ReadingContext() = default;

void ReadingContext::setOption(int option, bool on) {
    if (option >= 0 && option < kOptionCount) state_->options[option] = on ? 1 : 0;
}

bool ReadingContext::isOptionOn(int option) const { return state_->isOptionOn(option); }

void ReadingContext::resetOptions() {
    for (auto& option : state_->options) option = 0;
}

void ReadingContext::setWantedTags(const std::vector<uint16_t>& tags) {
    state_->everyText = tags.empty();
    state_->wantedTags.reset();
    for (const uint16_t tag : tags) state_->wantedTags.set(tag);
    for (const uint16_t tag : {tags::kMake, tags::kModel, tags::kSoftware, tags::kShutterCount}) {
        state_->wantedTags.set(tag);
    }
}

void ReadingContext::setOutput(std::ostream& stream) { state_->output = &stream; }
std::ostream& ReadingContext::output() const { return state_->out(); }

namespace {

ReadingOutcome readCatching(ReadingState& state, const char* path, ByteSource* source, RecordList* records) {
    const auto raised = [&state](std::string message) {
        state.outcome.status = ReadingStatus::Error;
        state.outcome.cause = ReadingCause::RaisedError;
        state.outcome.result.clear();
        state.outcome.message = std::move(message);
    };
    try {
        readImage(state, path, source, records, MakersRead::Every);
    } catch (CTiffwalkerException* error) {
        const std::unique_ptr<CTiffwalkerException> owned(error);
        raised(owned->message());
    } catch (CException* error) {
        const std::unique_ptr<CException> owned(error);
        raised("TiffwalkerException");
    } catch (const std::exception& error) {
        // Not of the file's making (memory ran out, say), but still this
        // reading's failure rather than the caller's end.
        raised(error.what());
    }
    return state.outcome;
}

}  // namespace

ReadingOutcome ReadingContext::read(const char* path, RecordList* records) {
    return readCatching(*state_, path, nullptr, records);
}

ReadingOutcome ReadingContext::read(ByteSource& source, const char* name, RecordList* records) {
    return readCatching(*state_, name, &source, records);
}

}  // namespace tiffwalker
