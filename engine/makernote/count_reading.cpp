#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

bool valueU32(const MakerNoteEntry& entry, size_t at, const ByteOrder& order, uint32_t& out) {
    if (entry.bytes.size() < 4 || at > entry.bytes.size() - 4) return false;
    out = order.get32(entry.bytes.data() + at);
    return true;
}

bool valueU16(const MakerNoteEntry& entry, size_t at, const ByteOrder& order, uint16_t& out) {
    if (entry.bytes.size() < 2 || at > entry.bytes.size() - 2) return false;
    out = order.get16(entry.bytes.data() + at);
    return true;
}

}  // namespace tiffwalker::makernote
