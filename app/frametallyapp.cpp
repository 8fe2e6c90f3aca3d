#include "frametallyapp.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#include "chosenfile.h"
#include "maindialog.h"

CFrametallyApp::CFrametallyApp(int& argc, char** argv) : QApplication(argc, argv)
{
    for (int i = 1; i < argc; ++i)
        m_arguments << QByteArray(argv[i]);
    setApplicationName(QStringLiteral("Frametally"));
    setApplicationVersion(QStringLiteral(FRAMETALLY_APP_VERSION));
    setOrganizationName(QStringLiteral("Imagewright"));
    setDesktopFileName(QStringLiteral(FRAMETALLY_DESKTOP_ID));
    setWindowIcon(applicationIcon());
}

void CFrametallyApp::describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        tr("Shows how many pictures a camera has taken, "
           "read from one of the raw or JPEG files it wrote."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), tr("The camera file to read at start."),
                                 QStringLiteral("[FILE]"));
}

std::optional<int> CFrametallyApp::answerWithoutWindow(int argc, char** argv)
{
    // The window system's own options, which QApplication takes with the
    // value after them: that value is not a file.
    static const QByteArrayList kValueOptions = {"platform",      "platformpluginpath",
                                                 "platformtheme", "plugin",
                                                 "qmljsdebugger", "qwindowgeometry",
                                                 "qwindowicon",   "qwindowtitle",
                                                 "session",       "display",
                                                 "geometry",      "title",
                                                 "name",          "style",
                                                 "stylesheet"};
    QByteArrayList arguments;
    bool asked = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        const QByteArray name = argument.startsWith("--") ? argument.mid(2) : argument.mid(1);
        if (!optionsEnded && argument.startsWith('-') && kValueOptions.contains(name)) {
            ++i;
            continue;
        }
        optionsEnded = optionsEnded || argument == "--";
        if (!optionsEnded
            && (argument == "-h" || argument == "--help" || argument == "-?"
                || argument == "--help-all" || argument == "-v" || argument == "--version"))
            asked = true;
        arguments << argument;
    }
    const QByteArrayList files = operands(arguments);
    if (!asked && files.size() <= 1)
        return std::nullopt;

    QCoreApplication core(argc, argv);
    core.setApplicationName(QStringLiteral("Frametally"));
    core.setApplicationVersion(QStringLiteral(FRAMETALLY_APP_VERSION));
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.parse(core.arguments());
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(core.applicationName()),
                    qPrintable(core.applicationVersion()));
        return 0;
    }
    if (asked) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    // The dialog shows one file; reading the first and dropping the rest
    // unseen would leave the user believing all were read.
    std::fprintf(stderr, "%s\n%s",
                 qPrintable(tr("frametally: one file at a time (%1 were given); tiffwalker "
                               "reads several.")
                                .arg(files.size())),
                 qPrintable(parser.helpText()));
    return 2;
}

int CFrametallyApp::InitInstance()
{
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(*this);

    CMainDialog dialog;
    if (const auto file = fileArgument(operands(m_arguments))) {
        // Read once the dialog is on screen, so that a message box has it as owner.
        QMetaObject::invokeMethod(
            &dialog, [&dialog, file] { dialog.readFile(*file); }, Qt::QueuedConnection);
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

QByteArrayList CFrametallyApp::operands(const QByteArrayList& arguments)
{
    QByteArrayList found;
    bool optionsEnded = false;
    for (const QByteArray& argument : arguments) {
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (optionsEnded || !argument.startsWith('-') || argument == "-")
            found << argument;
    }
    return found;
}

std::optional<frametally::ChosenFile> CFrametallyApp::fileArgument(const QByteArrayList& operands)
{
    if (operands.isEmpty())
        return std::nullopt;
    return chosenfile::fromArgument(operands.constFirst());
}
