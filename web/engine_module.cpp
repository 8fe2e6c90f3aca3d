// The engine's entry points for the page's reading worker (reader-worker.js):
// the buffer that takes a file's head, and the reading of that file, whose
// outcome is handed back as a table of (pointer, length) pairs of its texts,
// valid until the next reading.
#include <emscripten.h>

#include <cstdint>
#include <ostream>
#include <string>

#include <readout.h>

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
constexpr int kTextCount = 10;
frametally::Inspection lastInspection;
std::string lastCamera;
uint32_t outcomeTable[2 * kTextCount];
std::string lastStatus;

void putText(int slot, const std::string& text) {
    outcomeTable[2 * slot] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text.data()));
    outcomeTable[2 * slot + 1] = static_cast<uint32_t>(text.size());
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE unsigned char* frametally_head_buffer(size_t length) { return source().headBuffer(length); }

EMSCRIPTEN_KEEPALIVE const uint32_t* frametally_inspect(const char* name, size_t headLength, double fileSize) {
    source().startFile(static_cast<int64_t>(fileSize), headLength);
    lastInspection = inspector().inspect(source(), name);
    lastCamera = frametally::cameraName(lastInspection.details);
    const frametally::Inspection& i = lastInspection;
    lastStatus = frametally::statusName(i.status);
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
    return outcomeTable;
}

// The bytes the last reading took from its file: the head and what it read beyond.
EMSCRIPTEN_KEEPALIVE double frametally_bytes_read() { return static_cast<double>(source().bytesRead()); }

}  // extern "C"
