// The main dialog and the About box as a user meets them: the layout, the
// real file picker and message box, the menu commands, dropped files and the
// command line.
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "aboutdialog.h"
#include "dialogunits.h"
#include "frametallyapp.h"
#include "hyperlinkstatic.h"
#include "maindialog.h"

namespace {

// Runs action on the next modal window of type T once it runs its own event
// loop; the caller then opens that window and waits in it until action closes
// it. (Closed any earlier, while it is still being shown, the window would
// leave its loop waiting for ever.)
template <typename T>
void whenModal(std::function<void(T*)> action, QStringList* failures)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    const int outerLevel = QThread::currentThread()->loopLevel();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action, failures, outerLevel] {
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && window->isVisible() && QThread::currentThread()->loopLevel() > outerLevel) {
            timer->deleteLater();
            timer->stop();
            action(window);
        } else if (++*tries > 500) {
            timer->deleteLater();
            timer->stop();
            *failures << QStringLiteral("no %1 appeared").arg(QLatin1String(T::staticMetaObject.className()));
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
    timer->start();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString plain(QString text) { return text.remove(u'&'); }

// Every label and button of the window shows its whole text.
void verifyTextsFit(QWidget& window)
{
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(plain(label->text())) <= label->contentsRect().width(),
                 qPrintable(label->text()));
        QVERIFY2(metrics.height() <= label->contentsRect().height(), qPrintable(label->text()));
    }
    for (QPushButton* button : window.findChildren<QPushButton*>())
        QVERIFY2(button->sizeHint().width() <= button->width() + 2 * button->fontMetrics().averageCharWidth(),
                 qPrintable(button->text()));
}

}  // namespace

class TestMainDialog : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_textFile;
    QString m_badJpeg;
    QStringList m_failures;

    QLineEdit* resultField(CMainDialog& dialog) { return dialog.findChild<QLineEdit*>(QStringLiteral("resultField")); }
    QPushButton* selectButton(CMainDialog& dialog)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("selectButton"));
    }
    QAction* action(CMainDialog& dialog, const char* name) { return dialog.findChild<QAction*>(QLatin1String(name)); }

    void choose(const QString& path)
    {
        whenModal<QFileDialog>(
            [this, path](QFileDialog* picker) {
                if (picker->defaultSuffix() != QLatin1String("NEF") || picker->fileMode() != QFileDialog::ExistingFile
                    || !picker->nameFilters().constFirst().contains(QLatin1String("*.NEF")))
                    m_failures << QStringLiteral("picker set up wrongly");
                if (path.isEmpty()) {
                    picker->reject();
                } else {
                    // Typed into the name field, as a user may do.
                    picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                    static_cast<QDialog*>(picker)->accept();
                }
            },
            &m_failures);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_textFile = m_dir.filePath(QStringLiteral("notes.txt"));
        writeFile(m_textFile, "not an image\n");
        m_badJpeg = m_dir.filePath(QStringLiteral("DSC_0002.JPG"));
        writeFile(m_badJpeg, QByteArray("\xFF\xD8\xFF\xE1\x00\x10" "Exif\0\0" "IM\x2A\x00\x08\x00\x00\x00"
                                        "\x00\x00\x00\x00\x00\x00\x00\x00",
                                        28));
    }

    void init() { m_failures.clear(); }
    void cleanup() { QVERIFY2(m_failures.isEmpty(), qPrintable(m_failures.join(u'\n'))); }

    void dialogsHoldTheirTextsAtAnyFontSize_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("default") << 0;
        QTest::newRow("small") << 7;
        QTest::newRow("large") << 16;
    }
    void dialogsHoldTheirTextsAtAnyFontSize()
    {
        QFETCH(int, pointSize);
        const QFont saved = QApplication::font();
        QFont font = saved;
        if (pointSize)
            font.setPointSize(pointSize);
        QApplication::setFont(font);

        CMainDialog dialog;
        const CDialogUnits units(dialog.font());
        QCOMPARE(selectButton(dialog)->geometry(), units.rect(126, 12, 50, 14));
        QCOMPARE(resultField(dialog)->parentWidget()->size(), units.size(216, 80));
        verifyTextsFit(dialog);

        CAboutDialog about;
        QCOMPARE(about.size(), units.size(310, 100));
        verifyTextsFit(about);
        QApplication::setFont(saved);
    }

    void dialogStartsReadyForSelect()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Imagewright - Frametally"));
        QVERIFY(!dialog.windowIcon().isNull());
        QTRY_COMPARE(QApplication::focusWidget(), selectButton(dialog));
        QVERIFY(resultField(dialog)->isReadOnly());
        QVERIFY(resultField(dialog)->text().isEmpty());

        const QList<QAction*> menus = dialog.findChild<QMenuBar*>()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(plain(menus[0]->text()), QStringLiteral("File"));
        QCOMPARE(plain(menus[1]->text()), QStringLiteral("Help"));
        QCOMPARE(plain(action(dialog, "exitAction")->text()), QStringLiteral("Exit"));
        QCOMPARE(plain(action(dialog, "aboutAction")->text()), QStringLiteral("About Frametally"));
    }

    void selectConfirmedThenCancelled()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        // Cancel before anything was chosen reads the empty path.
        choose(QString());
        QTest::mouseClick(selectButton(dialog), Qt::LeftButton);
        QCOMPARE(resultField(dialog)->text(), QStringLiteral("Not Readable"));

        resultField(dialog)->clear();
        choose(m_textFile);
        QTest::mouseClick(selectButton(dialog), Qt::LeftButton);
        QCOMPARE(resultField(dialog)->text(), QStringLiteral("Not Readable"));

        resultField(dialog)->clear();
        choose(QString());
        QTest::mouseClick(selectButton(dialog), Qt::LeftButton);
        QCOMPARE(resultField(dialog)->text(), QStringLiteral("Not Readable"));
    }

    void readerErrorIsShownAndLeavesTheResult()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        resultField(dialog)->setText(QStringLiteral("4711"));

        QString shown;
        choose(m_badJpeg);
        whenModal<QMessageBox>(
            [&shown](QMessageBox* box) {
                shown = box->text();
                box->accept();
            },
            &m_failures);
        QTest::mouseClick(selectButton(dialog), Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("File type is not Nikon JPG"));
        QCOMPARE(resultField(dialog)->text(), QStringLiteral("4711"));
        QVERIFY(dialog.isVisible());
    }

    void exitAndEscapeEndTheDialog()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.setResult(7);
        action(dialog, "exitAction")->trigger();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void aboutOpensModallyAndStartsUnvisited()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        for (int opening = 0; opening < 2; ++opening) {
            bool seen = false;
            whenModal<CAboutDialog>(
                [&](CAboutDialog* about) {
                    seen = true;
                    if (about->windowTitle() != QLatin1String("About Frametally")
                        || about->link()->text() != QLatin1String(FRAMETALLY_WEB_ADDRESS)
                        || about->link()->linkText() != QLatin1String(FRAMETALLY_WEB_ADDRESS)
                        || about->link()->isVisited())
                        m_failures << QStringLiteral("About box not as expected");
                    // Marked visited now; the next opening must start afresh.
                    about->link()->setVisited(true);
                    QTest::keyClick(about, Qt::Key_Escape);
                },
                &m_failures);
            action(dialog, "aboutAction")->trigger();
            // trigger() returns only once the About box has been closed.
            QVERIFY(seen);
            QVERIFY(dialog.findChildren<CAboutDialog*>().isEmpty());
        }
    }

    void droppedFileIsRead()
    {
        CMainDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/DSC_0001.NEF"))});
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(&dialog, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData local;
        local.setUrls({QUrl::fromLocalFile(m_textFile)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&dialog, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &local, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &drop);
        QTRY_COMPARE(resultField(dialog)->text(), QStringLiteral("Not Readable"));
    }

    void commandLineFileArgument()
    {
        QCOMPARE(CFrametallyApp::fileArgument({}), QString());
        QCOMPARE(CFrametallyApp::fileArgument({QStringLiteral("file:///media/card/DCIM/DSC_0001.NEF")}),
                 QStringLiteral("/media/card/DCIM/DSC_0001.NEF"));
        QCOMPARE(CFrametallyApp::fileArgument({QStringLiteral("/media/card/a:b.NEF")}),
                 QStringLiteral("/media/card/a:b.NEF"));
        QCOMPARE(CFrametallyApp::fileArgument({QStringLiteral("DSC_0001.NEF")}),
                 QDir::current().absoluteFilePath(QStringLiteral("DSC_0001.NEF")));
    }
};

QTEST_MAIN(TestMainDialog)
#include "tst_maindialog.moc"
