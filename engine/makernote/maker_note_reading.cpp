#include "makernote/maker_note_reading.h"

#include "makernote/maker_note_layouts.h"

namespace tiffwalker::makernote {

ReadingCause bodyRecordsNone(Maker maker, const Camera& camera) {
    if (maker == Maker::Unknown) return unknownMakerCause(camera.make);
    const CountReader* reader = countReaderFor(maker);
    if (reader == nullptr) return ReadingCause::MakerRecordsNone;
    return reader->bodyCheck(camera);
}

CountReading readMakerNoteCount(FileStream& file, Maker maker, const Camera& camera, const MakerNotePlace& place) {
    const ReadingCause body = bodyRecordsNone(maker, camera);
    if (body != ReadingCause::None) return CountReading::without(body);
    const CountReader& reader = *countReaderFor(maker);
    MakerNoteRecords records;
    switch (readMakerNoteRecords(file, maker, place, reader.tags, records)) {
        case DirectoryResult::Read: return reader.read(records, camera);
        case DirectoryResult::LayoutUnknown: return CountReading::without(ReadingCause::MakerNoteLayoutUnknown);
        case DirectoryResult::HeaderRefused: return CountReading::without(ReadingCause::MakerNoteHeaderRefused);
        case DirectoryResult::Unreadable: break;
    }
    return CountReading::without(ReadingCause::MakerNoteDirectoryUnreadable);
}

}  // namespace tiffwalker::makernote
