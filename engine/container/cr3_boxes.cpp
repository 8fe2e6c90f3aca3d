#include "container/cr3_boxes.h"

#include <cstring>
#include <optional>

#include "container/iso_boxes.h"
#include "container/source_bytes.h"

namespace tiffwalker::container {

namespace {

constexpr unsigned char kCanonUuid[16] = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                          0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};

struct CmtBox {
    uint32_t type;
    TiffRole role;
    const char* label;
};

constexpr CmtBox kCmtBoxes[] = {
    {fourCc("CMT1"), TiffRole::Main, "CMT1 box (IFD0)"},
    {fourCc("CMT2"), TiffRole::ExifDirectory, "CMT2 box (EXIF directory)"},
    {fourCc("CMT3"), TiffRole::MakerNote, "CMT3 box (Canon maker note)"},
};

// The uuid box of Canon's metadata among moov's boxes.
std::optional<Box> findCanonUuid(ByteSource& source, const Box& moov) {
    BoxList boxes(source, moov.payload, moov.end);
    while (const std::optional<Box> box = boxes.next()) {
        if (box->type != fourCc("uuid") || box->end - box->payload < 16) continue;
        unsigned char uuid[16];
        if (readExact(source, box->payload, uuid, sizeof uuid) && std::memcmp(uuid, kCanonUuid, sizeof uuid) == 0) {
            return box;
        }
    }
    return std::nullopt;
}

}  // namespace

bool isCr3File(ByteSource& source) {
    BoxList top(source, 0, source.size());
    const std::optional<Box> ftyp = top.next();
    unsigned char brand[4];
    return ftyp && ftyp->type == fourCc("ftyp") && ftyp->end - ftyp->payload >= 4 &&
           readExact(source, ftyp->payload, brand, sizeof brand) && bigEndian32(brand) == fourCc("crx ");
}

std::vector<TiffLocation> findCr3Structures(ByteSource& source) {
    std::vector<TiffLocation> found;
    const std::optional<Box> moov = findBox(source, 0, source.size(), fourCc("moov"));
    if (!moov) return found;
    const std::optional<Box> uuid = findCanonUuid(source, *moov);
    if (!uuid) return found;
    for (const CmtBox& cmt : kCmtBoxes) {
        const std::optional<Box> box = findBox(source, uuid->payload + 16, uuid->end, cmt.type);
        if (box && hasTiffHeaderAt(source, box->payload)) {
            found.push_back(TiffLocation{box->payload, box->end - box->payload, cmt.role, cmt.label});
        }
    }
    return found;
}

}  // namespace tiffwalker::container
