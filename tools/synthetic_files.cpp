#include "synthetic_files.h"

#include <fstream>

namespace synthetic {

namespace {

class Writer {
public:
    Writer(Order order, uint32_t filePosition) : big_(order == Order::Motorola), filePosition_(filePosition) {}

    size_t size() const { return out_.size(); }
    Bytes& bytes() { return out_; }

    void put(uint64_t value, unsigned size) {
        for (unsigned i = 0; i < size; ++i) {
            const unsigned shift = big_ ? 8 * (size - 1 - i) : 8 * i;
            out_.push_back(static_cast<uint8_t>(value >> shift));
        }
    }
    void patch32(size_t at, uint32_t value) {
        for (unsigned i = 0; i < 4; ++i) {
            const unsigned shift = big_ ? 8 * (3 - i) : 8 * i;
            out_[at + i] = static_cast<uint8_t>(value >> shift);
        }
    }
    void append(const Bytes& data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void align() {
        if (out_.size() % 2 != 0) out_.push_back(0);
    }
    // Offsets inside the structure count from its first byte; SubIFD offsets are absolute.
    uint32_t absolute(size_t at) const { return static_cast<uint32_t>(filePosition_ + at); }

    Bytes encode(const Entry& entry) const {
        Bytes data = entry.raw;
        for (uint64_t number : entry.numbers) {
            for (unsigned i = 0; i < entry.valueSize; ++i) {
                const unsigned shift = big_ ? 8 * (entry.valueSize - 1 - i) : 8 * i;
                data.push_back(static_cast<uint8_t>(number >> shift));
            }
        }
        return data;
    }

    void writeHeader() {
        out_.push_back(big_ ? 'M' : 'I');
        out_.push_back(big_ ? 'M' : 'I');
        put(42, 2);
        put(8, 4);
    }

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
            const bool subIfds = entry.tag == 0x014a;
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
            for (size_t i = 0; i < data.size(); ++i) out_[field + i] = data[i];
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
        const uint32_t first = inner.writeIfd(note.ifd);
        inner.patch32(4, first);
        bytes.insert(bytes.end(), inner.bytes().begin(), inner.bytes().end());
        return bytes;
    }

    bool big_;
    uint32_t filePosition_;
    Bytes out_;
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
    entry.tag = 0x927c;
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

Ifd cameraIfd0(const CameraFile& camera, bool withSubImage) {
    auto makerNote = std::make_shared<MakerNote>();
    makerNote->order = camera.makerNoteOrder;
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
    if (camera.withShutterCount) makerNote->ifd.entries.push_back(Entry::longs(0x00a7, {camera.shutterCount}));

    auto exif = std::make_shared<Ifd>();
    exif->entries = {
        Entry::rationals(0x829a, {{1, 250}}),
        Entry::rationals(0x829d, {{56, 10}}),
        Entry::shorts(0x8822, {3}),
        Entry::shorts(0x8827, {200}),
        Entry::bytes(0x9000, 7, {'0', '2', '2', '1'}),
        Entry::ascii(0x9003, "2026:12:07 10:00:00"),
        Entry::shorts(0x9207, {5}),
        Entry::shorts(0x9209, {0}),
        Entry::rationals(0x920a, {{180, 10}}),
        Entry::nikonMakerNote(makerNote),
        Entry::shorts(0xa405, {27}),
    };

    Ifd ifd0;
    ifd0.entries = {Entry::longs(0x00fe, {1}), Entry::longs(0x0100, {160}), Entry::longs(0x0101, {120}),
                    Entry::shorts(0x0103, {6}), Entry::ascii(0x010f, "NIKON CORPORATION"),
                    Entry::ascii(0x0110, camera.model), Entry::shorts(0x0112, {1}),
                    Entry::rationals(0x011a, {{300, 1}}), Entry::rationals(0x011b, {{300, 1}}),
                    Entry::shorts(0x0128, {2}), Entry::ascii(0x0131, "Ver.1.00")};
    if (withSubImage) {
        auto sub = std::make_shared<Ifd>();
        sub->entries = {Entry::longs(0x00fe, {0}), Entry::longs(0x0100, {3008}), Entry::longs(0x0101, {2000}),
                        Entry::shorts(0x0103, {34713}), Entry::longs(0x0111, {0}),
                        Entry::longs(0x0117, {static_cast<uint64_t>(camera.imageBytes)})};
        ifd0.entries.push_back(Entry::pointer(0x014a, {sub}));
    }
    ifd0.entries.push_back(Entry::pointer(0x8769, {exif}));
    return ifd0;
}

}  // namespace

Bytes makeNef(const CameraFile& camera) {
    Bytes file = buildTiff(cameraIfd0(camera, true), camera.order);
    file.resize(file.size() + camera.imageBytes, 0x5a);
    return file;
}

Bytes makeJpeg(const CameraFile& camera, bool app0First) {
    Bytes file = wrapInJpeg(buildTiff(cameraIfd0(camera, false), camera.order), app0First);
    file.resize(file.size() + camera.imageBytes, 0x5a);
    return file;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace synthetic
