// The one route from a file's records to its count, for every maker: the
// camera identified by the registry, the maker note found, its maker's count
// reader, the outcome.
#include "reading/count_step.h"

#include <tiffwalker/ifd_types.h>
#include <tiffwalker/tag_numbers.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "makernote/maker_note_layouts.h"
#include "makernote/maker_note_reading.h"
#include "walk/first_directory.h"
#include "walk/record_lookup.h"

namespace tiffwalker {

namespace {

// The first record of this tag in this kind of directory.
const CTagRecord* recordIn(const RecordList& records, uint16_t tag, int32_t directory) {
    for (const CTagRecord& record : records) {
        if (record.ifde.tag == tag && record.iIFDType == directory) return &record;
    }
    return nullptr;
}

// DNGPrivateData, in IFD0: where Pentax bodies and raw converters keep the
// maker note in JPEG files made with or from DNG files.
constexpr uint16_t kDngPrivateData = 0xc634;

// The maker note inside DNGPrivateData: either the value itself (Pentax's
// "PENTAX \0" form), or, after "Adobe\0MakN", a 32-bit big-endian length, the
// byte-order mark of the file the maker note came from and its offset there,
// from which its offsets still count.
bool privateDataPlace(FileStream& file, const CTagRecord& record, makernote::MakerNotePlace& place) {
    if (record.ifde.count <= 4) return false;
    const int64_t position = place.structureStart + int64_t{record.ifde.valofs};
    unsigned char head[20] = {};
    const int64_t length = record.ifde.count;
    if (position < 0 || position > file.size() || length > file.size() - position) return false;
    const int64_t restore = file.tell();
    file.seek(position);
    const size_t got = file.read(head, sizeof head);
    file.seek(restore);
    if (got == sizeof head && std::memcmp(head, "Adobe\0MakN", 10) == 0) {
        ByteOrder big;
        big.setBigEndian(true);
        const int64_t stored = big.get32(head + 10);  // from the byte-order mark on
        if (stored < 6 || stored > length - 14) return false;
        place.structureOrder.setFromMark(head + 14);
        place.position = position + 20;
        place.length = stored - 6;
        place.structureStart = place.position - int64_t{place.structureOrder.get32(head + 16)};
        return true;
    }
    place.position = position;
    place.length = length;
    return true;
}

void finishWith(ReadingState& state, const makernote::CountReading& reading) {
    ReadingOutcome& outcome = state.outcome;
    if (reading.hasCount()) {
        outcome.status = ReadingStatus::Count;
        outcome.cause = ReadingCause::None;
        // A count that is an entry's value as it stands keeps the text the walk
        // has always made of that entry where it listed the maker note.
        const CTagRecord* listed =
            reading.entryTag != 0 ? recordIn(state.records, reading.entryTag, kMakerNotes) : nullptr;
        outcome.result = listed != nullptr && !listed->displayStringData.empty() ? listed->displayStringData
                                                                                 : std::to_string(reading.count);
        outcome.countKind = reading.kind;
        outcome.mechanicalCount = reading.mechanicalCount;
    } else {
        outcome.status = ReadingStatus::NoCount;
        outcome.cause = reading.cause;
        outcome.result = kNoCount;
        outcome.countKind = CountKind::None;
        outcome.mechanicalCount.reset();
    }
    state.resultText = outcome.result;
}

bool anyEntry(const RecordList& records) {
    for (const CTagRecord& record : records) {
        if (record.ifde.tag < tags::kFirstPseudoTag) return true;
    }
    return false;
}

}  // namespace

void readCount(ReadingState& state, MakersRead makers, const StandaloneMakerNote* standalone) {
    ReadingOutcome& outcome = state.outcome;
    const RecordList& records = state.records;
    if (!anyEntry(records)) return finishWith(state, makernote::CountReading::without(ReadingCause::NoDirectory));
    if (!state.makeSeen) {
        return finishWith(state, makernote::CountReading::without(ReadingCause::NoMake));
    }
    const Maker maker = state.maker;
    outcome.maker = maker;
    outcome.model = state.modelText;
    if (maker == Maker::Unknown || (makers == MakersRead::NikonOnly && maker != Maker::Nikon)) {
        return finishWith(state, makernote::CountReading::without(makernote::unknownMakerCause(state.makeText)));
    }
    const makernote::Camera camera{state.makeText, state.modelText, standalone != nullptr && standalone->fromCr3};

    const ReadingCause body = makernote::bodyRecordsNone(maker, camera);
    if (body != ReadingCause::None) return finishWith(state, makernote::CountReading::without(body));
    makernote::MakerNotePlace place;
    if (standalone != nullptr) {
        place.position = standalone->position;
        place.length = standalone->length;
        place.standaloneTiff = true;
        return finishWith(state, makernote::readMakerNoteCount(state.file, maker, camera, place));
    }
    place.structureStart = tiffBaseOffset(state);
    place.structureOrder = state.structureOrder;
    const CTagRecord* makerNote = recordIn(records, tags::kMakerNoteOffset, kIfdExif);
    const CTagRecord* privateData = makerNote == nullptr ? recordIn(records, kDngPrivateData, kIfd0) : nullptr;
    if (makerNote != nullptr) {
        place.length = makerNote->ifde.count;
        // A maker note of four bytes or fewer (none of the makers' layouts)
        // would lie inside its entry.
        place.position = place.length > 4 ? place.structureStart + int64_t{makerNote->ifde.valofs} : -1;
    } else if (privateData == nullptr || !privateDataPlace(state.file, *privateData, place)) {
        const ReadingCause missing = findFirstRecord(records, tags::kExifOffset) == nullptr
                                         ? ReadingCause::NoExifDirectory
                                         : ReadingCause::NoMakerNotes;
        return finishWith(state, makernote::CountReading::without(missing));
    }
    finishWith(state, makernote::readMakerNoteCount(state.file, maker, camera, place));
}

}  // namespace tiffwalker
