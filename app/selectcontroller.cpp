#include "selectcontroller.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <exception>
#include <memory>
#include <string>

#include "readout.h"

CSelectController::Reader CSelectController::engineReader()
{
    // One inspector for the dialog's readings, all on the user-interface thread.
    auto inspector = std::make_shared<frametally::Inspector>();
    return [inspector](const QString& path) {
        const frametally::Inspection inspection =
            inspector->inspect(QFile::encodeName(path).toStdString());
        const auto text = [](const std::string& bytes) { return QString::fromLocal8Bit(bytes); };
        Reading reading;
        reading.path = path;
        reading.raisedError = inspection.status == tiffwalker::ReadingStatus::Error;
        reading.result = text(inspection.result);
        reading.message = text(inspection.message);
        reading.camera = text(frametally::cameraName(inspection.details));
        reading.serialNumber = text(inspection.details.serialNumber);
        reading.dateTaken = text(inspection.details.dateTimeOriginal);
        reading.lens = text(inspection.details.lens);
        reading.reason = text(inspection.reason);
        return reading;
    };
}

CSelectController::CSelectController(Ui& ui, Reader reader) : m_ui(ui), m_reader(std::move(reader))
{
}

void CSelectController::select()
{
    QString chosen;
    switch (m_ui.pickFile(chosen)) {
        case PickResult::Confirmed: m_selectedPath = chosen; break;
        case PickResult::NotCreated:
            m_ui.showMessage(tr("Dialog box could not be created!"));
            break;
        case PickResult::Cancelled: break;
    }
    readSelectedPath();
}

void CSelectController::readFile(const QString& path)
{
    m_selectedPath = path;
    readSelectedPath();
}

void CSelectController::readSelectedPath()
{
    Reading reading;
    try {
        reading = m_reader(m_selectedPath);
    } catch (const std::exception& error) {
        // Nothing may leave a slot through Qt's event loop.
        reading.raisedError = true;
        reading.message = QString::fromLocal8Bit(error.what());
    }
    reading.path = m_selectedPath;
    if (!reading.raisedError) {
        m_ui.showReading(reading);
        return;
    }
    // A failed reading leaves the result and the details as they were, both
    // about the previous file; the box names the file that failed, so that the
    // count still shown is not taken for this file's.
    QString message = reading.message;
    message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_ui.showMessage(
        tr("%1 could not be read:\n%2").arg(QDir::toNativeSeparators(m_selectedPath), message));
}
