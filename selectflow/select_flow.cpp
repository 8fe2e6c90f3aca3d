#include "select_flow.h"

#include <exception>
#include <memory>
#include <utility>

#include "shown_texts.h"
#include "text_shape.h"

namespace frametally {

namespace {

// What the window shows of an inspection: every text valid UTF-8. EXIF texts
// are ASCII by rule, but files hold what their writers put there.
SelectReading shownReading(const ChosenFile& file, const Inspection& inspection) {
    const ShownTexts shown = shownTextsOf(inspection);
    SelectReading reading;
    reading.file = file;
    reading.raisedError = inspection.status == tiffwalker::ReadingStatus::Error;
    reading.result = shownAsUtf8(shown.result);
    reading.message = shownAsUtf8(withLineBreaks(inspection.message));
    reading.camera = shownAsUtf8(shown.camera);
    reading.serialNumber = shownAsUtf8(shown.serialNumber);
    reading.dateTaken = shownAsUtf8(shown.dateTaken);
    reading.lens = shownAsUtf8(shown.lens);
    reading.reason = shownAsUtf8(shown.reason);
    reading.countKind = shown.countKind;
    reading.mechanicalCount = shown.mechanicalCount;
    reading.ratedLife = shownAsUtf8(shown.ratedLife);
    return reading;
}

}  // namespace

SelectFlow::Reader SelectFlow::inspectionReader() {
    auto inspector = std::make_shared<Inspector>();
    return [inspector](const std::string& path) { return inspector->inspect(path); };
}

SelectFlow::SelectFlow(Ui& ui, Reader reader) : m_ui(ui), m_reader(std::move(reader)) {}

void SelectFlow::select() {
    ChosenFile chosen;
    switch (m_ui.pickFile(chosen)) {
        case PickResult::Confirmed: m_selected = std::move(chosen); break;
        case PickResult::NotCreated: m_ui.showMessage(pickerFailedText()); break;
        case PickResult::Cancelled: break;
    }
    // A file never chosen is not spoken of: no "Not Readable" for it.
    if (m_selected) readSelected();
}

void SelectFlow::readFile(ChosenFile file) {
    m_selected = std::move(file);
    readSelected();
}

void SelectFlow::readSelected() {
    const ChosenFile& file = *m_selected;
    SelectReading reading;
    try {
        reading = shownReading(file, m_reader(file.path));
    } catch (const std::exception& error) {
        // Nothing may leave through the toolkit's event loop.
        reading.file = file;
        reading.raisedError = true;
        reading.message = shownAsUtf8(error.what());
    }
    if (!reading.raisedError) {
        m_ui.showReading(reading);
        return;
    }
    // A failed reading leaves the result and the details as they were, both
    // about the previous file; the box names the file that failed, so that the
    // count still shown is not taken for this file's.
    m_ui.showMessage(readingFailedText(file, reading.message));
}

std::string SelectFlow::pickerFailedText() { return "Dialog box could not be created!"; }

std::string SelectFlow::readingFailedText(const ChosenFile& file, const std::string& message) {
    return shownAsUtf8(file.displayPath) + " could not be read:\n" + message;
}

}  // namespace frametally
