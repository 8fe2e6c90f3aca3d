// Every application test runs in a home folder of its own, made before main():
// Qt's test locations, and HOME and the XDG folders in a temporary folder. The
// file picker's history and any settings land there, never in the user's.
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

namespace {

void isolateFromTheUser()
{
    static QTemporaryDir home;
    if (!home.isValid())
        qFatal("no temporary home folder for the tests: %s", qPrintable(home.errorString()));
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* variable :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(variable);
    QStandardPaths::setTestModeEnabled(true);
}

}  // namespace

Q_CONSTRUCTOR_FUNCTION(isolateFromTheUser)
