// The Select command without a window system: stand-ins for the picker, the
// message box, the result field and the reader.
#include <QtTest>

#include <string>

#include "selectcontroller.h"
#include "tiffwalker.h"

using Pick = CSelectController::PickResult;

namespace {

class FakeUi : public CSelectController::Ui {
public:
    QList<std::pair<Pick, QString>> picks;  // the picker's next answers
    QStringList log, messages, results;

    Pick pickFile(QString& path) override
    {
        log << QStringLiteral("pick");
        const auto [result, chosen] = picks.takeFirst();
        if (result == Pick::Confirmed)
            path = chosen;
        return result;
    }
    void showMessage(const QString& text) override { log << QStringLiteral("message"), messages << text; }
    void setResultText(const QString& text) override { log << QStringLiteral("result"), results << text; }
};

QStringList g_readPaths;
int g_resets = 0;
bool g_raise = false;
int g_liveErrors = 0;

class CountedError : public tiffwalker::CTiffwalkerException {
public:
    explicit CountedError(const std::string& message) : CTiffwalkerException(message) { ++g_liveErrors; }
    ~CountedError() override { --g_liveErrors; }
};

const std::string& stubRead(const char* path)
{
    static const std::string count = "12345";
    g_readPaths << QString::fromLocal8Bit(path);
    if (g_raise)
        throw new CountedError("EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
    return count;
}

void stubReset() { ++g_resets; }

const QString kNef = QStringLiteral("/photos/DSC_0001.NEF");

}  // namespace

class TestSelectController : public QObject {
    Q_OBJECT

    FakeUi ui;
    CSelectController select{ui, {&stubRead, &stubReset}};

private slots:
    void init()
    {
        ui = FakeUi();
        select.readFile(QString());
        g_readPaths.clear();
        g_resets = 0;
        g_raise = false;
        ui.results.clear();
    }

    void cancelReadsTheLastConfirmedFileAgain()
    {
        ui.picks = {{Pick::Cancelled, {}}, {Pick::Confirmed, kNef}, {Pick::Cancelled, {}}};
        for (int i = 0; i < 3; ++i)
            select.select();
        // Before any confirmation the empty path is read (the reader answers "Not Readable").
        QCOMPARE(g_readPaths, (QStringList{QString(), kNef, kNef}));
        QCOMPARE(ui.results, (QStringList(3, QStringLiteral("12345"))));
        QCOMPARE(g_resets, 3);
        QVERIFY(ui.messages.isEmpty());
    }

    void pickerThatCannotOpenIsReportedAndTheStoredFileRead()
    {
        select.readFile(kNef);
        ui.log.clear();
        ui.picks = {{Pick::NotCreated, {}}};
        select.select();
        QCOMPARE(ui.log, (QStringList{QStringLiteral("pick"), QStringLiteral("message"), QStringLiteral("result")}));
        QCOMPARE(ui.messages, QStringList{QStringLiteral("Dialog box could not be created!")});
        QCOMPARE(g_readPaths.last(), kNef);
    }

    void raisedErrorIsShownAndDeletedAndChangesNothing()
    {
        ui.picks = {{Pick::Confirmed, kNef}, {Pick::Confirmed, QStringLiteral("/photos/bad.JPG")}, {Pick::Cancelled, {}}};
        select.select();
        g_raise = true;
        select.select();
        QCOMPARE(ui.results.size(), 1);
        QCOMPARE(g_resets, 1);
        QCOMPARE(ui.messages, QStringList{QStringLiteral("EXIF header text incorrect\nFile is not a JPG/JPEG file")});
        QCOMPARE(g_liveErrors, 0);

        // The dialog goes on working, with the failed file still the selected one.
        g_raise = false;
        select.select();
        QCOMPARE(g_readPaths.last(), QStringLiteral("/photos/bad.JPG"));
        QCOMPARE(ui.results.size(), 2);
        QCOMPARE(g_resets, 2);
    }
};

QTEST_GUILESS_MAIN(TestSelectController)
#include "tst_selectcontroller.moc"
