#pragma once
// The application object: names the program, reads the command line and runs
// the main dialog; the program ends when the dialog closes.
#include <QApplication>
#include <QIcon>
#include <QString>
#include <QStringList>

class CFrametallyApp : public QApplication {
    Q_OBJECT

public:
    CFrametallyApp(int& argc, char** argv);

    // Runs the main dialog until it closes; returns the program's exit code.
    int InitInstance();

    static QIcon applicationIcon();
    static QString copyrightLine();
    // The file to read at start-up from the command line's file arguments
    // (how a file manager's "Open With" starts us): an absolute path, or
    // empty when none was given.
    static QString fileArgument(const QStringList& arguments);
};
