#include "container/heif_exif.h"

#include <string>
#include <vector>

#include "container/container_limits.h"
#include "container/iso_boxes.h"
#include "container/source_bytes.h"

namespace tiffwalker::container {

namespace {

// Reads big-endian fields from a stretch of memory; a read past its end fails
// and every later read fails too.
class FieldReader {
public:
    FieldReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    size_t left() const { return ok_ ? size_ - at_ : 0; }
    uint64_t number(unsigned bytes) {
        if (!ok_ || bytes > size_ - at_) {
            ok_ = false;
            return 0;
        }
        const uint64_t value = bigEndianOfSize(data_ + at_, bytes);
        at_ += bytes;
        return value;
    }
    void skip(uint64_t bytes) {
        if (!ok_ || bytes > size_ - at_) {
            ok_ = false;
            return;
        }
        at_ += static_cast<size_t>(bytes);
    }
    uint32_t u8() { return static_cast<uint32_t>(number(1)); }
    uint32_t u16() { return static_cast<uint32_t>(number(2)); }
    uint32_t u32() { return static_cast<uint32_t>(number(4)); }

private:
    const unsigned char* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

constexpr uint32_t kExifType = fourCc("Exif");

bool isHeifBrand(uint32_t brand) {
    for (const uint32_t known :
         {fourCc("heic"), fourCc("heix"), fourCc("heim"), fourCc("heis"), fourCc("hevc"), fourCc("hevx"),
          fourCc("mif1"), fourCc("mif2"), fourCc("msf1"), fourCc("avif"), fourCc("avis")}) {
        if (brand == known) return true;
    }
    return false;
}

// The payload of a box of the meta box held in memory.
FieldReader payloadOf(const std::vector<unsigned char>& meta, const Box& box) {
    return FieldReader(meta.data() + box.payload, static_cast<size_t>(box.end - box.payload));
}

// The id of the first item of type "Exif" in iinf.
std::optional<uint32_t> findExifItemId(const std::vector<unsigned char>& meta, const Box& iinf) {
    FieldReader fields = payloadOf(meta, iinf);
    const uint32_t version = fields.u8();
    fields.number(3);
    fields.number(version == 0 ? 2 : 4);  // the entry count: the boxes that follow say it again
    if (!fields.ok()) return std::nullopt;
    MemorySource memory(meta.data(), meta.size());
    const int64_t entriesStart = iinf.end - static_cast<int64_t>(fields.left());
    // Files of many image tiles hold an entry for each.
    BoxList entries(memory, entriesStart, iinf.end, static_cast<int>(limits::kMaxItems));
    while (const std::optional<Box> infe = entries.next()) {
        if (infe->type != fourCc("infe")) continue;
        FieldReader entry = payloadOf(meta, *infe);
        const uint32_t entryVersion = entry.u8();
        entry.number(3);
        // Versions 0 and 1 have no item type; 2 has a 16-bit id, 3 a 32-bit one.
        if (entryVersion < 2) continue;
        const uint32_t id = entryVersion == 2 ? entry.u16() : entry.u32();
        entry.u16();  // protection index
        const uint32_t type = entry.u32();
        if (entry.ok() && type == kExifType) return id;
    }
    return std::nullopt;
}

struct Stretch {
    int64_t offset = 0;
    int64_t length = 0;
};

bool isFieldSize(uint32_t size) { return size == 0 || size == 4 || size == 8; }

// Where the item lies in the file, from iloc: its extents must make one
// stretch. Extents of construction method 1 lie in idat.
std::optional<Stretch> locateItem(const std::vector<unsigned char>& meta, const Box& iloc, uint32_t wanted,
                                  std::optional<Stretch> idat, int64_t fileSize) {
    FieldReader fields = payloadOf(meta, iloc);
    const uint32_t version = fields.u8();
    fields.number(3);
    const uint32_t sizes = fields.u8();
    const uint32_t offsetSize = sizes >> 4;
    const uint32_t lengthSize = sizes & 0x0F;
    const uint32_t moreSizes = fields.u8();
    const uint32_t baseOffsetSize = moreSizes >> 4;
    const uint32_t indexSize = version >= 1 ? moreSizes & 0x0F : 0;
    if (version > 2 || !isFieldSize(offsetSize) || !isFieldSize(lengthSize) || !isFieldSize(baseOffsetSize) ||
        !isFieldSize(indexSize)) {
        return std::nullopt;
    }
    const uint32_t itemCount = version < 2 ? fields.u16() : fields.u32();
    for (uint32_t item = 0; item < itemCount && item < limits::kMaxItems && fields.ok(); ++item) {
        const uint32_t id = version < 2 ? fields.u16() : fields.u32();
        const uint32_t constructionMethod = version >= 1 ? fields.u16() & 0x0F : 0;
        const uint32_t dataReference = fields.u16();
        const uint64_t baseOffset = fields.number(baseOffsetSize);
        const uint32_t extentCount = fields.u16();
        if (!fields.ok()) return std::nullopt;
        if (id != wanted) {
            // Stepped over whole: extents of no bytes at all must not make a
            // loop of their count for every item.
            fields.skip(uint64_t{extentCount} * (indexSize + offsetSize + lengthSize));
            continue;
        }
        // Data in another file, or made of other items, cannot be read here.
        if (dataReference != 0 || constructionMethod > 1 || (constructionMethod == 1 && !idat)) return std::nullopt;
        // Where the item's offsets count from, and how far its data may go.
        const int64_t origin = constructionMethod == 1 ? idat->offset : 0;
        const int64_t limit = constructionMethod == 1 ? idat->offset + idat->length : fileSize;
        if (extentCount > limits::kMaxExtents) return std::nullopt;
        Stretch stretch;
        for (uint32_t extent = 0; extent < extentCount; ++extent) {
            fields.number(indexSize);
            const uint64_t offset = fields.number(offsetSize);
            uint64_t length = fields.number(lengthSize);
            if (!fields.ok()) return std::nullopt;
            const auto room = static_cast<uint64_t>(limit - origin);
            if (baseOffset > room || offset > room - baseOffset) return std::nullopt;
            const auto start = static_cast<int64_t>(baseOffset + offset) + origin;
            // A length of 0: the rest of the data.
            if (length == 0) length = static_cast<uint64_t>(limit - start);
            if (length > static_cast<uint64_t>(limit - start)) return std::nullopt;
            if (extent == 0) {
                stretch = {start, static_cast<int64_t>(length)};
            } else if (start == stretch.offset + stretch.length) {
                stretch.length += static_cast<int64_t>(length);
            } else {
                return std::nullopt;  // in pieces: no window shows it as one
            }
        }
        if (extentCount == 0) return std::nullopt;
        return stretch;
    }
    return std::nullopt;
}

}  // namespace

bool isHeifFile(ByteSource& source) {
    BoxList top(source, 0, source.size());
    const std::optional<Box> ftyp = top.next();
    if (!ftyp || ftyp->type != fourCc("ftyp")) return false;
    // The major brand, the minor version, then the compatible brands.
    for (int64_t at = ftyp->payload; at + 4 <= ftyp->end && at < ftyp->payload + 4 * 64; at += 4) {
        if (at == ftyp->payload + 4) continue;
        unsigned char brand[4];
        if (!readExact(source, at, brand, sizeof brand)) return false;
        if (isHeifBrand(bigEndian32(brand))) return true;
    }
    return false;
}

std::optional<TiffLocation> findHeifExif(ByteSource& source) {
    const std::optional<Box> meta = findBox(source, 0, source.size(), fourCc("meta"));
    if (!meta || meta->end - meta->payload > limits::kMaxMetaBytes) return std::nullopt;
    // The meta box is read whole: its item lists are walked field by field.
    std::vector<unsigned char> bytes(static_cast<size_t>(meta->end - meta->payload));
    if (!readExact(source, meta->payload, bytes.data(), bytes.size())) return std::nullopt;
    MemorySource memory(bytes.data(), bytes.size());
    // meta is a full box: 4 bytes of version and flags before its boxes.
    std::optional<Box> iinf, iloc, idat;
    BoxList children(memory, 4, memory.size());
    while (const std::optional<Box> child = children.next()) {
        if (child->type == fourCc("iinf") && !iinf) iinf = child;
        if (child->type == fourCc("iloc") && !iloc) iloc = child;
        if (child->type == fourCc("idat") && !idat) idat = child;
    }
    if (!iinf || !iloc) return std::nullopt;
    const std::optional<uint32_t> id = findExifItemId(bytes, *iinf);
    if (!id) return std::nullopt;
    std::optional<Stretch> idatStretch;
    if (idat) idatStretch = Stretch{meta->payload + idat->payload, idat->end - idat->payload};
    const std::optional<Stretch> item = locateItem(bytes, *iloc, *id, idatStretch, source.size());
    if (!item || item->length < 4) return std::nullopt;
    unsigned char skipBytes[4];
    if (!readExact(source, item->offset, skipBytes, sizeof skipBytes)) return std::nullopt;
    const uint32_t skip = bigEndian32(skipBytes);
    if (skip > static_cast<uint64_t>(item->length - 4)) return std::nullopt;
    const int64_t tiff = item->offset + 4 + skip;
    if (!hasTiffHeaderAt(source, tiff)) return std::nullopt;
    return TiffLocation{tiff, item->offset + item->length - tiff, TiffRole::Main, "Exif item " + std::to_string(*id)};
}

}  // namespace tiffwalker::container
