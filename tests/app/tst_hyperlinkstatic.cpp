// The hyperlink control: set-up, hover with its timer, colours and underline,
// visited state, clicks, the notice to the parent, and how openLink reaches a
// browser when the desktop cannot open the link itself.
#include <QAccessible>
#include <QDesktopServices>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

#include "hyperlinkstatic.h"

namespace {

const QString kAddress = QStringLiteral("https://frametally.example.org/");

// A link whose opening and beep are stand-ins.
class StubLink : public CHyperlinkStatic {
public:
    using CHyperlinkStatic::CHyperlinkStatic;

    int openLink(const QString& link) override
    {
        opened << link;
        return nextResult;
    }
    void messageBeep() override { ++beeps; }

    int nextResult = kOpened;
    QStringList opened;
    int beeps = 0;
};

// A link that reaches the browser for real, on a desktop that cannot open
// links itself.
class DesktoplessLink : public CHyperlinkStatic {
public:
    bool openWithDesktop(const QString& link) override
    {
        desktopAsked << link;
        return false;
    }
    QStringList desktopAsked;
};

class UrlCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls << url; }

public:
    QList<QUrl> urls;
};

class ClickListener : public QWidget {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == CHyperlinkStatic::ClickedEvent::type())
            ids << static_cast<CHyperlinkStatic::ClickedEvent*>(event)->controlId();
        return QWidget::event(event);
    }
    QList<int> ids;
};

int countPixels(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

QStringList readArguments(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.chop(1);
    return text.split(u'\n');
}

}  // namespace

class TestHyperlinkStatic : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_recorder;
    QString m_record;
    QByteArray m_savedPath;

    // Places the link in a shown window, the pointer well away from it.
    void showInWindow(QWidget& window, CHyperlinkStatic& link, const QString& text = kAddress)
    {
        window.resize(400, 120);
        link.setParent(&window);
        link.setText(text);
        link.setGeometry(20, 30, 300, 20);
        link.setUp();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCursor::setPos(window.mapToGlobal(QPoint(390, 110)));
    }

    void pointAt(CHyperlinkStatic& link, const QPoint& at)
    {
        QCursor::setPos(link.mapToGlobal(at));
        QTest::mouseMove(&link, at);
    }

    void writeScript(const QString& path, const QByteArray& body)
    {
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body);
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    }

    void writeDesktopEntry(const QByteArray& exec)
    {
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("share/applications"))));
        QFile entry(m_dir.filePath(QStringLiteral("share/applications/test-browser.desktop")));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Test Browser\nExec=" + exec
                    + "\n\n[Desktop Action new-window]\nExec=wrong\n");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_savedPath = qgetenv("PATH");
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("bin"))));
        // The stand-in browser writes its arguments, one a line, then renames
        // the file into place so that the test never reads half of it.
        m_recorder = m_dir.filePath(QStringLiteral("recorder"));
        m_record = m_dir.filePath(QStringLiteral("recorded"));
        writeScript(m_recorder, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\" && /bin/mv \"$0.tmp\" \""
                                    + m_record.toUtf8() + "\"\n");
        // The desktop's default-application query names our test entry.
        writeScript(m_dir.filePath(QStringLiteral("bin/xdg-mime")),
                    "[ \"$1 $2 $3\" = \"query default x-scheme-handler/https\" ] && echo test-browser.desktop\n");
    }

    void init()
    {
        QFile::remove(m_record);
        qunsetenv("BROWSER");
        qputenv("PATH", m_dir.filePath(QStringLiteral("bin")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("share")).toUtf8());
        qputenv("XDG_DATA_DIRS", m_dir.filePath(QStringLiteral("nowhere")).toUtf8());
        QFile::remove(m_dir.filePath(QStringLiteral("share/applications/test-browser.desktop")));
    }

    void cleanupTestCase() { qputenv("PATH", m_savedPath); }

    void setUpTakesTheTextAsLinkAndFitsToIt_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignTop);
        QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignTop);
        QTest::newRow("centred") << int(Qt::AlignHCenter | Qt::AlignVCenter);
    }
    void setUpTakesTheTextAsLinkAndFitsToIt()
    {
        QFETCH(int, alignment);
        QWidget window;
        CHyperlinkStatic link(&window);
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
        const QSize wanted(qCeil(QFontMetricsF(underlined).horizontalAdvance(kAddress)), QFontMetrics(underlined).height());
        QCOMPARE(link.width(), wanted.width());
        if (alignment & Qt::AlignVCenter) {
            // Shrunk by the same whole number of pixels at top and bottom.
            const int half = (placed.height() - wanted.height()) / 2;
            QCOMPARE(link.geometry(), QRect(link.x(), placed.top() + half, link.width(), placed.height() - 2 * half));
        } else {
            QCOMPARE(link.height(), wanted.height());
        }
        if (alignment & Qt::AlignRight)
            QCOMPARE(link.geometry().right(), placed.right());
        else if (alignment & Qt::AlignHCenter)
            QVERIFY(qAbs(link.geometry().center().x() - placed.center().x()) <= 1);
        else
            QCOMPARE(link.geometry().topLeft(), placed.topLeft());
    }

    void givenLinkTextIsShownWhenTheLabelHasNone()
    {
        QWidget window;
        CHyperlinkStatic link(&window);
        link.setLinkText(kAddress);
        link.setUp();
        QCOMPARE(link.text(), kAddress);
    }

    void hoverRedAndUnderlinedUntilThePointerLeaves()
    {
        QWidget window;
        StubLink link;
        showInWindow(window, link);
        QVERIFY(!link.font().underline());
        QCOMPARE(link.textColour(), QColor(0, 0, 238));
        QVERIFY(countPixels(link.grab().toImage(), QColor(0, 0, 238)) > 0);

        pointAt(link, QPoint(5, 5));
        QVERIFY(link.isHovering());
        QVERIFY(link.font().underline());
        QCOMPARE(link.textColour(), QColor(255, 0, 0));
        const QImage hovered = link.grab().toImage();
        QVERIFY(countPixels(hovered, QColor(255, 0, 0)) > 0);
        QCOMPARE(countPixels(hovered, QColor(0, 0, 238)), 0);

        // The timer keeps the hover while the pointer stays over the text...
        QTest::qWait(3 * CHyperlinkStatic::kHoverInterval);
        QVERIFY(link.isHovering());

        // ...and ends it within about one period once it has left.
        QCursor::setPos(window.mapToGlobal(QPoint(390, 110)));
        QTRY_VERIFY_WITH_TIMEOUT(!link.isHovering(), 4 * CHyperlinkStatic::kHoverInterval);
        QVERIFY(!link.font().underline());
        QCOMPARE(link.textColour(), QColor(0, 0, 238));
    }

    void underlineModes()
    {
        QWidget window;
        StubLink always;
        always.setUnderlineMode(CHyperlinkStatic::UnderlineAlways);
        showInWindow(window, always);
        QVERIFY(always.font().underline());
        pointAt(always, QPoint(5, 5));
        QCursor::setPos(window.mapToGlobal(QPoint(390, 110)));
        QTRY_VERIFY(!always.isHovering());
        QVERIFY(always.font().underline());

        StubLink never(&window);
        never.setUnderlineMode(CHyperlinkStatic::UnderlineNever);
        never.setText(kAddress);
        never.setGeometry(20, 60, 300, 20);
        never.setUp();
        never.show();
        pointAt(never, QPoint(5, 5));
        QVERIFY(never.isHovering());
        QVERIFY(!never.font().underline());
    }

    void successfulOpeningVisitsAndFailedOneBeeps()
    {
        QWidget window;
        StubLink link;
        showInWindow(window, link);

        pointAt(link, QPoint(5, 5));
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(link.opened, QStringList{kAddress});
        QVERIFY(link.isVisited());
        QVERIFY(!link.isHovering());
        QCOMPARE(link.textColour(), QColor(85, 26, 139));
        QVERIFY(countPixels(link.grab().toImage(), QColor(85, 26, 139)) > 0);
        QCOMPARE(link.beeps, 0);

        link.nextResult = CHyperlinkStatic::kNoAssociation;
        link.setFocus();
        QTest::keyClick(&link, Qt::Key_Space);
        QCOMPARE(link.opened.size(), 2);
        QVERIFY(!link.isVisited());
        QCOMPARE(link.textColour(), QColor(0, 0, 238));
        QCOMPARE(link.beeps, 1);

        // A press that is released off the link is no click.
        QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(-20, 5));
        QCOMPARE(link.opened.size(), 2);
    }

    void disabledOrEmptyLinkCountsAsOpened()
    {
        QWidget window;
        StubLink disabled(&window);
        disabled.setText(kAddress);
        disabled.setUp();
        disabled.setLinkEnabled(false);
        disabled.click();
        QVERIFY(disabled.opened.isEmpty());
        QVERIFY(disabled.isVisited());

        CHyperlinkStatic empty(&window);
        empty.setUp();
        QCOMPARE(empty.openLink(QString()), CHyperlinkStatic::kEmptyLink);
        empty.click();
        QVERIFY(empty.isVisited());
    }

    void clickNoticeReachesTheParentBeforeTheClickEnds()
    {
        ClickListener parent;
        StubLink link(&parent);
        link.setText(kAddress);
        link.setControlId(1002);
        link.setUp();
        link.click();
        QVERIFY(parent.ids.isEmpty());

        link.setNotifyParent(true);
        link.click();
        QCOMPARE(parent.ids, QList<int>{1002});
        QVERIFY(CHyperlinkStatic::ClickedEvent::type() >= QEvent::User);
    }

    void screenReadersSeeAPressableLink()
    {
        QWidget window;
        StubLink link;
        showInWindow(window, link);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&link);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Link);
        QCOMPARE(accessible->text(QAccessible::Name), kAddress);
        QVERIFY(accessible->state().focusable);
        QAccessibleActionInterface* actions = accessible->actionInterface();
        QVERIFY(actions);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(link.opened, QStringList{kAddress});
        QVERIFY(accessible->state().traversed);
    }

    // openLink itself.

    void desktopServicesAreAskedFirst()
    {
        qputenv("BROWSER", m_recorder.toUtf8());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        CHyperlinkStatic link;
        const int result = link.openLink(kAddress);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QVERIFY(result > 32);
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(kAddress)});
        QTest::qWait(200);
        QVERIFY(!QFile::exists(m_record));
    }

    void browserGetsTheLinkAsOneArgument_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("plain") << kAddress;
        QTest::newRow("shell characters")
            << QStringLiteral("https://example.org/a b/\"q\" 'x';touch pwned;$(id)`id`&x=|y");
    }
    void browserGetsTheLinkAsOneArgument()
    {
        QFETCH(QString, link);
        qputenv("BROWSER", (m_recorder + QStringLiteral(" --new-tab")).toUtf8());
        DesktoplessLink opener;
        QVERIFY(opener.openLink(link) > 32);
        QCOMPARE(opener.desktopAsked, QStringList{link});
        QTRY_VERIFY(QFile::exists(m_record));
        QCOMPARE(readArguments(m_record), (QStringList{QStringLiteral("--new-tab"), link}));
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void browserListIsCutAtItsPlaceholder()
    {
        qputenv("BROWSER", (m_recorder + QStringLiteral(" --url %s:/usr/bin/other-browser")).toUtf8());
        DesktoplessLink opener;
        QVERIFY(opener.openLink(kAddress) > 32);
        QTRY_VERIFY(QFile::exists(m_record));
        QCOMPARE(readArguments(m_record), (QStringList{QStringLiteral("--url"), kAddress}));
    }

    void desktopEntryCommandIsCutAtItsPlaceholder_data()
    {
        QTest::addColumn<QByteArray>("exec");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("placeholder") << QByteArray("@ --new-window %u") << QStringList{QStringLiteral("--new-window")};
        QTest::newRow("quoted placeholder and program") << QByteArray("\"@\" -a \"%U\"") << QStringList{QStringLiteral("-a")};
        QTest::newRow("no placeholder") << QByteArray("@ -b") << QStringList{QStringLiteral("-b")};
        QTest::newRow("other field codes and escapes")
            << QByteArray("@ %i \"--title=two words\" --load=100%% %f --never")
            << QStringList{QStringLiteral("--title=two words"), QStringLiteral("--load=100%")};
    }
    void desktopEntryCommandIsCutAtItsPlaceholder()
    {
        QFETCH(QByteArray, exec);
        QFETCH(QStringList, arguments);
        writeDesktopEntry(exec.replace("@", m_recorder.toUtf8()));
        DesktoplessLink opener;
        QVERIFY(opener.openLink(kAddress) > 32);
        QTRY_VERIFY(QFile::exists(m_record));
        QCOMPARE(readArguments(m_record), arguments << kAddress);
    }

    void openingFailsWhenNoBrowserCanBeStarted()
    {
        DesktoplessLink opener;
        // No desktop entry behind the default the desktop names.
        QVERIFY(opener.openLink(kAddress) <= 32);
        // No default at all.
        qputenv("PATH", m_dir.filePath(QStringLiteral("nowhere")).toUtf8());
        QVERIFY(opener.openLink(kAddress) <= 32);
        // A browser command that names no program.
        qputenv("BROWSER", m_dir.filePath(QStringLiteral("no-such-browser")).toUtf8());
        QVERIFY(opener.openLink(kAddress) <= 32);
        writeDesktopEntry(m_dir.filePath(QStringLiteral("no-such-browser")).toUtf8() + " %u");
        qunsetenv("BROWSER");
        qputenv("PATH", m_dir.filePath(QStringLiteral("bin")).toUtf8());
        QVERIFY(opener.openLink(kAddress) <= 32);
        QTest::qWait(200);
        QVERIFY(!QFile::exists(m_record));
    }
};

QTEST_MAIN(TestHyperlinkStatic)
#include "tst_hyperlinkstatic.moc"
