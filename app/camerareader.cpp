#include "camerareader.h"

#include <QApplication>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWidget>

#include "camera_failure.h"
#include "camera_reading.h"

namespace {

frametally::SelectReading readingOf(const frametally::Inspection& inspection)
{
    frametally::SelectReading reading;
    const std::string from = QCoreApplication::translate("CCameraReader", "the camera at %1")
                                 .arg(QString::fromStdString(inspection.path))
                                 .toStdString();
    reading.file.path = inspection.path;
    reading.file.displayPath = from;
    reading.raisedError = inspection.status == tiffwalker::ReadingStatus::Error;
    reading.result = inspection.result;
    reading.message = inspection.message;
    reading.camera = frametally::cameraName(inspection.details);
    reading.serialNumber = inspection.details.serialNumber;
    reading.reason = inspection.reason;
    reading.countKind = frametally::countKindWords(inspection.countKind);
    return reading;
}

}  // namespace

CCameraReader::CCameraReader(QWidget* dialog, Show show)
    : QObject(dialog), m_dialog(dialog), m_show(std::move(show))
{
}

void CCameraReader::OnReadFromCamera()
{
    const QString port = chooseCamera();
    if (port.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const frametally::Inspection inspection = frametally::camera::readCamera(port.toStdString());
    QApplication::restoreOverrideCursor();
    m_show(readingOf(inspection));
}

QString CCameraReader::chooseCamera()
{
    // FRAMETALLY_CAMERA_PORT names a camera on a network (or the tests' fake
    // one), which no listing finds.
    const QString named = qEnvironmentVariable("FRAMETALLY_CAMERA_PORT");
    if (!named.isEmpty())
        return named;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const frametally::camera::ConnectedCameras found = frametally::camera::connectedCameras();
    QApplication::restoreOverrideCursor();
    if (found.cameras.empty()) {
        const std::string text =
            found.error.empty() ? frametally::camera::noCameraText() : found.error;
        QMessageBox box(QMessageBox::Information, QCoreApplication::applicationName(),
                        QString::fromStdString(text), QMessageBox::Ok, m_dialog);
        box.setObjectName(QStringLiteral("noCameraBox"));
        box.exec();
        return {};
    }
    if (found.cameras.size() == 1)
        return QString::fromStdString(found.cameras.front().port);
    QStringList names;
    for (const auto& camera : found.cameras)
        names << tr("%1 (%2)").arg(QString::fromStdString(camera.model),
                                   QString::fromStdString(camera.port));
    bool chosen = false;
    const QString name =
        QInputDialog::getItem(m_dialog, tr("Read From Camera"),
                              tr("Several cameras are connected. Read:"), names, 0, false, &chosen);
    if (!chosen)
        return {};
    return QString::fromStdString(found.cameras.at(static_cast<size_t>(names.indexOf(name))).port);
}
