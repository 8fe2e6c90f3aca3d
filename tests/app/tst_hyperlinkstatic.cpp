// The hyperlink control: fitting, hover with its timer, colours, visited state,
// clicks and the notice to the parent, how openLink reaches a browser, and what
// the user is left with when none opens.
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

#include "hyperlinkstatic.h"

namespace {

const QString kAddress = QStringLiteral("https://frametally.example.org/");
const QColor kBlue(0, 0, 238), kPurple(85, 26, 139), kRed(255, 0, 0);

// Opening and beep are stand-ins; or, with real set, only the desktop's own
// way of opening is (it fails, as on a desktop that cannot open links).
class Link : public CHyperlinkStatic {
public:
    explicit Link(QWidget* parent = nullptr, bool real = false)
        : CHyperlinkStatic(parent), m_real(real)
    {
    }
    int openLink(const QString& link) override
    {
        opened << link;
        return m_real ? CHyperlinkStatic::openLink(link) : result;
    }
    bool openWithDesktop(const QString&) override { return false; }
    void messageBeep() override { ++beeps; }
    int result = kOpened;
    QStringList opened;
    int beeps = 0;

private:
    bool m_real;
};

class Catcher : public QWidget {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    bool event(QEvent* event) override
    {
        if (event->type() == CHyperlinkStatic::ClickedEvent::type())
            ids << static_cast<CHyperlinkStatic::ClickedEvent*>(event)->controlId();
        return QWidget::event(event);
    }
    QList<QUrl> urls;
    QList<int> ids;
};

// openLink's final result, waiting for a browser lookup when there is one.
int openAndWait(CHyperlinkStatic& link, const QString& address)
{
    QSignalSpy finished(&link, &CHyperlinkStatic::openFinished);
    const int result = link.openLink(address);
    if (result != CHyperlinkStatic::kLookingUp)
        return result;
    if (finished.isEmpty() && !finished.wait(10000))
        return CHyperlinkStatic::kLookingUp;
    return finished.constFirst().constFirst().toInt();
}

bool shows(CHyperlinkStatic& link, const QColor& colour)
{
    const QImage image = link.grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour.rgb())
                return true;
    return false;
}

}  // namespace

class TestHyperlinkStatic : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_browserEntry;
    QString path(const QString& name) { return QDir(m_dir.path()).filePath(name); }

    void writeFile(const QString& name, const QByteArray& text, bool executable = false)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (executable)
            QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    }
    // The arguments the stand-in browser was started with, once it has run.
    QStringList recorded()
    {
        QFile file(path(QStringLiteral("recorded")));
        if (!QTest::qWaitFor([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<browser did not run>")};
        QString text = QString::fromUtf8(file.readAll());
        text.chop(1);
        return text.split(u'\n');
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(QStringLiteral("browser"),
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >\"$0.tmp\"; /bin/mv "
                  "\"$0.tmp\" \""
                      + path(QStringLiteral("recorded")).toUtf8() + "\"\n",
                  true);
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        // Desktop entries are looked up where Qt's test mode puts them.
        m_browserEntry = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
                         + QStringLiteral("/test-browser.desktop");
        QVERIFY(QDir().mkpath(QFileInfo(m_browserEntry).path()));
        writeFile(
            QStringLiteral("bin/xdg-mime"),
            "#!/bin/sh\n/bin/sleep \"${LOOKUP_DELAY:-0}\"\n"
            "[ \"$*\" = 'query default x-scheme-handler/https' ] && echo test-browser.desktop\n",
            true);
        qputenv("XDG_DATA_DIRS", path(QStringLiteral("nowhere")).toUtf8());
    }

    void init()
    {
        QFile::remove(path(QStringLiteral("bin/xdg-open")));
        QFile::remove(path(QStringLiteral("recorded")));
        QFile::remove(m_browserEntry);
        qunsetenv("BROWSER");
        qunsetenv("LOOKUP_DELAY");
        qputenv("PATH", path(QStringLiteral("bin")).toUtf8());
    }

    void setUpTakesTheTextAsLinkAndFitsToIt_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignTop);
        QTest::newRow("centred") << int(Qt::AlignCenter);
    }
    void setUpTakesTheTextAsLinkAndFitsToIt()
    {
        QFETCH(int, alignment);
        CHyperlinkStatic link;
        link.setText(kAddress);
        link.setAlignment(Qt::Alignment(alignment));
        const QRect placed(20, 30, 300, 21);
        link.setGeometry(placed);
        link.setUp();
        QCOMPARE(link.linkText(), kAddress);
        QCOMPARE(link.toolTip(), kAddress);
        QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);

        QFont underlined = link.font();
        underlined.setUnderline(true);
        QCOMPARE(link.width(), qCeil(QFontMetricsF(underlined).horizontalAdvance(kAddress)));
        const int height = QFontMetrics(underlined).height();
        const int half =
            (placed.height() - height) / 2;  // centred: the same whole pixels off each side
        const QRect expected =
            alignment & Qt::AlignRight
                ? QRect(placed.right() - link.width() + 1, 30, link.width(), height)
            : alignment & Qt::AlignLeft ? QRect(20, 30, link.width(), height)
                                        : QRect(link.x(), 30 + half, link.width(), 21 - 2 * half);
        QCOMPARE(link.geometry(), expected);
        if (alignment == Qt::AlignCenter)
            QVERIFY(qAbs(link.geometry().center().x() - placed.center().x()) <= 1);
    }

    void hoverClickAndVisitedColours()
    {
        QWidget window;
        window.resize(400, 100);
        Link link(&window);
        link.setText(kAddress);
        link.setUp();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint away = window.mapToGlobal(QPoint(390, 90));
        QCursor::setPos(away);
        QVERIFY(shows(link, kBlue) && !link.font().underline());

        QCursor::setPos(link.mapToGlobal(QPoint(5, 5)));
        QTest::mouseMove(&link, QPoint(5, 5));
        QVERIFY(link.isHovering() && link.font().underline());
        QVERIFY(shows(link, kRed) && !shows(link, kBlue));
        // The timer keeps the hover while the pointer stays, and ends it about
        // one period after the pointer has left.
        QTest::qWait(3 * CHyperlinkStatic::kHoverInterval);
        QVERIFY(link.isHovering());
        QCursor::setPos(away);
        QTRY_VERIFY_WITH_TIMEOUT(!link.isHovering(), 4 * CHyperlinkStatic::kHoverInterval);
        QVERIFY(shows(link, kBlue) && !link.font().underline());

        // A successful opening makes it purple; a failed one blue again, with a beep.
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(link.opened, QStringList{kAddress});
        QVERIFY(link.isVisited() && shows(link, kPurple) && link.beeps == 0);
        link.result = CHyperlinkStatic::kNoAssociation;
        link.setFocus();
        QTest::keyClick(&link, Qt::Key_Space);
        QVERIFY(!link.isVisited() && shows(link, kBlue) && link.beeps == 1);
        // A press released off the link is no click.
        QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(-20, 5));
        QCOMPARE(link.opened.size(), 2);
    }

    void underlineAlwaysStaysUnderlined()
    {
        Link link;
        link.setText(kAddress);
        link.setUnderlineMode(CHyperlinkStatic::UnderlineAlways);
        link.setUp();
        QVERIFY(link.font().underline());
    }

    void disabledOrEmptyLinkCountsAsOpenedAndParentHearsOfClicks()
    {
        Catcher parent;
        Link disabled(&parent);
        disabled.setUp();
        disabled.setLinkEnabled(false);
        disabled.setControlId(1002);
        disabled.click();
        QVERIFY(disabled.opened.isEmpty() && disabled.isVisited() && parent.ids.isEmpty());
        disabled.setNotifyParent(true);
        disabled.click();
        QCOMPARE(parent.ids, QList<int>{1002});  // already delivered when click() returns

        CHyperlinkStatic empty;
        empty.setUp();
        QCOMPARE(empty.openLink(QString()), CHyperlinkStatic::kEmptyLink);
    }

    void desktopIsAskedFirst()
    {
        qputenv("BROWSER", path(QStringLiteral("browser")).toUtf8());
        Catcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        const int result = CHyperlinkStatic().openLink(kAddress);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(result > 32);
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(kAddress)});
        QTest::qWait(200);
        QVERIFY(!QFile::exists(path(QStringLiteral("recorded"))));
    }

    void browserCommandGetsTheLinkAsOneArgument_data()
    {
        QTest::addColumn<QByteArray>("browser");  // $BROWSER, or else the desktop entry's Exec line
        QTest::addColumn<QByteArray>("exec");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("$BROWSER") << QByteArray("@ --new-tab") << QByteArray()
                                  << QStringList{QStringLiteral("--new-tab")};
        QTest::newRow("Exec with %u") << QByteArray() << QByteArray("@ --new-window %u")
                                      << QStringList{QStringLiteral("--new-window")};
        QTest::newRow("Exec quoted") << QByteArray() << QByteArray("\"@\" %i -a \"%U\"")
                                     << QStringList{QStringLiteral("-a")};
        QTest::newRow("Exec without placeholder")
            << QByteArray() << QByteArray("@ -b") << QStringList{QStringLiteral("-b")};
    }
    void browserCommandGetsTheLinkAsOneArgument()
    {
        QFETCH(QByteArray, browser);
        QFETCH(QByteArray, exec);
        QFETCH(QStringList, arguments);
        const QByteArray program = path(QStringLiteral("browser")).toUtf8();
        if (!browser.isEmpty())
            qputenv("BROWSER", browser.replace("@", program));
        else
            writeFile(m_browserEntry,
                      "[Desktop Entry]\nName=Test\nExec=" + exec.replace("@", program)
                          + "\n[Desktop Action x]\nExec=no\n");
        const QString link =
            QStringLiteral("https://example.org/a b/\"q\" 'x';touch pwned;$(id)`id`&x=|y");
        Link opener(nullptr, true);
        QVERIFY(openAndWait(opener, link) > 32);
        QCOMPARE(recorded(), arguments << link);
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void failsWhenNoBrowserCanBeStarted()
    {
        Link opener(nullptr, true);
        QVERIFY(openAndWait(opener, kAddress) <= 32);  // the default names no desktop entry
        writeFile(m_browserEntry, "[Desktop Entry]\nExec=/no/such/browser %u\n");
        QVERIFY(openAndWait(opener, kAddress) <= 32);
        qputenv("PATH", path(QStringLiteral("nowhere")).toUtf8());  // no default at all
        QVERIFY(openAndWait(opener, kAddress) <= 32);
        qputenv("BROWSER", "/no/such/browser");
        QVERIFY(openAndWait(opener, kAddress) <= 32);
    }

    void slowBrowserLookupLeavesTheWindowWorking()
    {
        writeFile(m_browserEntry,
                  "[Desktop Entry]\nExec=" + path(QStringLiteral("browser")).toUtf8() + " %u\n");
        qputenv("LOOKUP_DELAY", "1.5");
        Catcher parent;
        Link link(&parent, true);
        link.setText(kAddress);
        link.setUp();
        link.setNotifyParent(true);
        QElapsedTimer clock;
        clock.start();
        link.click();
        link.click();  // while the lookup runs: the same click, told to the parent once
        QVERIFY2(clock.elapsed() < 500, "the click returns while xdg-mime is still answering");
        QVERIFY(!link.isVisited() && parent.ids.isEmpty());
        QCOMPARE(recorded(), QStringList{kAddress});
        QTRY_VERIFY(link.isVisited());
        QCOMPARE(parent.ids.size(), 1);
        QCOMPARE(link.beeps, 0);
    }

    // xdg-open that starts but then fails (exit status not 0) has opened
    // nothing: the click waits for its status in the background, then tries
    // the browser command, and without one says so; the link is not visited.
    void desktopOpenerThatFailsOpensNothing_data()
    {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<bool>("withBrowser");
        QTest::addColumn<bool>("visited");
        QTest::newRow("opens") << QByteArray("exit 0") << false << true;
        QTest::newRow("fails") << QByteArray("/bin/sleep 1; exit 4") << false << false;
        QTest::newRow("fails, $BROWSER opens") << QByteArray("exit 3") << true << true;
    }
    void desktopOpenerThatFailsOpensNothing()
    {
        QFETCH(QByteArray, opener);
        QFETCH(bool, withBrowser);
        QFETCH(bool, visited);
        writeFile(QStringLiteral("bin/xdg-open"),
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.args\"\n" + opener + "\n", true);
        if (withBrowser)
            qputenv("BROWSER", path(QStringLiteral("browser")).toUtf8());
        QWidget window;
        Link link(&window, true);
        link.setText(kAddress);
        link.setUp();
        window.show();
        QElapsedTimer clock;
        clock.start();
        link.click();
        QVERIFY2(clock.elapsed() < 500, "the click returns while xdg-open runs");
        QVERIFY(!link.isVisited());
        QTRY_COMPARE_WITH_TIMEOUT(link.isVisited() || link.beeps > 0, true, 10000);
        QCOMPARE(link.isVisited(), visited);
        QCOMPARE(link.beeps, visited ? 0 : 1);
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("openFailureBox"));
        QCOMPARE(box != nullptr, !visited);
        if (withBrowser)
            QCOMPARE(recorded(), QStringList{kAddress});
        QFile args(path(QStringLiteral("bin/xdg-open.args")));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(), kAddress.toUtf8() + "\n");
    }

    // A browser started directly that ends at once with a failure status
    // (chromium run as root) opened nothing: the link stays unvisited and the
    // box shows the address, selected, so that Ctrl+C copies it.
    void browserThatFailsAtOnceLeavesTheAddressInSight()
    {
        writeFile(QStringLiteral("failing-browser"), "#!/bin/sh\nexit 1\n", true);
        qputenv("BROWSER", path(QStringLiteral("failing-browser")).toUtf8());
        QWidget window;
        Link link(&window, true);
        link.setText(kAddress);
        link.setUp();
        window.show();
        link.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.beeps, 1, 10000);
        QVERIFY(!link.isVisited());
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("openFailureBox"));
        QVERIFY(box);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->selectedText(), kAddress);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), kAddress);
        box->accept();
    }

    void failureShowsTheAddressToCopy()
    {
        QWidget window;
        Link link(&window);
        link.setText(kAddress);
        link.setUp();
        link.result = CHyperlinkStatic::kNoAssociation;
        window.show();
        link.click();
        QCOMPARE(link.beeps, 1);
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("openFailureBox"));
        QVERIFY(box && box->isVisible() && box->text().contains(kAddress));
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
        box->accept();

        QGuiApplication::clipboard()->clear();
        QCOMPARE(link.contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(link.actions(), QList<QAction*>{link.copyLinkAction()});
        QCOMPARE(link.copyLinkAction()->text(), QStringLiteral("Copy Link Address"));
        link.copyLinkAction()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), kAddress);
        QCOMPARE(link.opened.size(), 1);
    }
};

QTEST_MAIN(TestHyperlinkStatic)
#include "tst_hyperlinkstatic.moc"
