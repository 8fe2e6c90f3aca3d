#include "selectcontroller.h"

#include <QByteArray>
#include <QFile>

#include <exception>
#include <memory>

#include "tiffwalker.h"

CSelectController::Engine CSelectController::tiffwalkerEngine()
{
    return {&tiffwalker::getImageShutterCount, &tiffwalker::resetOptions};
}

CSelectController::CSelectController(Ui& ui, Engine engine)
    : m_ui(ui), m_engine(engine)
{
}

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
    const QByteArray path = QFile::encodeName(m_selectedPath);
    QString message;
    try {
        // The reader's text is only valid until its next call: copy it now.
        const QString result = QString::fromLocal8Bit(m_engine.getImageShutterCount(path.constData()));
        m_ui.setResultText(result);
        m_engine.resetOptions();
        return;
    } catch (tiffwalker::CTiffwalkerException* raised) {
        // Thrown as a heap pointer; ours to delete.
        const std::unique_ptr<tiffwalker::CTiffwalkerException> error(raised);
        message = QString::fromLocal8Bit(error->message());
    } catch (tiffwalker::CException* raised) {
        const std::unique_ptr<tiffwalker::CException> error(raised);
        message = QString::fromLocal8Bit(error->ReportError());
    } catch (const std::exception& error) {
        // Nothing may leave a slot through Qt's event loop.
        message = tr("The file could not be read: %1").arg(QString::fromLocal8Bit(error.what()));
    }
    // A failed reading leaves the result field and the reader's switches as
    // they were; the user learns why from the message box.
    message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_ui.showMessage(message);
}
