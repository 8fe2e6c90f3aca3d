// The main dialog and the About box as a user meets them: layout, the real
// file picker and message box, the menu commands, dropped files and the
// command line.
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "aboutdialog.h"
#include "dialogunits.h"
#include "file_types.h"
#include "filedetailspanel.h"
#include "frametallyapp.h"
#include "hyperlinkstatic.h"
#include "maindialog.h"
#include "maker_note_files.h"
#include "synthetic_files.h"

namespace {

// Runs action on the next modal window of type T once that window runs its
// own event loop (closed any earlier, it would leave that loop waiting).
// The timer that waits is returned, to be deleted when no window came.
template <typename T>
QPointer<QTimer> whenModal(std::function<void(T*)> action)
{
    auto* timer = new QTimer;
    const int outerLevel = QThread::currentThread()->loopLevel();
    QObject::connect(timer, &QTimer::timeout, [=] {
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && QThread::currentThread()->loopLevel() > outerLevel) {
            timer->deleteLater();
            timer->stop();
            action(window);
        }
    });
    timer->start(10);
    return timer;
}

// Answers the next file picker: cancels it, or types path and confirms.
void choose(const QString& path)
{
    whenModal<QFileDialog>([path](QFileDialog* picker) {
        const bool setUp = picker->nameFilters().constFirst().contains(QLatin1String("*.NEF"))
                           && picker->defaultSuffix() == QLatin1String("NEF")
                           && picker->fileMode() == QFileDialog::ExistingFile;
        if (path.isEmpty()) {
            picker->reject();
        } else {
            picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog*>(picker)->accept();
        }
        QVERIFY2(setUp,
                 "the picker offers NEF files first, in either case, and existing files only");
    });
}

QString plain(QString text) { return text.remove(u'&'); }

QByteArray bytes(const synthetic::Bytes& data)
{
    return QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
}

}  // namespace

class TestMainDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CMainDialog* m_dialog = nullptr;
    QLineEdit* result() { return m_dialog->findChild<QLineEdit*>(QStringLiteral("resultField")); }
    QPushButton* selectButton()
    {
        return m_dialog->findChild<QPushButton*>(QStringLiteral("selectButton"));
    }
    QAction* action(const char* name) { return m_dialog->findChild<QAction*>(QLatin1String(name)); }
    QLabel* detail(const char* name) { return m_dialog->findChild<QLabel*>(QLatin1String(name)); }
    // The details block as it reads: file (tooltip), camera, serial number,
    // date taken, lens, and the reason when it is shown.
    QStringList details()
    {
        QStringList shown{detail("fileValue")->text(), detail("fileValue")->toolTip()};
        for (const char* name : {"cameraValue", "serialNumberValue", "dateTakenValue", "lensValue"})
            shown << detail(name)->text();
        if (detail("reasonValue")->isVisible())
            shown << detail("reasonValue")->text();
        return shown;
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QDir().mkpath(QFileInfo(file).path());
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    }

private slots:
    void init()
    {
        m_dialog = new CMainDialog;
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }
    void cleanup() { delete m_dialog; }

    void textsFitTheirPlacesAtAnyFontSize_data()
    {
        QTest::addColumn<int>("pointSize");
        for (int size : {7, 9, 12, 16})
            QTest::addRow("%d pt", size) << size;
    }
    void textsFitTheirPlacesAtAnyFontSize()
    {
        QFETCH(int, pointSize);
        const QFont saved = QApplication::font();
        QFont font = saved;
        font.setPointSize(pointSize);
        QApplication::setFont(font);
        CMainDialog dialog;
        CAboutDialog about;
        QApplication::setFont(saved);

        const CDialogUnits units(font);
        QCOMPARE(dialog.findChild<QPushButton*>()->geometry(), units.rect(126, 12, 50, 14));
        QCOMPARE(dialog.findChild<QLineEdit*>()->parentWidget()->size(), units.size(216, 80));
        QCOMPARE(about.size(), units.size(310, 100));
        // Which makers' counts and file types are read, from their one list.
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("readsText"))->text(),
                 QString::fromStdString(frametally::readsText()));
        for (QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                const QFontMetrics metrics(label->font());
                if (label->wordWrap()) {  // lines enough for all its words
                    QVERIFY2(
                        metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text())
                                .height()
                            <= label->contentsRect().height(),
                        qPrintable(label->text()));
                    continue;
                }
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(label->text()));
                QVERIFY2(metrics.height() <= label->contentsRect().height(),
                         qPrintable(label->text()));
            }
        }
    }

    void startsReadyForSelect()
    {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Imagewright - Frametally"));
        QVERIFY(!m_dialog->windowIcon().isNull());
        QTRY_COMPARE(QApplication::focusWidget(), selectButton());
        QVERIFY(result()->isReadOnly() && result()->text().isEmpty());
        const QList<QAction*> menus = m_dialog->findChild<QMenuBar*>()->actions();
        QCOMPARE(plain(menus.value(0)->text()) + plain(menus.value(1)->text()),
                 QStringLiteral("FileHelp"));
        QCOMPARE(plain(action("exitAction")->text()), QStringLiteral("Exit"));
        QCOMPARE(plain(action("aboutAction")->text()), QStringLiteral("About Frametally"));
    }

    void firstCancelSaysNothingThenConfirmedThenCancelled()
    {
        const QString text = writeFile(QStringLiteral("notes.txt"), "not an image\n");
        // No file chosen yet: the result and the details stay empty.
        choose(QString());
        QTest::mouseClick(selectButton(), Qt::LeftButton);
        QCOMPARE(result()->text(), QString());
        QVERIFY(details().join(QString()).isEmpty());
        for (const QString& chosen : {text, QString()}) {
            result()->setText(QStringLiteral("stale"));
            choose(chosen);
            QTest::mouseClick(selectButton(), Qt::LeftButton);
            QCOMPARE(result()->text(), QStringLiteral("Not Readable"));
            QCOMPARE(detail("fileValue")->text(), QStringLiteral("notes.txt"));
        }
    }

    // A name that is not valid UTF-8 (0xFF 0xFE), given as the system gives
    // it: on the command line, dropped (a URL keeps the bytes as %FF%FE).
    void nameWithBytesThatAreNotUtf8IsRead()
    {
        synthetic::CameraFile camera;
        camera.shutterCount = 3619;
        const QByteArray folder = QFile::encodeName(m_dir.path());
        const QByteArray name = folder + "/DSC_\xFF\xFE.NEF";
        const synthetic::Bytes nef = synthetic::makeNef(camera);
        QVERIFY(synthetic::writeFile(name.toStdString(), nef));

        const auto argument = CFrametallyApp::fileArgument({name});
        QVERIFY(argument && argument->path == name.toStdString());
        m_dialog->readFile(*argument);
        QCOMPARE(result()->text(), QStringLiteral("3619"));
        QCOMPARE(detail("fileValue")->text(), QStringLiteral("DSC_\uFFFD\uFFFD.NEF"));

        // Relative to the working folder, as a shell passes it.
        const QString saved = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        const auto relative = CFrametallyApp::fileArgument({QByteArray("./DSC_\xFF\xFE.NEF")});
        QDir::setCurrent(saved);
        QVERIFY(relative && relative->path == name.toStdString());

        result()->clear();
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"),
                     "file://" + folder.toPercentEncoding("/") + "/DSC_%FF%FE.NEF\r\n");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_dialog, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_dialog, &drop);
        QTRY_COMPARE(result()->text(), QStringLiteral("3619"));
    }

    void detailsSpeakOfTheFileOfTheResultAndAnErrorChangesNeither()
    {
        synthetic::CameraFile camera;
        camera.shutterCount = 3619;
        camera.serialNumber = "2012345";
        camera.dateTimeOriginal = "2025:01:10 10:10:00";
        const QString nef =
            writeFile(QStringLiteral("Card A/DSC_0001.NEF"), bytes(synthetic::makeNef(camera)));
        synthetic::CameraFile edited;
        edited.withMakerNote = false;
        edited.software = "Adobe Photoshop CS6 (Windows)";
        const QString longName = QStringLiteral(
            "DSC_0002 edited for the club's yearly exhibition, third version, final.JPG");
        const QString jpeg = writeFile(QStringLiteral("Card B/") + longName,
                                       bytes(synthetic::makeJpeg(edited, false)));
        // A malformed EXIF header, in a folder whose name is not ASCII.
        const QString broken = writeFile(QStringLiteral("Fotos \u00e4\u00f6/DSC_0003.JPG"),
                                         QByteArray("\xFF\xD8\xFF\xE1\x00\x10"
                                                    "Exif\0\0"
                                                    "IM\x2A\x00\x08\x00\0\0\0\0\0\0\0\0\0\0",
                                                    28));
        const QSize size = m_dialog->size();
        QVERIFY(details().join(QString()).isEmpty());

        m_dialog->readFile(nef);
        QCOMPARE(result()->text(), QStringLiteral("3619"));
        QCOMPARE(details(),
                 (QStringList{QStringLiteral("DSC_0001.NEF"), QDir::toNativeSeparators(nef),
                              QStringLiteral("NIKON D70"), QStringLiteral("2012345"),
                              QStringLiteral("2025-01-10 10:10:00"),
                              QStringLiteral("18-70 mm f/3.5-4.5"),
                              QStringLiteral("mechanical releases")}));

        // No Count, with the reason; a name too long for its place is
        // shortened, not allowed to widen the dialog.
        m_dialog->readFile(jpeg);
        QCOMPARE(result()->text(), QStringLiteral("No Count"));
        const QStringList afterNoCount = details();
        QCOMPARE(afterNoCount.size(), 7);
        QVERIFY2(afterNoCount[0].startsWith(QStringLiteral("DSC_0002"))
                     && afterNoCount[0].contains(u'\u2026'),
                 qPrintable(afterNoCount[0]));
        QCOMPARE(afterNoCount[1], QDir::toNativeSeparators(jpeg));
        QCOMPARE(afterNoCount.mid(2, 4),
                 (QStringList{QStringLiteral("NIKON D70"), QString(),
                              QStringLiteral("2026-12-07 10:00:00"), QString()}));
        QVERIFY2(
            afterNoCount[6].startsWith(QStringLiteral("maker notes missing"))
                && afterNoCount[6].contains(QStringLiteral("\"Adobe Photoshop CS6 (Windows)\"")),
            qPrintable(afterNoCount[6]));
        QCOMPARE(m_dialog->size(), size);

        // An error, through Select: the box names the new file; the field and
        // the block still speak of the one before.
        QString shown;
        choose(broken);
        whenModal<QMessageBox>([&shown](QMessageBox* box) { shown = box->text(), box->accept(); });
        QTest::mouseClick(selectButton(), Qt::LeftButton);
        shown.remove(QChar(0x200B));  // break opportunities, not shown
        QCOMPARE(shown,
                 broken
                     + QStringLiteral(
                         " could not be read:\nThe EXIF segment holds no valid TIFF header"));
        QCOMPARE(result()->text(), QStringLiteral("No Count"));
        QCOMPARE(details(), afterNoCount);
        QVERIFY(m_dialog->isVisible());

        // Back to a count: the reason goes, what the count counts in its place.
        m_dialog->readFile(nef);
        QCOMPARE(details().size(), 7);
        QCOMPARE(details().constLast(), QStringLiteral("mechanical releases"));
    }

    // Descenders stay whole: no ink on a value's last pixel row (at 7 to 9
    // points they reached it when a row was one font height).
    void detailRowsHoldTheirDescenders_data()
    {
        QTest::addColumn<int>("pointSize");
        for (int size : {7, 9, 14})
            QTest::addRow("DejaVu Serif %d", size) << size;
    }
    void detailRowsHoldTheirDescenders()
    {
        QFETCH(int, pointSize);
        if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Serif")))
            QSKIP("DejaVu Serif is not installed");
        const QFont saved = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), pointSize));
        CMainDialog dialog;
        QApplication::setFont(saved);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const char* name : {"fileValue", "lensValue"}) {
            auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
            label->setText(QStringLiteral("DSC 0001.NEF gjpqy"));
            const QImage image = label->grab().toImage();
            const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
            int lowestInk = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width() / 2; ++x)
                    if (image.pixel(x, y) != background)
                        lowestInk = y;
            QVERIFY2(lowestInk >= 0 && lowestInk < image.height() - 1,
                     qPrintable(QStringLiteral("%1: ink down to row %2 of %3")
                                    .arg(QLatin1String(name))
                                    .arg(lowestInk)
                                    .arg(image.height())));
        }
    }

    // Tab reaches the values shown, and a value can be selected and copied
    // from the keyboard.
    void detailValuesCanBeCopiedWithoutAMouse()
    {
        synthetic::CameraFile camera;
        camera.serialNumber = "2012345";
        m_dialog->readFile(
            writeFile(QStringLiteral("DSC_0001.NEF"), bytes(synthetic::makeNef(camera))));
        QApplication::setActiveWindow(m_dialog);
        selectButton()->setFocus();
        QStringList reached;
        for (int i = 0; i < 8 && reached.size() < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QVERIFY2(reached.contains(QStringLiteral("serialNumberValue")),
                 qPrintable(reached.join(u',')));
        // A Nikon count says what it counts too, as every maker's does.
        QVERIFY(reached.contains(QStringLiteral("reasonValue")));
        QCOMPARE(detail("reasonValue")->text(), QStringLiteral("mechanical releases"));
        QLabel* serial = detail("serialNumberValue");
        serial->setFocus(Qt::TabFocusReason);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(serial, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(serial, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2012345"));
    }

    // A long word is broken, and a reason longer than its lines ends in an
    // ellipsis, the whole reason in the tooltip; a line feed in a name shows.
    void longWordsAndLineFeedsStayInSight()
    {
        auto* panel = m_dialog->findChild<CFileDetailsPanel*>();
        frametally::SelectReading reading;
        reading.file = {"/photos/DSC\n0001.NEF", "/photos/DSC\n0001.NEF"};
        reading.result = "No Count";
        reading.reason =
            "maker notes missing; the file was written by \"" + std::string(300, 'W') + "\"";
        panel->showReading(reading);
        QLabel* reason = detail("reasonValue");
        QVERIFY2(reason->text().endsWith(u'\u2026'), qPrintable(reason->text()));
        QCOMPARE(reason->toolTip(), QString::fromStdString(reading.reason));
        const QFontMetrics metrics(reason->font());
        for (const QString& line : reason->text().split(u'\n'))
            QVERIFY(metrics.horizontalAdvance(line) <= reason->contentsRect().width());
        QCOMPARE(detail("fileValue")->text(), QStringLiteral("DSC\u240A0001.NEF"));

        // An error box breaks a long word rather than cutting it at its edge.
        QString shownText;
        int textWidth = 0, labelWidth = 0;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shownText = label->text();
            textWidth = label->sizeHint().width();
            labelWidth = label->width();
            box->accept();
        });
        const QString folder = QStringLiteral("a") + QString(200, u'b');
        m_dialog->readFile(writeFile(folder + QStringLiteral("/x.JPG"),
                                     QByteArray("\xFF\xD8\xFF\xE1\x00\x10"
                                                "Exif\0\0"
                                                "IM\x2A\x00\x08\x00\0\0\0\0\0\0\0\0\0\0",
                                                28)));
        QVERIFY(shownText.contains(folder.left(20)));
        QVERIFY2(textWidth <= labelWidth + 1,
                 qPrintable(QStringLiteral("%1 > %2").arg(textWidth).arg(labelWidth)));
    }

    void pickerOpensInTheLastFolderWithTheLastFilter()
    {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QVERIFY(QDir().mkpath(pictures));
        const QString chosen = writeFile(QStringLiteral("Card A/DSC_0003.JPEG"), "not an image\n");
        const QString jpegFilter = QStringLiteral("JPG Files (*.jpg *.JPG *.jpeg *.JPEG)");
        QStringList seen;
        const auto answer = [&](const QString& path, const QString& filter) {
            whenModal<QFileDialog>([&seen, path, filter](QFileDialog* picker) {
                seen << picker->directory().absolutePath() << picker->selectedNameFilter();
                QVERIFY(picker->nameFilters().contains(
                    QStringLiteral("JPG Files (*.jpg *.JPG *.jpeg *.JPEG)")));
                if (!filter.isEmpty())
                    picker->selectNameFilter(filter);
                if (path.isEmpty()) {
                    picker->reject();
                    return;
                }
                picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(picker)->accept();
            });
        };
        // First the Pictures folder; then the last file's folder and the last
        // filter, also after a cancel; a new session starts afresh.
        answer(chosen, jpegFilter);
        m_dialog->OnSelect();
        answer(QString(), QString());
        m_dialog->OnSelect();
        answer(QString(), QString());
        m_dialog->OnSelect();
        delete m_dialog;
        m_dialog = new CMainDialog;
        answer(QString(), QString());
        m_dialog->OnSelect();
        QDir(pictures).removeRecursively();

        const QString nefFilter = QStringLiteral("NEF Files (*.nef *.NEF)");
        const QString card = QFileInfo(chosen).absolutePath();
        QCOMPARE(seen, (QStringList{pictures, nefFilter, card, jpegFilter, card, jpegFilter,
                                    pictures, nefFilter}));
    }

    void noDefaultButtonEnterPressesOnlyAFocusedSelect()
    {
        for (QPushButton* button : m_dialog->findChildren<QPushButton*>())
            QVERIFY(!button->isDefault() && !button->autoDefault());
        int pickers = 0;
        const auto countPicker = [&pickers] {
            return whenModal<QFileDialog>(
                [&pickers](QFileDialog* picker) { ++pickers, picker->reject(); });
        };
        QPointer<QTimer> waiting = countPicker();
        result()->setFocus();
        QTest::keyClick(result(), Qt::Key_Return);
        QTest::keyClick(result(), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::qWait(150);
        QCOMPARE(pickers, 0);
        QVERIFY(m_dialog->isVisible());

        selectButton()->setFocus();
        QTest::keyClick(selectButton(), Qt::Key_Return);
        QTRY_COMPARE(pickers, 1);
        delete waiting;
    }

    void exitAndEscapeEndTheDialog()
    {
        m_dialog->setResult(7);
        action("exitAction")->trigger();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), 0);
        m_dialog->show();
        QTest::keyClick(m_dialog, Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
    }

    void aboutOpensModallyAndStartsUnvisitedEachTime()
    {
        for (int opening = 0; opening < 2; ++opening) {
            QStringList seen;
            whenModal<CAboutDialog>([&seen](CAboutDialog* about) {
                seen << about->windowTitle() << about->link()->linkText()
                     << QString::number(about->link()->isVisited());
                about->link()->setVisited(true);
                QTest::keyClick(about, Qt::Key_Escape);
            });
            action("aboutAction")->trigger();  // returns once the About box has closed
            QCOMPARE(seen,
                     (QStringList{QStringLiteral("About Frametally"),
                                  QStringLiteral(FRAMETALLY_WEB_ADDRESS), QStringLiteral("0")}));
            QVERIFY(m_dialog->findChildren<CAboutDialog*>().isEmpty());
        }
    }

    void droppedLocalFileIsRead()
    {
        QMimeData web, local;
        web.setUrls({QUrl(QStringLiteral("https://example.org/DSC_0001.NEF"))});
        local.setUrls({QUrl::fromLocalFile(writeFile(QStringLiteral("dropped.txt"), "text"))});
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        enter.setAccepted(false);
        QApplication::sendEvent(m_dialog, &refused);
        QApplication::sendEvent(m_dialog, &enter);
        QVERIFY(!refused.isAccepted() && enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_dialog, &drop);
        QTRY_COMPARE(result()->text(), QStringLiteral("Not Readable"));
    }

    // Another maker's count: the place of the reason says what it counts, and
    // goes back to the reason for a file without a count.
    void anotherMakersCountSaysWhatItCounts()
    {
        const auto drop = [this](const QString& path) {
            QMimeData local;
            local.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &local, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(m_dialog, &enter);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(m_dialog, &event);
        };
        drop(writeFile(QStringLiteral("sony.jpg"),
                       bytes(synthetic::makeMakerFile(synthetic::sonyFile(
                           "ILCE-7M3", {synthetic::sonyCountBlock(0x3a, 5011)})))));
        QTRY_COMPARE(result()->text(), QStringLiteral("5011"));
        QVERIFY(detail("reasonValue")->isVisible());
        QCOMPARE(detail("reasonValue")->text(),
                 QStringLiteral("all exposures, electronic shutter included"));
        drop(writeFile(QStringLiteral("sony-unknown.jpg"),
                       bytes(synthetic::makeMakerFile(synthetic::sonyFile(
                           "ILCE-7M9", {synthetic::sonyCountBlock(0x3a, 5)})))));
        QTRY_COMPARE(result()->text(), QStringLiteral("No Count"));
        QVERIFY(detail("reasonValue")->text().contains(QStringLiteral("ILCE-7M9")));
    }

    // The rows both dialogs show: the mechanical count and the rated life
    // beneath what a count counts, in sight and apart; gone for a file
    // without a count.
    void mechanicalCountAndRatedLifeRows()
    {
        auto* panel = m_dialog->findChild<CFileDetailsPanel*>();
        frametally::SelectReading reading;
        reading.file = {"/photos/a.ARW", "/photos/a.ARW"};
        reading.result = "52000";
        reading.countKind = "all releases, electronic ones included";
        reading.mechanicalCount = "41000";
        reading.ratedLife = "21% of the 200,000 releases Sony rates this shutter for";
        panel->showReading(reading);
        QCOMPARE(detail("mechanicalCountValue")->text(), QStringLiteral("41000"));
        QCOMPARE(detail("ratedLifeValue")->text().replace(u'\n', u' '),
                 QString::fromStdString(reading.ratedLife));
        QLabel* words = detail("reasonValue");
        QLabel* mechanical = detail("mechanicalCountValue");
        QLabel* rated = detail("ratedLifeValue");
        QVERIFY(mechanical->isVisibleTo(panel) && rated->isVisibleTo(panel));
        QVERIFY(words->geometry().bottom() < mechanical->geometry().top());
        QVERIFY(mechanical->geometry().bottom() < rated->geometry().top());
        QVERIFY(panel->rect().contains(rated->geometry()));
        QCOMPARE(detail("dateTakenValue")->text(), QString());

        reading.result = "No Count";
        reading.reason = "maker notes missing";
        reading.countKind = reading.mechanicalCount = reading.ratedLife = "";
        panel->showReading(reading);
        QVERIFY(!mechanical->isVisibleTo(panel) && !rated->isVisibleTo(panel));
    }

    void commandLineFileArgument()
    {
        QCOMPARE(CFrametallyApp::operands({"-v", "a.NEF", "-", "--", "-b.NEF"}),
                 (QByteArrayList{"a.NEF", "-", "-b.NEF"}));
        QVERIFY(!CFrametallyApp::fileArgument({}));
        QCOMPARE(CFrametallyApp::fileArgument({"file:///media/DCIM/DSC_0001.NEF"})->path,
                 std::string("/media/DCIM/DSC_0001.NEF"));
        QCOMPARE(CFrametallyApp::fileArgument({"file:///media/DCIM/DSC_%FF.NEF"})->path,
                 std::string("/media/DCIM/DSC_\xFF.NEF"));
        QCOMPARE(QString::fromStdString(CFrametallyApp::fileArgument({"a:b.NEF"})->displayPath),
                 QDir::current().absoluteFilePath(QStringLiteral("a:b.NEF")));
    }

    // frametally a b: refused with a usage message, not b silently dropped;
    // usage and the version print too. None of them needs a display: run
    // here with none at all, where opening the window system aborts.
    void commandLineAnswersNeedNoDisplay()
    {
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            noDisplay.remove(QLatin1String(name));
        const auto run = [&](const QStringList& arguments) {
            auto program = std::make_unique<QProcess>();
            program->setProcessEnvironment(noDisplay);
            program->setProcessChannelMode(QProcess::SeparateChannels);
            program->start(QStringLiteral(FRAMETALLY_APP_BIN), arguments);
            program->waitForFinished(30000);
            return program;
        };
        const auto two = run({QStringLiteral("a.NEF"), QStringLiteral("b.NEF")});
        QCOMPARE(two->exitStatus(), QProcess::NormalExit);
        QCOMPARE(two->exitCode(), 2);
        const QString error = QString::fromLocal8Bit(two->readAllStandardError());
        QVERIFY2(error.contains(QStringLiteral("one file at a time"))
                     && error.contains(QStringLiteral("[FILE]")),
                 qPrintable(error));

        const auto help = run({QStringLiteral("--help")});
        QCOMPARE(help->exitStatus(), QProcess::NormalExit);
        QCOMPARE(help->exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(help->readAllStandardOutput())
                    .contains(QStringLiteral("[FILE]")));

        const auto version = run({QStringLiteral("--version")});
        QCOMPARE(version->exitStatus(), QProcess::NormalExit);
        QCOMPARE(version->exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(version->readAllStandardOutput()).trimmed(),
                 QStringLiteral("Frametally " FRAMETALLY_APP_VERSION));
    }
};

QTEST_MAIN(TestMainDialog)
#include "tst_maindialog.moc"
