// The Select command without a window system: a stand-in picker, message box
// and result field, with either a stand-in or the real reader behind it.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include "selectcontroller.h"
#include "tiffwalker.h"

using Pick = CSelectController::PickResult;

namespace {

class FakeUi : public CSelectController::Ui {
public:
    // Answers for the next picker runs, in order.
    void queuePick(Pick result, const QString& path = QString()) { m_picks.append({result, path}); }

    Pick pickFile(QString& path) override
    {
        log << QStringLiteral("pick");
        const auto [result, chosen] = m_picks.takeFirst();
        if (result == Pick::Confirmed)
            path = chosen;
        return result;
    }
    void showMessage(const QString& text) override
    {
        log << QStringLiteral("message");
        messages << text;
    }
    void setResultText(const QString& text) override
    {
        log << QStringLiteral("result");
        results << text;
    }

    QStringList log;
    QStringList messages;
    QStringList results;

private:
    QList<std::pair<Pick, QString>> m_picks;
};

// The reader stand-in records what it is asked and answers g_answer, or
// raises the way the reader does when g_raise is set.
QStringList g_readPaths;
int g_resets = 0;
std::string g_answer;
bool g_raise = false;
int g_liveErrors = 0;

class CountedError : public tiffwalker::CTiffwalkerException {
public:
    explicit CountedError(const std::string& message) : CTiffwalkerException(message) { ++g_liveErrors; }
    ~CountedError() override { --g_liveErrors; }
};

const std::string& stubRead(const char* path)
{
    g_readPaths << QString::fromLocal8Bit(path);
    if (g_raise)
        throw new CountedError("EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
    return g_answer;
}

void stubReset() { ++g_resets; }

const CSelectController::Engine kStubEngine{&stubRead, &stubReset};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class TestSelectController : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        g_readPaths.clear();
        g_resets = 0;
        g_answer = "12345";
        g_raise = false;
        g_liveErrors = 0;
    }

    void confirmedFileIsReadAndShown()
    {
        FakeUi ui;
        CSelectController select(ui, kStubEngine);
        ui.queuePick(Pick::Confirmed, QStringLiteral("/photos/DSC_0001.NEF"));
        select.select();
        QCOMPARE(g_readPaths, QStringList{QStringLiteral("/photos/DSC_0001.NEF")});
        QCOMPARE(ui.results, QStringList{QStringLiteral("12345")});
        QCOMPARE(g_resets, 1);
        QVERIFY(ui.messages.isEmpty());
    }

    void cancelReadsTheLastConfirmedFileAgain()
    {
        FakeUi ui;
        CSelectController select(ui, kStubEngine);
        ui.queuePick(Pick::Cancelled);
        ui.queuePick(Pick::Confirmed, QStringLiteral("/photos/a.NEF"));
        ui.queuePick(Pick::Cancelled);
        select.select();
        select.select();
        select.select();
        // Before any confirmation the empty path is read.
        QCOMPARE(g_readPaths, (QStringList{QString(), QStringLiteral("/photos/a.NEF"), QStringLiteral("/photos/a.NEF")}));
        QCOMPARE(ui.results.size(), 3);
        QCOMPARE(g_resets, 3);
    }

    void pickerThatCannotOpenIsReportedAndTheStoredFileRead()
    {
        FakeUi ui;
        CSelectController select(ui, kStubEngine);
        ui.queuePick(Pick::Confirmed, QStringLiteral("/photos/a.NEF"));
        ui.queuePick(Pick::NotCreated);
        select.select();
        ui.log.clear();
        select.select();
        QCOMPARE(ui.log, (QStringList{QStringLiteral("pick"), QStringLiteral("message"), QStringLiteral("result")}));
        QCOMPARE(ui.messages, QStringList{QStringLiteral("Dialog box could not be created!")});
        QCOMPARE(g_readPaths.last(), QStringLiteral("/photos/a.NEF"));
    }

    void raisedErrorLeavesResultAndSwitchesAndIsDeleted()
    {
        FakeUi ui;
        CSelectController select(ui, kStubEngine);
        ui.queuePick(Pick::Confirmed, QStringLiteral("/photos/good.NEF"));
        ui.queuePick(Pick::Confirmed, QStringLiteral("/photos/bad.JPG"));
        ui.queuePick(Pick::Cancelled);
        select.select();

        g_raise = true;
        select.select();
        QCOMPARE(ui.results, QStringList{QStringLiteral("12345")});
        QCOMPARE(g_resets, 1);
        QCOMPARE(ui.messages, QStringList{QStringLiteral("EXIF header text incorrect\nFile is not a JPG/JPEG file")});
        QCOMPARE(g_liveErrors, 0);

        // The dialog goes on working; the failed file stays the selected one.
        g_raise = false;
        g_answer = "No Count";
        select.select();
        QCOMPARE(g_readPaths.last(), QStringLiteral("/photos/bad.JPG"));
        QCOMPARE(ui.results.last(), QStringLiteral("No Count"));
        QCOMPARE(g_resets, 2);
    }

    void givenFileIsReadAsIfSelected()
    {
        FakeUi ui;
        CSelectController select(ui, kStubEngine);
        select.readFile(QStringLiteral("/photos/dropped.NEF"));
        ui.queuePick(Pick::Cancelled);
        select.select();
        QCOMPARE(g_readPaths, (QStringList{QStringLiteral("/photos/dropped.NEF"), QStringLiteral("/photos/dropped.NEF")}));
        QCOMPARE(ui.results.size(), 2);
    }

    // The same flows against the real reader.
    void realReaderAnswersFailuresAsResults()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString text = dir.filePath(QStringLiteral("notes.txt"));
        writeFile(text, "not an image\n");

        FakeUi ui;
        CSelectController select(ui);
        ui.queuePick(Pick::Cancelled);
        ui.queuePick(Pick::Confirmed, text);
        select.select();
        select.select();
        QCOMPARE(ui.results, (QStringList{QStringLiteral("Not Readable"), QStringLiteral("Not Readable")}));
        QVERIFY(ui.messages.isEmpty());
    }

    void realReaderErrorReachesTheUser()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // A non-ASCII path: the file must still be found and opened to fail this way.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Fotos \u00e4\u00f6")));
        const QString jpeg = dir.filePath(QStringLiteral("Fotos \u00e4\u00f6/DSC_0001.JPG"));
        writeFile(jpeg, QByteArray("\xFF\xD8\xFF\xE1\x00\x10" "Exif\0\0" "IM\x2A\x00\x08\x00\x00\x00"
                                   "\x00\x00\x00\x00\x00\x00\x00\x00",
                                   28));

        FakeUi ui;
        CSelectController select(ui);
        select.readFile(QStringLiteral("/nonexistent/file.NEF"));
        QCOMPARE(ui.results, QStringList{QStringLiteral("Not Readable")});

        constexpr int kSomeSwitch = 5;
        tiffwalker::setOption(kSomeSwitch, true);
        select.readFile(jpeg);
        QCOMPARE(ui.messages, QStringList{QStringLiteral("File type is not Nikon JPG")});
        QCOMPARE(ui.results.size(), 1);
        QVERIFY(tiffwalker::isOptionOn(kSomeSwitch));

        select.readFile(QStringLiteral("/nonexistent/file.NEF"));
        QCOMPARE(ui.results.size(), 2);
        QVERIFY(!tiffwalker::isOptionOn(kSomeSwitch));
    }
};

QTEST_GUILESS_MAIN(TestSelectController)
#include "tst_selectcontroller.moc"
