// The Select command without a window system: stand-ins for the picker, the
// message box, the result display and the reader.
#include <QtTest>

#include <stdexcept>

#include "selectcontroller.h"

using Pick = CSelectController::PickResult;
using Reading = CSelectController::Reading;

namespace {

class FakeUi : public CSelectController::Ui {
public:
    QList<std::pair<Pick, QString>> picks;  // the picker's next answers
    QStringList log, messages;
    QList<Reading> shown;

    Pick pickFile(QString& path) override
    {
        log << QStringLiteral("pick");
        const auto [result, chosen] = picks.takeFirst();
        if (result == Pick::Confirmed)
            path = chosen;
        return result;
    }
    void showMessage(const QString& text) override
    {
        log << QStringLiteral("message"), messages << text;
    }
    void showReading(const Reading& reading) override
    {
        log << QStringLiteral("reading"), shown << reading;
    }
};

const QString kNef = QStringLiteral("/photos/DSC_0001.NEF");
const QString kBad = QStringLiteral("/photos/bad.JPG");

}  // namespace

class TestSelectController : public QObject {
    Q_OBJECT

    FakeUi ui;
    QStringList readPaths;
    enum { Answer, RaiseError, Throw } behaviour = Answer;
    CSelectController select{
        ui, [this](const QString& path) {
            readPaths << path;
            if (behaviour == Throw)
                throw std::runtime_error("out of memory");
            Reading reading;
            reading.raisedError = behaviour == RaiseError;
            if (reading.raisedError)
                reading.message =
                    QStringLiteral("EXIF header text incorrect\r\nFile is not a JPG/JPEG file");
            else
                reading.result = QStringLiteral("12345"),
                reading.camera = QStringLiteral("NIKON D70");
            return reading;
        }};

private slots:
    void init()
    {
        ui = FakeUi();
        select.readFile(QString());
        readPaths.clear();
        behaviour = Answer;
        ui.shown.clear();
    }

    void cancelReadsTheLastConfirmedFileAgain()
    {
        ui.picks = {{Pick::Cancelled, {}}, {Pick::Confirmed, kNef}, {Pick::Cancelled, {}}};
        for (int i = 0; i < 3; ++i)
            select.select();
        // Before any confirmation the empty path is read (the reader answers "Not Readable").
        QCOMPARE(readPaths, (QStringList{QString(), kNef, kNef}));
        QCOMPARE(ui.shown.size(), 3);
        QCOMPARE(ui.shown.last().path, kNef);
        QCOMPARE(ui.shown.last().result, QStringLiteral("12345"));
        QVERIFY(ui.messages.isEmpty());
    }

    void pickerThatCannotOpenIsReportedAndTheStoredFileRead()
    {
        select.readFile(kNef);
        ui.log.clear();
        ui.picks = {{Pick::NotCreated, {}}};
        select.select();
        QCOMPARE(ui.log, (QStringList{QStringLiteral("pick"), QStringLiteral("message"),
                                      QStringLiteral("reading")}));
        QCOMPARE(ui.messages, QStringList{QStringLiteral("Dialog box could not be created!")});
        QCOMPARE(readPaths.last(), kNef);
    }

    void failedReadingNamesTheFileAndShowsNothingOfIt()
    {
        ui.picks = {{Pick::Confirmed, kNef},
                    {Pick::Confirmed, kBad},
                    {Pick::Confirmed, kBad},
                    {Pick::Cancelled, {}}};
        select.select();
        behaviour = RaiseError;
        select.select();
        behaviour = Throw;
        select.select();
        QCOMPARE(ui.shown.size(), 1);
        QCOMPARE(
            ui.messages,
            (QStringList{QStringLiteral("/photos/bad.JPG could not be read:\n"
                                        "EXIF header text incorrect\nFile is not a JPG/JPEG file"),
                         QStringLiteral("/photos/bad.JPG could not be read:\nout of memory")}));

        // The dialog goes on working, with the failed file still the selected one.
        behaviour = Answer;
        select.select();
        QCOMPARE(readPaths.last(), kBad);
        QCOMPARE(ui.shown.size(), 2);
        QCOMPARE(ui.shown.last().path, kBad);
    }
};

QTEST_GUILESS_MAIN(TestSelectController)
#include "tst_selectcontroller.moc"
