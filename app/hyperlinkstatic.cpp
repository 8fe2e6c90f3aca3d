#include "hyperlinkstatic.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimerEvent>
#include <QUrl>
#include <QtMath>

#include <utility>

namespace {

// Registered once, at start-up, like any other message number of the program.
const QEvent::Type clickedEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// How long the desktop's helper tools may take to name the browser before we
// give up; the window goes on working meanwhile.
constexpr int kToolTimeout = 5000;
// How long a browser started directly is watched for a failure at start.
constexpr int kBrowserGrace = 2000;

// Cuts a command line where its first placeholder for the link begins (a
// quoted placeholder from its opening quote on); the line stays whole when it
// has none. "%%" is a plain percent sign and no placeholder.
QString cutAtPlaceholder(const QString& commandLine, QStringView codes)
{
    for (qsizetype i = 0; i + 1 < commandLine.size(); ++i) {
        if (commandLine[i] != u'%')
            continue;
        const QChar code = commandLine[i + 1];
        if (code == u'%') {
            ++i;
            continue;
        }
        if (!codes.contains(code))
            continue;
        const bool quoted = i > 0 && commandLine[i - 1] == u'"' && i + 2 < commandLine.size()
                            && commandLine[i + 2] == u'"';
        return commandLine.left(quoted ? i - 1 : i);
    }
    return commandLine;
}

// Undoes the escapes of a desktop entry's string values.
QString unescapeEntryValue(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
            case 's': text += u' '; break;
            case 'n': text += u'\n'; break;
            case 't': text += u'\t'; break;
            case 'r': text += u'\r'; break;
            case '\\': text += u'\\'; break;
            default:
                text += u'\\';
                text += value[i];
                break;
        }
    }
    return text;
}

// Splits an Exec line into its arguments: double quotes hold an argument
// together, and inside them a backslash takes the next character literally.
// Field codes other than the link's are dropped, "%%" becomes "%".
QStringList splitExecLine(const QString& line)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    const auto finish = [&] {
        if (inArgument) {
            const bool fieldCode = current.size() == 2 && current[0] == u'%' && current[1] != u'%';
            if (!fieldCode)
                arguments << current.replace(QLatin1String("%%"), QLatin1String("%"));
        }
        current.clear();
        inArgument = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c == u'\\' && i + 1 < line.size())
                current += line[++i];
            else if (c == u'"')
                inQuotes = false;
            else
                current += c;
        } else if (c.isSpace()) {
            finish();
        } else {
            inArgument = true;
            if (c == u'"')
                inQuotes = true;
            else
                current += c;
        }
    }
    finish();
    return arguments;
}

class CHyperlinkAccessible : public QAccessibleWidget {
public:
    explicit CHyperlinkAccessible(CHyperlinkStatic* link)
        : QAccessibleWidget(link, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
            case QAccessible::Name: return link()->text();
            case QAccessible::Description:
                return CHyperlinkStatic::tr("Opens %1 in the web browser").arg(link()->linkText());
            default: return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        state.traversed = link()->isVisited();
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            link()->click();
    }

private:
    CHyperlinkStatic* link() const { return static_cast<CHyperlinkStatic*>(widget()); }
};

QAccessibleInterface* hyperlinkAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("CHyperlinkStatic") && object && object->isWidgetType())
        return new CHyperlinkAccessible(static_cast<CHyperlinkStatic*>(object));
    return nullptr;
}

}  // namespace

QEvent::Type CHyperlinkStatic::ClickedEvent::type() { return clickedEventType; }

CHyperlinkStatic::CHyperlinkStatic(QWidget* parent) : QLabel(parent)
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(hyperlinkAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);

    // Left and top, as a plain static text is laid out.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    m_plainFont = font();
    m_underlinedFont = font();
    m_underlinedFont.setUnderline(true);

    // Right-click, or the menu key, offers the address for pasting anywhere.
    m_copyLinkAction = new QAction(tr("Copy Link Address"), this);
    m_copyLinkAction->setObjectName(QStringLiteral("copyLinkAction"));
    connect(m_copyLinkAction, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(m_linkText); });
    addAction(m_copyLinkAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(this, &CHyperlinkStatic::openFinished, this, &CHyperlinkStatic::onOpenFinished);
}

CHyperlinkStatic::~CHyperlinkStatic()
{
    // An opener still running when the box closes goes on alone (it may be
    // the browser's parent); a lookup still running is given up.
    if (m_opener) {
        m_opener->disconnect(this);
        m_opener->setParent(nullptr);
        connect(m_opener, &QProcess::finished, m_opener, &QObject::deleteLater);
    }
    if (m_lookup) {
        m_lookup->disconnect(this);
        m_lookup->kill();
        m_lookup->waitForFinished(1000);
    }
}

void CHyperlinkStatic::setUp()
{
    if (m_linkText.isEmpty())
        m_linkText = text();

    // The label keeps its font until the pointer first comes over it.
    m_plainFont = font();
    m_underlinedFont = font();
    m_underlinedFont.setUnderline(true);
    if (m_underlineMode == UnderlineAlways)
        setFont(m_underlinedFont);

    if (text().isEmpty())
        setDisplayedText(m_linkText);
    setMouseTracking(true);
    // Reachable from the keyboard too: Tab to it, then Space or Enter.
    setFocusPolicy(Qt::TabFocus);
    fitToText();
    loadLinkCursor();
    if (m_showTooltip)
        setToolTip(m_linkText);
}

void CHyperlinkStatic::setLinkColour(const QColor& colour)
{
    m_linkColour = colour;
    update();
}

void CHyperlinkStatic::setVisitedColour(const QColor& colour)
{
    m_visitedColour = colour;
    update();
}

void CHyperlinkStatic::setHoverColour(const QColor& colour)
{
    m_hoverColour = colour;
    update();
}

void CHyperlinkStatic::setBackgroundColour(const QColor& colour)
{
    m_backgroundColour = colour;
    update();
}

void CHyperlinkStatic::setUnderlineMode(UnderlineMode mode)
{
    m_underlineMode = mode;
    const bool underlined = mode == UnderlineAlways || (mode == UnderlineHover && m_hovering);
    setFont(underlined ? m_underlinedFont : m_plainFont);
}

void CHyperlinkStatic::setVisited(bool visited)
{
    m_visited = visited;
    update();
}

QColor CHyperlinkStatic::textColour() const
{
    if (m_hovering)
        return m_hoverColour;
    return m_visited ? m_visitedColour : m_linkColour;
}

void CHyperlinkStatic::setDisplayedText(const QString& text)
{
    if (text.isEmpty())
        return;
    setText(QString());
    repaint();
    setText(text);
    fitToText();
}

void CHyperlinkStatic::fitToText()
{
    if (!m_fitToText)
        return;

    // Measured with the underlined font, the wider of the two should they differ.
    const int textWidth = qCeil(QFontMetricsF(m_underlinedFont).horizontalAdvance(text()));
    const int textHeight = QFontMetrics(m_underlinedFont).height();
    const QRect client = contentsRect();
    const int wantedWidth = textWidth + width() - client.width();
    const int wantedHeight = textHeight + height() - client.height();

    QRect frame = geometry();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (align & Qt::AlignVCenter) {
        const int half = (frame.height() - wantedHeight) / 2;
        frame.adjust(0, half, 0, -half);
    } else {
        frame.setHeight(wantedHeight);
    }
    if (align & Qt::AlignHCenter) {
        const int half = (frame.width() - wantedWidth) / 2;
        frame.adjust(half, 0, -half, 0);
    } else if (align & Qt::AlignRight) {
        frame.setLeft(frame.left() + frame.width() - wantedWidth);
    } else {
        frame.setWidth(wantedWidth);
    }
    setGeometry(frame);
}

void CHyperlinkStatic::loadLinkCursor()
{
    if (m_hasLinkCursor)
        return;
    m_linkCursor = QCursor(Qt::PointingHandCursor);
    m_hasLinkCursor = true;
    setCursor(m_linkCursor);
}

void CHyperlinkStatic::notifyParent()
{
    QWidget* parent = parentWidget();
    if (!m_notifyParent || !parent)
        return;
    ClickedEvent event(m_controlId);
    QCoreApplication::sendEvent(parent, &event);
}

int CHyperlinkStatic::openLink(const QString& link)
{
    if (link.isEmpty())
        return kEmptyLink;
    // One opening at a time; it opens the link asked for last.
    m_lookupLink = link;
    if (m_opener)
        return kLookingUp;
    if (startDesktopOpener(link))
        return kLookingUp;
    if (openWithDesktop(link))
        return kOpened;
    return openWithBrowser(link);
}

bool CHyperlinkStatic::startDesktopOpener(const QString& link)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    m_opener = new QProcess(this);
    m_opener->setStandardOutputFile(QProcess::nullDevice());
    m_opener->setStandardErrorFile(QProcess::nullDevice());
    connect(m_opener, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        finishDesktopOpener(status == QProcess::NormalExit && exitCode == 0);
    });
    // Queued: a program that cannot start may be reported within start().
    connect(
        m_opener, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                finishDesktopOpener(false);
        },
        Qt::QueuedConnection);
    m_openerTimer.start(kToolTimeout, this);
    m_opener->start(opener, {QUrl::fromUserInput(link).toString(QUrl::FullyEncoded)});
    return true;
#else
    (void)link;
    return false;
#endif
}

void CHyperlinkStatic::finishDesktopOpener(bool opened)
{
    m_openerTimer.stop();
    QProcess* opener = std::exchange(m_opener, nullptr);
    if (!opener)
        return;
    opener->disconnect(this);
    if (opener->state() == QProcess::NotRunning) {
        opener->deleteLater();
    } else {
        // Still running: left to finish on its own, and cleaned up then.
        opener->setParent(nullptr);
        connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    }
    if (opened) {
        emit openFinished(kOpened);
        return;
    }
    const int result = openWithBrowser(m_lookupLink);
    if (result != kLookingUp)
        emit openFinished(result);
}

int CHyperlinkStatic::openWithBrowser(const QString& link)
{
    const QStringList command = browserFromEnvironment();
    if (!command.isEmpty())
        return startBrowser(command, link);
    // The desktop's default browser is asked of xdg-mime, which takes seconds
    // on some desktops: that runs in the background.
    if (!m_lookup)
        startBrowserLookup();
    return kLookingUp;
}

int CHyperlinkStatic::startBrowser(QStringList command, const QString& link)
{
    // Started directly, not through a shell: the link is one argument,
    // whatever characters it holds.
    const QString program = command.takeFirst();
    command << link;
    // Watched for a moment: a browser that cannot run (chromium started as
    // root, say) ends at once with a failure status, and the user must then be
    // told and given the address. Without a parent, so that closing the box
    // does not end a browser still starting; it cleans up when it ends.
    auto* browser = new QProcess;
    browser->setStandardOutputFile(QProcess::nullDevice());
    browser->setStandardErrorFile(QProcess::nullDevice());
    connect(browser, &QProcess::finished, browser, &QObject::deleteLater);
    m_browser = browser;
    connect(browser, &QProcess::finished, this,
            [this, browser](int exitCode, QProcess::ExitStatus status) {
                finishBrowser(browser, status == QProcess::NormalExit && exitCode == 0);
            });
    connect(
        browser, &QProcess::errorOccurred, this,
        [this, browser](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                finishBrowser(browser, false);
                browser->deleteLater();
            }
        },
        Qt::QueuedConnection);
    m_browserTimer.start(kBrowserGrace, this);
    browser->start(program, command);
    return kLookingUp;
}

void CHyperlinkStatic::finishBrowser(QProcess* browser, bool opened)
{
    if (m_browser != browser)
        return;
    m_browserTimer.stop();
    m_browser = nullptr;
    browser->disconnect(this);
    emit openFinished(opened ? kOpened : kNothingStarted);
}

void CHyperlinkStatic::startBrowserLookup()
{
    m_lookup = new QProcess(this);
    m_lookup->setStandardErrorFile(QProcess::nullDevice());
    connect(m_lookup, &QProcess::finished, this, &CHyperlinkStatic::finishBrowserLookup);
    // Queued: a program that cannot start may be reported within start(),
    // before openLink() has answered kLookingUp.
    connect(
        m_lookup, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                finishBrowserLookup();
        },
        Qt::QueuedConnection);
    m_lookupTimer.start(kToolTimeout, this);
    m_lookup->start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                 QStringLiteral("x-scheme-handler/https")});
}

void CHyperlinkStatic::finishBrowserLookup()
{
    m_lookupTimer.stop();
    QProcess* lookup = std::exchange(m_lookup, nullptr);
    if (!lookup)
        return;
    lookup->disconnect(this);
    QString desktopId;
    if (lookup->state() == QProcess::NotRunning) {
        if (lookup->exitStatus() == QProcess::NormalExit && lookup->exitCode() == 0)
            desktopId = desktopIdFromQuery(lookup->readAllStandardOutput());
        lookup->deleteLater();
    } else {
        // Too slow: given up on, and ended without waiting for it.
        connect(lookup, &QProcess::finished, lookup, &QObject::deleteLater);
        lookup->kill();
    }
    const QStringList command =
        desktopId.isEmpty() ? QStringList() : browserFromDesktopEntry(desktopId);
    if (command.isEmpty()) {
        emit openFinished(kNoAssociation);
        return;
    }
    const int result = startBrowser(command, m_lookupLink);
    if (result != kLookingUp)
        emit openFinished(result);
}

void CHyperlinkStatic::click() { onClicked(); }

bool CHyperlinkStatic::openWithDesktop(const QString& link)
{
    const QUrl url = QUrl::fromUserInput(link);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void CHyperlinkStatic::messageBeep() { QApplication::beep(); }

void CHyperlinkStatic::showOpenFailure(const QString& link)
{
    // Many desktops never play the beep: say it, and give the address in a
    // text that can be selected and copied.
    auto* box =
        new QMessageBox(QMessageBox::Information, tr("Open Link"),
                        tr("No web browser could be opened. The address is:\n\n%1").arg(link),
                        QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("openFailureBox"));
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
    // The address comes selected, with the keyboard's focus: Ctrl+C copies it.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setFocusPolicy(Qt::StrongFocus);
        label->setSelection(int(label->text().lastIndexOf(link)), int(link.size()));
        label->setFocus(Qt::OtherFocusReason);
    }
}

void CHyperlinkStatic::onClicked()
{
    m_hovering = false;
    // A click while the browser of the last one is still being looked up
    // changes nothing: that lookup opens the link.
    if (m_clickWaiting)
        return;
    const int result = m_linkEnabled ? openLink(m_linkText) : kLinkDisabled;
    if (result == kLookingUp)
        m_clickWaiting = true;
    else
        finishClick(result);
}

void CHyperlinkStatic::onOpenFinished(int result)
{
    if (std::exchange(m_clickWaiting, false))
        finishClick(result);
}

void CHyperlinkStatic::finishClick(int result)
{
    const bool opened = result > 32;
    setVisited(opened);
    if (!opened) {
        messageBeep();
        showOpenFailure(m_linkText);
    }
    notifyParent();
}

QStringList CHyperlinkStatic::browserFromEnvironment()
{
    // $BROWSER may list several commands separated by colons; the first one
    // counts, with "%s" standing for the link.
    const QString browser =
        qEnvironmentVariable("BROWSER").split(u':', Qt::SkipEmptyParts).value(0).trimmed();
    if (browser.isEmpty())
        return {};
    return QProcess::splitCommand(cutAtPlaceholder(browser, u"s"));
}

QStringList CHyperlinkStatic::browserFromDesktopEntry(const QString& desktopId)
{
    const QString exec = readDesktopEntryExec(desktopId);
    if (exec.isEmpty())
        return {};
    return splitExecLine(cutAtPlaceholder(exec, u"uUfF"));
}

QString CHyperlinkStatic::desktopIdFromQuery(const QByteArray& output)
{
    const QString desktopId = QString::fromLocal8Bit(output).section(u'\n', 0, 0).trimmed();
    // A desktop file id is a file name, never a path.
    if (!desktopId.endsWith(QLatin1String(".desktop")) || desktopId.contains(u'/'))
        return {};
    return desktopId;
}

QString CHyperlinkStatic::readDesktopEntryExec(const QString& desktopId)
{
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    QFile entry(path);
    if (path.isEmpty() || !entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inMainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMainGroup || line.startsWith(u'#') || equals < 0)
            continue;
        if (QStringView(line).left(equals).trimmed() == QLatin1String("Exec"))
            return unescapeEntryValue(line.mid(equals + 1).trimmed());
    }
    return {};
}

void CHyperlinkStatic::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_hovering) {
        m_hovering = true;
        if (m_underlineMode == UnderlineHover)
            setFont(m_underlinedFont);
        update();
        m_hoverTimer.start(kHoverInterval, this);
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperlinkStatic::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_lookupTimer.timerId()) {
        finishBrowserLookup();
        return;
    }
    if (event->timerId() == m_browserTimer.timerId()) {
        // Still running after a moment: the browser has started.
        finishBrowser(m_browser, true);
        return;
    }
    if (event->timerId() == m_openerTimer.timerId()) {
        // The opener has started the browser and waits for it: opened.
        finishDesktopOpener(true);
        return;
    }
    if (event->timerId() != m_hoverTimer.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    m_hovering = false;
    m_hoverTimer.stop();
    if (m_underlineMode != UnderlineAlways)
        setFont(m_plainFont);
    update();
}

void CHyperlinkStatic::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
}

void CHyperlinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        onClicked();
}

void CHyperlinkStatic::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Select:
            event->accept();
            onClicked();
            break;
        default: QLabel::keyPressEvent(event);
    }
}

void CHyperlinkStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backgroundColour.isValid() ? m_backgroundColour
                                                          : palette().color(QPalette::Window));

    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), colours,
                          isEnabled(), text(), QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
