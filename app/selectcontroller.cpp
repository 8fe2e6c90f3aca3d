#include "selectcontroller.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <exception>
#include <memory>

#include "tiffwalker.h"

CSelectController::Reader CSelectController::engineReader()
{
    return [](const QString& path) {
        Reading reading;
        reading.path = path;
        const QByteArray encoded = QFile::encodeName(path);
        try {
            // The reader's text is only valid until its next call: copy it now.
            reading.result = QString::fromLocal8Bit(tiffwalker::getImageShutterCount(encoded.constData()));
            tiffwalker::resetOptions();
            return reading;
        } catch (tiffwalker::CTiffwalkerException* raised) {
            // Thrown as a heap pointer; ours to delete.
            const std::unique_ptr<tiffwalker::CTiffwalkerException> error(raised);
            reading.message = QString::fromLocal8Bit(error->message());
        } catch (tiffwalker::CException* raised) {
            const std::unique_ptr<tiffwalker::CException> error(raised);
            reading.message = QString::fromLocal8Bit(error->ReportError());
        }
        reading.raisedError = true;
        return reading;
    };
}

CSelectController::CSelectController(Ui& ui, Reader reader) : m_ui(ui), m_reader(std::move(reader)) {}

void CSelectController::select()
{
    QString chosen;
    switch (m_ui.pickFile(chosen)) {
    case PickResult::Confirmed:
        m_selectedPath = chosen;
        break;
    case PickResult::NotCreated:
        m_ui.showMessage(tr("Dialog box could not be created!"));
        break;
    case PickResult::Cancelled:
        break;
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
    m_ui.showMessage(tr("%1 could not be read:\n%2").arg(QDir::toNativeSeparators(m_selectedPath), message));
}
