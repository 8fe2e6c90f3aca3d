// The engine's entry points for the page's reading worker (reader-worker.js):
// the buffer that takes a file's head, and the reading of that file, whose
// outcome is handed back as a table of (pointer, length) pairs of its texts,
// valid until the next reading. The texts include the reason in plain words
// for the page, and the file's TSV and JSON lines, built by the inspection layer as `tiffwalker` builds them, so that
// the page's downloads are the command's output.
#include <emscripten.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <body_history.h>
#include <history_rows.h>
#include <plain_reason.h>
#include <readout.h>
#include <report_rows.h>

#include "head_byte_source.h"

namespace {

frametally::Inspector& inspector() {
    static frametally::Inspector instance;
    // The engine's own messages say nothing the row's reason does not; a
    // stream without a buffer drops them.
    static std::ostream discarded(nullptr);
    static const bool quiet = (instance.context().setOutput(discarded), true);
    (void)quiet;
    return instance;
}

frametally::web::HeadByteSource& source() {
    static frametally::web::HeadByteSource instance;
    return instance;
}

// The order of the texts is the worker's TEXT_FIELDS.
constexpr int kTextCount = 14;
frametally::Inspection lastInspection;
std::string lastCamera;
std::string lastStatus;
std::string lastTsvLine;
std::string lastJsonLine;
std::string lastPlainReason;
std::string lastCountKind;
std::string header;
uint32_t outcomeTable[2 * kTextCount];

void putText(int slot, const std::string& text) {
    outcomeTable[2 * slot] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.data()));
    outcomeTable[2 * slot + 1] = static_cast<uint32_t>(text.size());
}

const uint32_t* published(frametally::Inspection inspection) {
    lastInspection = std::move(inspection);
    const frametally::Inspection& i = lastInspection;
    lastCamera = frametally::cameraName(i.details);
    lastStatus = frametally::statusName(i.status);
    lastTsvLine = frametally::tsvLine(i);
    lastJsonLine = frametally::jsonLine(i);
    lastPlainReason = frametally::plainReason(i);
    putText(0, lastStatus);
    putText(1, i.result);
    putText(2, i.message);
    putText(3, i.details.make);
    putText(4, i.details.model);
    putText(5, i.details.serialNumber);
    putText(6, i.details.dateTimeOriginal);
    putText(7, i.details.lens);
    putText(8, i.reason);
    putText(9, lastCamera);
    putText(10, lastTsvLine);
    putText(11, lastJsonLine);
    putText(12, lastPlainReason);
    lastCountKind = i.maker != tiffwalker::Maker::Nikon ? frametally::countKindWords(i.countKind) : "";
    putText(13, lastCountKind);
    return outcomeTable;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE unsigned char* frametally_head_buffer(size_t length) { return source().headBuffer(length); }

EMSCRIPTEN_KEEPALIVE const uint32_t* frametally_inspect(const char* name, size_t headLength, double fileSize) {
    source().startFile(static_cast<int64_t>(fileSize), headLength);
    return published(inspector().inspect(source(), name));
}

// The row of a file the worker could not hand to the engine: its head could
// not be read (notReadable), or the engine stopped on it (a trap; the message
// says how). The same table as frametally_inspect's.
EMSCRIPTEN_KEEPALIVE const uint32_t* frametally_unread(const char* name, int notReadable, const char* text) {
    frametally::Inspection inspection;
    inspection.path = name;
    if (notReadable != 0) {
        inspection.status = tiffwalker::ReadingStatus::NotReadable;
        inspection.cause = tiffwalker::ReadingCause::OpenFailed;
        inspection.result = "Not Readable";
        inspection.reason = std::string("cannot be opened: ") + text;
    } else {
        inspection.status = tiffwalker::ReadingStatus::Error;
        inspection.cause = tiffwalker::ReadingCause::RaisedError;
        inspection.message = text;
        inspection.reason = std::string("the reading raised an error: ") + text;
    }
    return published(std::move(inspection));
}

// The TSV header line, the same for every file.
EMSCRIPTEN_KEEPALIVE const char* frametally_tsv_header() {
    header = frametally::tsvHeader();
    return header.c_str();
}

// The history of the page's readings: the page hands over each reading's TSV
// line (the two workers' readings together, numbered as the files were
// given), then takes the history's JSON lines, as `tiffwalker --history
// --format json` writes them.
frametally::BodyHistory pageHistory;
std::vector<std::string> pageHistoryPaths;
std::string pageHistoryRows;

EMSCRIPTEN_KEEPALIVE void frametally_history_clear() {
    pageHistory = frametally::BodyHistory();
    pageHistoryPaths.clear();
    pageHistoryRows.clear();
}

EMSCRIPTEN_KEEPALIVE void frametally_history_add(const char* tsvLine) {
    frametally::Inspection inspection = frametally::inspectionOfTsvLine(frametally::tsvHeader(), tsvLine);
    pageHistoryPaths.push_back(inspection.path);
    pageHistory.add(inspection, static_cast<uint32_t>(pageHistoryPaths.size() - 1));
}

EMSCRIPTEN_KEEPALIVE const char* frametally_history_json() {
    pageHistoryRows.clear();
    for (const frametally::BodySummary& body : pageHistory.finish()) {
        frametally::historyJsonRows(
            body, [](uint32_t file) { return pageHistoryPaths[file]; },
            [](const std::string& line) { pageHistoryRows += line; });
    }
    return pageHistoryRows.c_str();
}

// The bytes the last reading took from its file: the head and what it read beyond.
EMSCRIPTEN_KEEPALIVE double frametally_bytes_read() { return static_cast<double>(source().bytesRead()); }

}  // extern "C"
