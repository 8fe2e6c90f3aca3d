#include "container_files.h"

#include <cstring>

#include "byte_writer.h"

namespace containers {

Bytes exifMark() { return {'E', 'x', 'i', 'f', 0, 0}; }

namespace {

constexpr bool kBig = true;

Bytes text(const std::string& value) { return Bytes(value.begin(), value.end()); }

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace

Bytes segment(uint8_t marker, const Bytes& data) {
    bytes::ByteWriter out(kBig);
    out.u8(0xFF).u8(marker).u16(static_cast<uint32_t>(data.size() + 2)).append(data);
    return out.bytes();
}

Bytes jfifSegment() { return segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}); }

Bytes commentSegment(const std::string& value) { return segment(0xFE, text(value)); }

Bytes iccSegment() {
    Bytes data = text("ICC_PROFILE");
    data.push_back(0);
    data.push_back(1);  // chunk 1
    data.push_back(1);  // of 1
    data.resize(data.size() + 128, 0x11);
    return segment(0xE2, data);
}

Bytes adobeSegment() { return segment(0xEE, {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 1}); }

Bytes photoshopSegment() {
    Bytes data = text("Photoshop 3.0");
    data.push_back(0);
    const Bytes resource = text("8BIM");
    data.insert(data.end(), resource.begin(), resource.end());
    data.resize(data.size() + 24, 0);
    return segment(0xED, data);
}

Bytes xmpSegment() {
    Bytes data = text("http://ns.adobe.com/xap/1.0/");
    data.push_back(0);
    const Bytes packet = text("<x:xmpmeta xmlns:x='adobe:ns:meta/'/>");
    data.insert(data.end(), packet.begin(), packet.end());
    return segment(0xE1, data);
}

Bytes exifSegment(const Bytes& tiff) { return segment(0xE1, join({{'E', 'x', 'i', 'f', 0, 0}, tiff})); }

Bytes jpeg(const std::vector<Bytes>& segments) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& part : segments) out.insert(out.end(), part.begin(), part.end());
    // A token quantisation table and start of scan, then the end of the image.
    const Bytes tail = {0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

Bytes box(const char* type, const Bytes& payload, bool large) {
    bytes::ByteWriter out(kBig);
    if (large) {
        out.u32(1).text(type).number(16 + payload.size(), 8);
    } else {
        out.u32(static_cast<uint32_t>(8 + payload.size())).text(type);
    }
    out.append(payload);
    return out.bytes();
}

Bytes fullBox(const char* type, uint8_t version, const Bytes& payload) {
    return box(type, join({{version, 0, 0, 0}, payload}));
}

namespace {

// meta, with the image at imageOffset and the Exif data at exifOffset (file
// offsets, or idat offsets for the Exif item in idat).
Bytes heifMeta(const Bytes& exifData, const HeifLayout& layout, uint64_t imageOffset, uint64_t imageLength,
               uint64_t exifOffset) {
    const Bytes hdlr = fullBox("hdlr", 0, join({Bytes(4, 0), text("pict"), Bytes(13, 0)}));
    const Bytes pitm = fullBox("pitm", 0, {0, 1});
    const auto infe = [&layout](uint32_t id, const char* type) {
        bytes::ByteWriter fields(kBig);
        fields.number(id, layout.infeVersion == 3 ? 4 : 2).u16(0).text(type).u8(0);
        return fullBox("infe", layout.infeVersion, fields.bytes());
    };
    const Bytes iinf = fullBox("iinf", 0, join({{0, 2}, infe(1, "hvc1"), infe(layout.exifItemId, "Exif")}));

    bytes::ByteWriter iloc(kBig);
    const unsigned idSize = layout.ilocVersion < 2 ? 2 : 4;
    iloc.u8(static_cast<uint8_t>(layout.offsetSize << 4 | layout.lengthSize));
    iloc.u8(static_cast<uint8_t>(layout.baseOffsetSize << 4 | (layout.ilocVersion >= 1 ? layout.indexSize : 0)));
    iloc.number(2, idSize);
    const auto item = [&](uint32_t id, uint16_t method, uint64_t offset, uint64_t length, bool twoExtents) {
        iloc.number(id, idSize);
        if (layout.ilocVersion >= 1) iloc.u16(method);
        iloc.u16(0);  // data in this file
        // With a base offset the extents count from it.
        uint64_t base = 0;
        if (layout.baseOffsetSize != 0) {
            base = offset;
            offset = 0;
        }
        iloc.number(base, layout.baseOffsetSize);
        iloc.u16(twoExtents ? 2 : 1);
        const uint64_t first = twoExtents ? length / 2 : length;
        if (layout.ilocVersion >= 1) iloc.number(0, layout.indexSize);
        iloc.number(offset, layout.offsetSize).number(layout.lengthSize == 0 ? 0 : first, layout.lengthSize);
        if (twoExtents) {
            if (layout.ilocVersion >= 1) iloc.number(0, layout.indexSize);
            iloc.number(offset + first, layout.offsetSize).number(length - first, layout.lengthSize);
        }
    };
    item(1, 0, imageOffset, imageLength, false);
    item(layout.exifItemId, layout.inIdat ? 1 : 0, exifOffset, exifData.size(), layout.twoExtents);
    Bytes children = join({hdlr, pitm, iinf, fullBox("iloc", layout.ilocVersion, iloc.bytes())});
    if (layout.inIdat) children = join({children, box("idat", exifData)});
    return box("meta", join({{0, 0, 0, 0}, children}), layout.largeBoxes);
}

}  // namespace

Bytes heif(const Bytes& tiff, const HeifLayout& layout) {
    bytes::ByteWriter exif(kBig);
    exif.u32(static_cast<uint32_t>(layout.beforeTiff.size())).append(layout.beforeTiff).append(tiff);
    const Bytes& exifData = exif.bytes();
    const Bytes image(64, 0x5a);
    const Bytes ftyp = box("ftyp", join({text("heic"), Bytes(4, 0), text("mif1heic")}));
    const size_t metaSize = heifMeta(exifData, layout, 0, 0, 0).size();
    const size_t mdatHeader = layout.largeBoxes ? 16 : 8;
    const uint64_t imageOffset = ftyp.size() + metaSize + mdatHeader;
    const uint64_t exifOffset = layout.inIdat ? 0 : imageOffset + image.size();
    const Bytes meta = heifMeta(exifData, layout, imageOffset, image.size(), exifOffset);
    Bytes mdat = box("mdat", layout.inIdat ? image : join({image, exifData}), layout.largeBoxes);
    if (layout.mdatToEnd) bytes::storeNumber(mdat, 0, layout.largeBoxes ? 1 : 0, 4, kBig);
    if (layout.mdatToEnd && layout.largeBoxes) bytes::storeNumber(mdat, 8, 0, 8, kBig);
    return join({ftyp, meta, mdat});
}

Bytes cr3(const Bytes& cmt1, const Bytes& cmt2, const Bytes& cmt3) {
    const Bytes ftyp = box("ftyp", join({text("crx "), {0, 0, 0, 1}, text("crx isom")}));
    Bytes canon = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0, 0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
    canon = join({canon, box("CNCV", text("CanonCR3_001/00.09.00/00.00.00"))});
    if (!cmt1.empty()) canon = join({canon, box("CMT1", cmt1)});
    if (!cmt2.empty()) canon = join({canon, box("CMT2", cmt2)});
    if (!cmt3.empty()) canon = join({canon, box("CMT3", cmt3)});
    const Bytes moov = box("moov", join({box("mvhd", Bytes(100, 0)), box("uuid", canon), box("trak", Bytes(32, 0))}));
    return join({ftyp, moov, box("mdat", Bytes(64, 0x5a))});
}

Bytes raf(const Bytes& jpegData) {
    constexpr uint32_t kJpegOffset = 160;
    bytes::ByteWriter out(kBig);
    out.text("FUJIFILMCCD-RAW ").text("0201").text("FF383501");
    Bytes name = text("X-T3");
    name.resize(32, 0);
    out.append(name).text("0100");
    out.fill(84 - out.size());
    out.u32(kJpegOffset).u32(static_cast<uint32_t>(jpegData.size()));
    out.fill(kJpegOffset - out.size());
    out.append(jpegData);
    out.fill(64, 0x5a);  // stands for the raw data
    return out.bytes();
}

}  // namespace containers
