// File > Read From Camera in the main dialog, against the project's PTP/IP
// fake camera: the count and the camera's details in the dialog's rows, the
// file's row naming the camera; a camera that cannot be read says why there.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include "maindialog.h"

// Without LeakSanitizer: libgphoto2's drivers, unloaded when it is done, leave
// reports from a module without a name (see tests/camera/fake_camera.cpp).
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

class TestCameraReader : public QObject {
    Q_OBJECT

private slots:
    void readsTheFakeCameraThroughTheMenu();
    void namesWhyACameraCannotBeRead();

private:
    // Starts the fake camera; its port, or 0 when it did not start.
    static int startFake(QProcess& fake, const QStringList& arguments);
    static QString label(QWidget& dialog, const char* name)
    {
        // The whole text: a long one is shown cut, whole in its tooltip.
        auto* value = dialog.findChild<QLabel*>(QLatin1String(name));
        if (!value)
            return {};
        return (value->toolTip().isEmpty() ? value->text() : value->toolTip()).simplified();
    }
};

int TestCameraReader::startFake(QProcess& fake, const QStringList& arguments)
{
    fake.start(QStringLiteral("python3"),
               QStringList{QStringLiteral(FRAMETALLY_FAKE_CAMERA)} + arguments);
    if (!fake.waitForStarted(10000) || !fake.waitForReadyRead(15000))
        return 0;
    return fake.readLine().trimmed().toInt();
}

void TestCameraReader::readsTheFakeCameraThroughTheMenu()
{
    QProcess fake;
    const int port = startFake(fake, {QStringLiteral("--kind"), QStringLiteral("eos")});
    QVERIFY(port > 0);
    const QString where = QStringLiteral("ptpip:127.0.0.1:%1:%1").arg(port);
    qputenv("FRAMETALLY_CAMERA_PORT", where.toUtf8());

    CMainDialog dialog;
    dialog.show();
    auto* action = dialog.findChild<QAction*>(QStringLiteral("readFromCameraAction"));
    QVERIFY(action);
    QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    action->trigger();

    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("resultField"))->text(),
             QStringLiteral("15873"));
    QVERIFY2(label(dialog, "fileValue").contains(QStringLiteral("the camera at ") + where),
             qPrintable(label(dialog, "fileValue")));
    QCOMPARE(label(dialog, "cameraValue"), QStringLiteral("Canon EOS 600D"));
    QCOMPARE(label(dialog, "serialNumberValue"), QStringLiteral("083021004567"));
    fake.kill();
    fake.waitForFinished();
}

void TestCameraReader::namesWhyACameraCannotBeRead()
{
    QProcess fake;
    const int port = startFake(fake, {QStringLiteral("--kind"), QStringLiteral("nikon")});
    QVERIFY(port > 0);
    qputenv("FRAMETALLY_CAMERA_PORT", QStringLiteral("ptpip:127.0.0.1:%1:%1").arg(port).toUtf8());

    CMainDialog dialog;
    dialog.show();
    dialog.findChild<QAction*>(QStringLiteral("readFromCameraAction"))->trigger();
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("resultField"))->text(),
             QStringLiteral("No Count"));
    QVERIFY2(label(dialog, "reasonValue").contains(QStringLiteral("Take a picture")),
             qPrintable(label(dialog, "reasonValue")));
    fake.kill();
    fake.waitForFinished();
}

QTEST_MAIN(TestCameraReader)
#include "tst_camerareader.moc"
