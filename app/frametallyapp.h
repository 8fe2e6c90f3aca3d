#pragma once
// The application object: names the program, reads the command line and runs
// the main dialog; the program ends when the dialog closes.
#include <QApplication>
#include <QByteArrayList>
#include <QIcon>
#include <QString>

#include <optional>

#include "select_flow.h"

class QCommandLineParser;

class CFrametallyApp : public QApplication {
    Q_OBJECT

public:
    CFrametallyApp(int& argc, char** argv);

    // Usage (--help), the version (--version) and a command line naming more
    // than one file need no window: answered here, before the window system
    // is opened, so that they work where there is no display. Returns the
    // exit status when the command line was answered, nothing otherwise.
    static std::optional<int> answerWithoutWindow(int argc, char** argv);

    // Runs the main dialog until it closes; returns the program's exit code
    // (2 for a command line naming more than one file).
    int InitInstance();

    static QIcon applicationIcon();
    static QString copyrightLine();
    // The operands among the arguments (after the program's name), as the
    // system's bytes: what is not an option, and everything after "--".
    static QByteArrayList operands(const QByteArrayList& arguments);
    // The file to read at start-up (how a file manager's "Open With" starts
    // us): nothing when no operand names one.
    static std::optional<frametally::ChosenFile> fileArgument(const QByteArrayList& operands);

private:
    // The options and the operand the program takes, for usage and parsing.
    static void describeCommandLine(QCommandLineParser& parser);

    // argv as QApplication left it (without its own options), undecoded:
    // QApplication::arguments() would lose the bytes of a name that is not
    // valid UTF-8.
    QByteArrayList m_arguments;
};
