#include "frametallyapp.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include "maindialog.h"

CFrametallyApp::CFrametallyApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Frametally"));
    setApplicationVersion(QStringLiteral(FRAMETALLY_APP_VERSION));
    setOrganizationName(QStringLiteral("Imagewright"));
    setDesktopFileName(QStringLiteral(FRAMETALLY_DESKTOP_ID));
    setWindowIcon(applicationIcon());
}

int CFrametallyApp::InitInstance()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Shows how many pictures a Nikon camera has taken, "
           "read from one of its NEF or JPEG files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 tr("The NEF or JPEG file to read at start."),
                                 QStringLiteral("[FILE]"));
    parser.process(*this);

    CMainDialog dialog;
    const QString file = fileArgument(parser.positionalArguments());
    if (!file.isEmpty()) {
        // Read once the dialog is on screen, so that a message box has it as owner.
        QMetaObject::invokeMethod(
            &dialog, [&dialog, file] { dialog.readFile(file); }, Qt::QueuedConnection);
    }
    dialog.exec();
    return 0;
}

QIcon CFrametallyApp::applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64, 128})
        icon.addFile(QStringLiteral(":/icons/frametally-%1.png").arg(size), QSize(size, size));
    return icon;
}

QString CFrametallyApp::copyrightLine() { return tr("Copyright \u00a9 2026 Imagewright"); }

QString CFrametallyApp::fileArgument(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return {};
    const QString& argument = arguments.constFirst();
    if (argument.isEmpty())
        return {};
    const QUrl url(argument);
    if (url.isLocalFile())
        return url.toLocalFile();
    return QFileInfo(argument).absoluteFilePath();
}
