#include "synthetic_files.h"

#include <algorithm>
#include <fstream>

#include <tiffwalker/tag_numbers.h>
#include "byte_writer.h"

namespace synthetic {

namespace tags = tiffwalker::tags;

namespace {

class Writer {
public:
    Writer(Order order, uint32_t filePosition) : out_(order == Order::Motorola), filePosition_(filePosition) {}

    size_t size() const { return out_.size(); }
    Bytes& bytes() { return out_.bytes(); }

    void put(uint64_t value, unsigned size) { out_.number(value, size); }
    void patch32(size_t at, uint32_t value) { out_.patch32(at, value); }
    void append(const Bytes& data) { out_.append(data); }
    void align() {
        if (out_.size() % 2 != 0) out_.u8(0);
    }
    // Offsets inside the structure count from its first byte; SubIFD offsets are absolute.
    uint32_t absolute(size_t at) const { return static_cast<uint32_t>(filePosition_ + at); }

    Bytes encode(const Entry& entry) const {
        ::bytes::ByteWriter data(out_.bigEndian());
        data.append(entry.raw);
        for (uint64_t number : entry.numbers) data.number(number, entry.valueSize);
        return data.bytes();
    }

    void writeHeader() { out_.header(8); }

    // Writes the directory at the end and everything it points to after it;
    // returns the directory's offset.
    uint32_t writeIfd(const Ifd& ifd) {
        align();
        const size_t start = size();
        put(ifd.entries.size(), 2);
        std::vector<size_t> fields;
        for (const Entry& entry : ifd.entries) {
            put(entry.tag, 2);
            put(entry.type, 2);
            put(entry.count, 4);
            fields.push_back(size());
            put(0, 4);
        }
        put(ifd.nextIfd, 4);
        for (size_t i = 0; i < ifd.entries.size(); ++i) writeValue(ifd.entries[i], fields[i]);
        return static_cast<uint32_t>(start);
    }

private:
    void writeValue(const Entry& entry, size_t field) {
        if (entry.makerNote) {
            align();
            const size_t start = size();
            const Bytes note = nikonMakerNoteBytes(*entry.makerNote);
            append(note);
            patch32(field - 4, static_cast<uint32_t>(note.size()));
            patch32(field, static_cast<uint32_t>(start));
            return;
        }
        if (!entry.children.empty()) {
            std::vector<uint32_t> positions;
            for (const auto& child : entry.children) positions.push_back(writeIfd(*child));
            const bool subIfds = entry.tag == tags::kSubIfdOffsets;
            auto position = [&](uint32_t at) { return subIfds ? absolute(at) : at; };
            if (positions.size() == 1) {
                patch32(field, position(positions[0]));
            } else {
                align();
                patch32(field, static_cast<uint32_t>(size()));
                for (uint32_t at : positions) put(position(at), 4);
            }
            return;
        }
        const Bytes data = encode(entry);
        if (data.size() <= 4) {
            std::copy(data.begin(), data.end(), out_.bytes().begin() + static_cast<std::ptrdiff_t>(field));
            return;
        }
        align();
        patch32(field, static_cast<uint32_t>(size()));
        append(data);
    }

    static Bytes nikonMakerNoteBytes(const MakerNote& note) {
        Bytes bytes = {'N', 'i', 'k', 'o', 'n', 0, 2, 0x10, 0, 0};
        Writer inner(note.order, 0);
        inner.writeHeader();
        if (!note.validHeader) inner.bytes()[0] = inner.bytes()[1] = 'X';
        const uint32_t first = inner.writeIfd(note.ifd);
        inner.patch32(4, first);
        bytes.insert(bytes.end(), inner.bytes().begin(), inner.bytes().end());
        return bytes;
    }

    ::bytes::ByteWriter out_;
    uint32_t filePosition_;
};

Entry numbersEntry(uint16_t tag, uint16_t type, unsigned size, std::vector<uint64_t> values) {
    Entry entry;
    entry.tag = tag;
    entry.type = type;
    entry.count = static_cast<uint32_t>(values.size());
    entry.numbers = std::move(values);
    entry.valueSize = size;
    return entry;
}

}  // namespace

Entry Entry::bytes(uint16_t tag, uint16_t type, Bytes data) {
    Entry entry;
    entry.tag = tag;
    entry.type = type;
    entry.count = static_cast<uint32_t>(data.size());
    entry.raw = std::move(data);
    return entry;
}

Entry Entry::ascii(uint16_t tag, const std::string& text) {
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return bytes(tag, 2, std::move(data));
}

Entry Entry::shorts(uint16_t tag, std::vector<uint64_t> values, uint16_t type) {
    return numbersEntry(tag, type, 2, std::move(values));
}

Entry Entry::longs(uint16_t tag, std::vector<uint64_t> values, uint16_t type) {
    return numbersEntry(tag, type, 4, std::move(values));
}

Entry Entry::rationals(uint16_t tag, std::vector<std::pair<uint32_t, uint32_t>> values, uint16_t type) {
    std::vector<uint64_t> numbers;
    for (const auto& [numerator, denominator] : values) {
        numbers.push_back(numerator);
        numbers.push_back(denominator);
    }
    Entry entry = numbersEntry(tag, type, 4, std::move(numbers));
    entry.count = static_cast<uint32_t>(values.size());
    return entry;
}

Entry Entry::field(uint16_t tag, uint16_t type, uint32_t count, uint32_t valofs) {
    Entry entry = numbersEntry(tag, type, 4, {valofs});
    entry.count = count;
    return entry;
}

Entry Entry::pointer(uint16_t tag, std::vector<std::shared_ptr<Ifd>> directories) {
    Entry entry;
    entry.tag = tag;
    entry.type = 4;
    entry.count = static_cast<uint32_t>(directories.size());
    entry.children = std::move(directories);
    return entry;
}

Entry Entry::nikonMakerNote(std::shared_ptr<MakerNote> note) {
    Entry entry;
    entry.tag = tags::kMakerNoteOffset;
    entry.type = 7;
    entry.makerNote = std::move(note);
    // The count, the note's length, is filled in when the note is written.
    return entry;
}

Bytes buildTiff(const Ifd& ifd0, Order order, uint32_t filePosition) {
    Writer writer(order, filePosition);
    writer.writeHeader();
    const uint32_t first = writer.writeIfd(ifd0);
    writer.patch32(4, first);
    return writer.bytes();
}

Bytes wrapInJpeg(const Bytes& tiff, bool app0First) {
    Bytes jpeg = {0xFF, 0xD8};
    if (app0First) {
        const Bytes app0 = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
        jpeg.insert(jpeg.end(), app0.begin(), app0.end());
    }
    const size_t length = 2 + 6 + tiff.size();
    jpeg.push_back(0xFF);
    jpeg.push_back(0xE1);
    jpeg.push_back(static_cast<uint8_t>(length >> 8));
    jpeg.push_back(static_cast<uint8_t>(length));
    for (char c : std::string("Exif", 4)) jpeg.push_back(static_cast<uint8_t>(c));
    jpeg.push_back(0);
    jpeg.push_back(0);
    jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
    // A token quantisation table and start of scan, then the end of the image.
    const Bytes tail = {0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};
    jpeg.insert(jpeg.end(), tail.begin(), tail.end());
    return jpeg;
}

namespace {

// Bytes that stand for a value of the given length: a repeating ramp.
Bytes filler(size_t length, uint8_t seed) {
    Bytes data(length);
    for (size_t i = 0; i < length; ++i) data[i] = static_cast<uint8_t>(seed + i * 7);
    return data;
}

// A UserComment as cameras write it: the ASCII character code, then spaces.
Bytes userComment() {
    Bytes data = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};
    data.resize(44, ' ');
    return data;
}

// The rest of a real Nikon maker note (D7000-like): settings texts, picture
// control, world time, ISO info, lens data, colour balance, flash info.
void addFullMakerNoteEntries(std::vector<Entry>& entries) {
    const std::vector<Entry> more = {
        Entry::ascii(0x0005, "AUTO        "),
        Entry::ascii(0x0006, "AUTO  "),
        Entry::ascii(0x0007, "AF-S  "),
        Entry::ascii(0x0008, "NORMAL      "),
        Entry::shorts(0x000b, {0, 0}, 8),
        Entry::rationals(0x000c, {{473, 256}, {349, 256}, {256, 256}, {256, 256}}),
        Entry::bytes(0x000d, 7, {0, 1, 6, 0}),
        Entry::bytes(0x000e, 7, {0, 1, 12, 0}),
        Entry::bytes(0x0012, 7, {0, 1, 6, 0}),
        Entry::shorts(0x0013, {0, 200}),
        Entry::shorts(0x0016, {0, 0, 4928, 3264}),
        Entry::bytes(0x0017, 7, {0, 1, 6, 0}),
        Entry::bytes(0x0018, 7, {0, 1, 6, 0}),
        Entry::rationals(0x0019, {{0, 6}}, 10),
        Entry::shorts(0x001b, {0, 4992, 3280, 4992, 3280, 0, 0}),
        Entry::shorts(0x001e, {1}),
        Entry::shorts(0x0022, {65535}),
        Entry::bytes(0x0023, 7, filler(58, 3)),
        Entry::bytes(0x0024, 7, filler(12, 5)),
        Entry::bytes(0x0025, 7, filler(14, 9)),
        Entry::longs(0x002a, {1}),
        Entry::bytes(0x002b, 7, filler(16, 11)),
        Entry::bytes(0x002c, 7, filler(94, 13)),
        Entry::bytes(0x0032, 7, filler(8, 17)),
        Entry::rationals(0x003b, {{256, 256}, {256, 256}, {256, 256}, {256, 256}}),
        Entry::shorts(0x003c, {1}),
        Entry::shorts(0x0089, {0}),
        Entry::shorts(0x008a, {1}),
        Entry::bytes(0x008b, 7, {0x40, 1, 0x0c, 0}),
        Entry::ascii(0x0095, "OFF "),
        Entry::bytes(0x0097, 7, filler(1302, 19)),
        Entry::bytes(0x0098, 7, filler(33, 23)),
        Entry::shorts(0x009e, {9, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
        Entry::longs(0x00a2, {16150528}),
        Entry::bytes(0x00a3, 1, {0}),
        Entry::bytes(0x00a8, 7, filler(49, 29)),
        Entry::bytes(0x00b0, 7, filler(16, 31)),
        Entry::shorts(0x00b1, {4}),
        Entry::bytes(0x00b6, 7, filler(8, 37)),
        Entry::bytes(0x00b7, 7, filler(84, 41)),
        Entry::bytes(0x00b8, 7, filler(172, 43)),
        Entry::bytes(0x00bb, 7, filler(6, 47)),
        Entry::bytes(0x0e00, 7, filler(132, 53)),
    };
    entries.insert(entries.end(), more.begin(), more.end());
}

void addFullExifEntries(std::vector<Entry>& entries) {
    const std::vector<Entry> more = {
        Entry::ascii(0x9004, "2026:12:07 10:00:00"),
        Entry::bytes(0x9101, 7, {1, 2, 3, 0}),
        Entry::rationals(0x9102, {{4, 1}}),
        Entry::rationals(0x9204, {{0, 6}}, 10),
        Entry::rationals(0x9205, {{36, 10}}),
        Entry::shorts(0x9208, {0}),
        Entry::bytes(0x9286, 7, userComment()),
        Entry::ascii(0x9290, "00"),
        Entry::ascii(0x9291, "00"),
        Entry::ascii(0x9292, "00"),
        Entry::bytes(0xa000, 7, {'0', '1', '0', '0'}),
        Entry::shorts(0xa001, {1}),
        Entry::longs(0xa002, {4928}),
        Entry::longs(0xa003, {3264}),
        Entry::shorts(0xa217, {2}),
        Entry::bytes(0xa300, 7, {3}),
        Entry::bytes(0xa301, 7, {1}),
        Entry::bytes(0xa302, 7, {0, 2, 0, 2, 0, 1, 1, 2}),
        Entry::shorts(0xa401, {0}),
        Entry::shorts(0xa402, {0}),
        Entry::shorts(0xa403, {0}),
        Entry::rationals(0xa404, {{1, 1}}),
        Entry::shorts(0xa406, {0}),
        Entry::shorts(0xa407, {0}),
        Entry::shorts(0xa408, {0}),
        Entry::shorts(0xa409, {0}),
        Entry::shorts(0xa40a, {0}),
        Entry::shorts(0xa40c, {0}),
    };
    entries.insert(entries.end(), more.begin(), more.end());
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
}

Ifd cameraIfd0(const CameraFile& camera, bool withSubImage) {
    auto makerNote = std::make_shared<MakerNote>();
    makerNote->order = camera.makerNoteOrder;
    makerNote->validHeader = camera.makerNoteHeaderValid;
    makerNote->ifd.entries = {
        Entry::bytes(0x0001, 7, {'0', '2', '1', '0'}),
        Entry::shorts(0x0002, {0, 200}),
        Entry::ascii(0x0003, "COLOR"),
        Entry::ascii(0x0004, "RAW    "),
        Entry::bytes(0x0083, 1, {0x06}),
        Entry::rationals(0x0084, {{18, 1}, {70, 1}, {35, 10}, {45, 10}}),
        Entry::bytes(0x0087, 1, {0x00}),
        Entry::bytes(0x0088, 7, {0x00, 0x01, 0x00, 0x02}),
    };
    if (camera.withShutterCount)
        makerNote->ifd.entries.push_back(Entry::longs(tags::kShutterCount, {camera.shutterCount}));
    if (camera.mechanicalCount) makerNote->ifd.entries.push_back(Entry::longs(0x0037, {*camera.mechanicalCount}));
    if (!camera.serialNumber.empty()) makerNote->ifd.entries.push_back(Entry::ascii(0x001d, camera.serialNumber));
    if (camera.fullEntrySet) addFullMakerNoteEntries(makerNote->ifd.entries);
    std::sort(makerNote->ifd.entries.begin(), makerNote->ifd.entries.end(),
              [](const Entry& a, const Entry& b) { return a.tag < b.tag; });

    auto exif = std::make_shared<Ifd>();
    exif->entries = {
        Entry::rationals(0x829a, {{1, 250}}), Entry::rationals(0x829d, {{56, 10}}),          Entry::shorts(0x8822, {3}),
        Entry::shorts(0x8827, {200}),         Entry::bytes(0x9000, 7, {'0', '2', '2', '1'}),
    };
    if (!camera.dateTimeOriginal.empty()) exif->entries.push_back(Entry::ascii(0x9003, camera.dateTimeOriginal));
    exif->entries.push_back(Entry::shorts(0x9207, {5}));
    exif->entries.push_back(Entry::shorts(0x9209, {0}));
    exif->entries.push_back(Entry::rationals(0x920a, {{180, 10}}));
    if (camera.withMakerNote) exif->entries.push_back(Entry::nikonMakerNote(makerNote));
    exif->entries.push_back(Entry::shorts(0xa405, {27}));
    if (camera.fullEntrySet) addFullExifEntries(exif->entries);

    Ifd ifd0;
    ifd0.entries = {Entry::longs(0x00fe, {1}), Entry::longs(0x0100, {160}), Entry::longs(0x0101, {120}),
                    Entry::shorts(0x0103, {6})};
    if (!camera.make.empty()) ifd0.entries.push_back(Entry::ascii(tags::kMake, camera.make));
    ifd0.entries.push_back(Entry::ascii(tags::kModel, camera.model));
    ifd0.entries.push_back(Entry::shorts(0x0112, {1}));
    ifd0.entries.push_back(Entry::rationals(0x011a, {{300, 1}}));
    ifd0.entries.push_back(Entry::rationals(0x011b, {{300, 1}}));
    ifd0.entries.push_back(Entry::shorts(0x0128, {2}));
    if (!camera.software.empty()) ifd0.entries.push_back(Entry::ascii(0x0131, camera.software));
    if (camera.fullEntrySet) {
        const std::vector<Entry> more = {
            Entry::shorts(0x0102, {8, 8, 8}),
            Entry::shorts(0x0106, {2}),
            Entry::longs(0x0111, {0}),
            Entry::shorts(0x0115, {3}),
            Entry::longs(0x0116, {120}),
            Entry::longs(0x0117, {57600}),
            Entry::shorts(0x011c, {1}),
            Entry::ascii(0x0132, "2026:12:07 10:00:00"),
            Entry::rationals(0x0214, {{0, 1}, {255, 1}, {0, 1}, {255, 1}, {0, 1}, {255, 1}}),
            Entry::bytes(0x9216, 1, {1, 0, 0, 0}),
        };
        ifd0.entries.insert(ifd0.entries.end(), more.begin(), more.end());
    }
    if (withSubImage) {
        auto sub = std::make_shared<Ifd>();
        sub->entries = {Entry::longs(0x00fe, {0}),    Entry::longs(0x0100, {3008}),
                        Entry::longs(0x0101, {2000}), Entry::shorts(0x0103, {34713}),
                        Entry::longs(0x0111, {0}),    Entry::longs(0x0117, {static_cast<uint64_t>(camera.imageBytes)})};
        if (camera.fullEntrySet) {
            auto preview = std::make_shared<Ifd>();
            preview->entries = {Entry::longs(0x00fe, {1}),
                                Entry::shorts(0x0103, {6}),
                                Entry::rationals(0x011a, {{300, 1}}),
                                Entry::rationals(0x011b, {{300, 1}}),
                                Entry::shorts(0x0128, {2}),
                                Entry::longs(0x0201, {0}),
                                Entry::longs(0x0202, {0}),
                                Entry::shorts(0x0213, {2})};
            ifd0.entries.push_back(Entry::pointer(tags::kSubIfdOffsets, {preview, sub}));
        } else {
            ifd0.entries.push_back(Entry::pointer(tags::kSubIfdOffsets, {sub}));
        }
    }
    ifd0.entries.push_back(Entry::pointer(tags::kExifOffset, {exif}));
    std::stable_sort(ifd0.entries.begin(), ifd0.entries.end(),
                     [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    return ifd0;
}

}  // namespace

Bytes makeNef(const CameraFile& camera) {
    Bytes file = buildTiff(cameraIfd0(camera, true), camera.order);
    file.resize(file.size() + camera.imageBytes, 0x5a);
    return file;
}

Bytes makeExifTiff(const CameraFile& camera) { return buildTiff(cameraIfd0(camera, false), camera.order); }

Bytes makeJpeg(const CameraFile& camera, bool app0First) {
    Bytes file = wrapInJpeg(makeExifTiff(camera), app0First);
    file.resize(file.size() + camera.imageBytes, 0x5a);
    return file;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace synthetic
