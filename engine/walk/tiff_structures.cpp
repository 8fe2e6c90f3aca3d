#include <tiffwalker/tiff_structures.h>

#include <tiffwalker/tag_numbers.h>

#include <cstring>
#include <ostream>

#include "io/byte_order.h"
#include "io/file_stream.h"
#include "name_tables.h"
#include "text/text_format.h"
#include "walk/reading_state.h"

namespace tiffwalker {

namespace {

// Lays bytes over the record's fields in memory order, as reading a struct
// straight from a file would, so that a short read leaves exactly the bytes it
// got at the front and the former content behind them.
template <typename Record, size_t N>
void overlay(Record& record, const unsigned char (&bytes)[N], size_t got) {
    static_assert(sizeof(Record) == N, "record must match its on-disk size");
    unsigned char image[N];
    std::memcpy(image, &record, N);
    std::memcpy(image, bytes, got);
    std::memcpy(&record, image, N);
}

}  // namespace

int TIFFHEADER::read(FileStream& file, ByteOrder& byteOrder) {
    unsigned char bytes[8];
    const size_t got = file.read(bytes, sizeof bytes);
    overlay(*this, bytes, got);
    if (got < sizeof bytes) return -1;
    byteOrder.setFromMark(bytes);
    iden = byteOrder.get16(bytes + 2);
    ifdofs = byteOrder.get32(bytes + 4);
    return 0;
}

bool TIFFHEADER::isValid() const { return iden == 42 && (order == 0x4949 || order == 0x4d4d); }

void TIFFHEADER::print(std::ostream& out) const {
    out << formatText("TIFFHEADER::order           = %04Xh ", static_cast<unsigned>(order));
    if (order == 0x4949) {
        out << "(Intel)\n";
    } else if (order == 0x4d4d) {
        out << "(Motorola)\n";
    } else {
        out << "(?]\n";
    }
    out << formatText("TIFFHEADER::iden            = %d\n", static_cast<int>(iden));
    out << formatText("TIFFHEADER::ifdofs          = %d\n", static_cast<int32_t>(ifdofs));
}

int IFDENTRY::read(FileStream& file, const ByteOrder& order) {
    unsigned char bytes[12];
    const size_t got = file.read(bytes, sizeof bytes);
    if (got < sizeof bytes) {
        overlay(*this, bytes, got);
        return -1;
    }
    tag = order.get16(bytes);
    type = order.get16(bytes + 2);
    count = order.get32(bytes + 4);
    valofs = order.get32(bytes + 8);
    return 0;
}

void IFDENTRY::print(std::ostream& out) const {
    out << formatText("IFDENTRY::tag               = %u(0x%x) ", unsigned{tag}, unsigned{tag});
    out << formatText("(%s)\n", getTagName(tag));
    out << formatText("IFDENTRY::type              = %u ", unsigned{type});
    out << formatText("(%s)\n", getTypeName(type));
    out << formatText("IFDENTRY::count             = %u\n", count);
    const uint32_t product = static_cast<uint32_t>(getTypeSize(type)) * count;
    out << formatText("IFDENTRY::valofs            = %u(0x%x)  %c  ", valofs, valofs, product <= 4 ? '*' : ' ');
    switch (tag) {
        case tags::kCompression: out << formatText("(%s)", getCompressionName(valofs)); break;
        case tags::kPhotometricInterpretation: out << formatText("(%s)", getPhotometricName(valofs)); break;
        case tags::kPlanarConfiguration: out << formatText("(%s)", getPlanarConfigName(valofs)); break;
        case tags::kResolutionUnit: out << formatText("(%s)", getResolutionUnitName(valofs)); break;
        default: break;
    }
}

}  // namespace tiffwalker
