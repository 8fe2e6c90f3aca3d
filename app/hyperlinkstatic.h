#pragma once
// A static text turned into a web link: drawn in link colours, underlined
// while the pointer is over it, with the hand cursor and a tooltip naming the
// link, and opened in the user's web browser when clicked; its context menu
// copies the address. The dialog places it like any label and calls setUp()
// once its text and geometry are set.
#include <QBasicTimer>
#include <QColor>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QStringList>

class QAction;
class QProcess;

class CHyperlinkStatic : public QLabel {
    Q_OBJECT

public:
    // Sent (not posted) to the parent widget after a click, when notify
    // parent is on: the parent has handled it before the click ends.
    class ClickedEvent : public QEvent {
    public:
        explicit ClickedEvent(int controlId) : QEvent(type()), m_controlId(controlId) {}
        static QEvent::Type type();
        int controlId() const { return m_controlId; }

    private:
        int m_controlId;
    };

    // openLink's results. As with the shell calls it stands in for, a result
    // above 32 means the link was opened.
    static constexpr int kNothingStarted = 2;
    static constexpr int kNoAssociation = 31;
    static constexpr int kLinkDisabled = 33;
    static constexpr int kEmptyLink = 36;
    static constexpr int kOpened = 42;
    // Not a result yet: the browser is still being looked up, and
    // openFinished() brings the result.
    static constexpr int kLookingUp = -1;

    static constexpr int kHoverInterval = 100;  // ms between hover checks

    enum UnderlineMode { UnderlineNever = 0, UnderlineAlways = 1, UnderlineHover = -1 };

    explicit CHyperlinkStatic(QWidget* parent = nullptr);
    ~CHyperlinkStatic() override;

    // Makes the label a link: takes its text as the link unless one was set,
    // prepares the fonts, fits the label to its text, sets the hand cursor
    // and the tooltip.
    void setUp();

    QString linkText() const { return m_linkText; }
    void setLinkText(const QString& link) { m_linkText = link; }

    QColor linkColour() const { return m_linkColour; }
    QColor visitedColour() const { return m_visitedColour; }
    QColor hoverColour() const { return m_hoverColour; }
    // An invalid colour stands for the colour the dialog itself is drawn in.
    QColor backgroundColour() const { return m_backgroundColour; }
    void setLinkColour(const QColor& colour);
    void setVisitedColour(const QColor& colour);
    void setHoverColour(const QColor& colour);
    void setBackgroundColour(const QColor& colour);

    UnderlineMode underlineMode() const { return m_underlineMode; }
    void setUnderlineMode(UnderlineMode mode);
    bool fitsToText() const { return m_fitToText; }
    void setFitToText(bool fit) { m_fitToText = fit; }
    bool isLinkEnabled() const { return m_linkEnabled; }
    void setLinkEnabled(bool enabled) { m_linkEnabled = enabled; }
    bool notifiesParent() const { return m_notifyParent; }
    void setNotifyParent(bool notify) { m_notifyParent = notify; }
    bool showsTooltip() const { return m_showTooltip; }
    void setShowTooltip(bool show) { m_showTooltip = show; }
    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    bool isHovering() const { return m_hovering; }
    bool isVisited() const { return m_visited; }
    void setVisited(bool visited);
    // The colour the text is drawn in now.
    QColor textColour() const;

    void setDisplayedText(const QString& text);
    // Shrinks or grows the label to just hold its text, keeping the side its
    // alignment names.
    void fitToText();
    void loadLinkCursor();
    void notifyParent();

    // Opens link in the user's web browser: the desktop's own way first
    // (xdg-open, whose exit status is awaited in the background, or Qt's way
    // where there is none), then the registered browser command. Above 32
    // means success; kLookingUp means the answer is still awaited.
    virtual int openLink(const QString& link);

    // What a click does: open the link, mark it visited, or beep and show the
    // address when nothing could open it; then tell the parent.
    void click();

    QAction* copyLinkAction() const { return m_copyLinkAction; }

signals:
    // The result of an openLink() that answered kLookingUp.
    void openFinished(int result);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    virtual bool openWithDesktop(const QString& link);
    // Starts the desktop's opener (xdg-open) on link without waiting for it;
    // false when there is none. Its exit status decides, in the background:
    // an opener that starts and then fails has opened nothing.
    virtual bool startDesktopOpener(const QString& link);
    virtual void messageBeep();
    // Tells the user that no browser could be opened, giving the address to
    // copy; returns at once.
    virtual void showOpenFailure(const QString& link);

private:
    void onClicked();
    void onOpenFinished(int result);
    void finishClick(int result);
    // Asks xdg-mime for the desktop's https handler without waiting for it;
    // finishBrowserLookup() goes on when it answers or takes too long.
    void startBrowserLookup();
    void finishBrowserLookup();
    // The desktop's opener ended (or took too long, which counts as opened:
    // some openers stay while the browser runs).
    void finishDesktopOpener(bool opened);
    // What openLink tries after the desktop's way has failed.
    int openWithBrowser(const QString& link);
    // The browser command in $BROWSER, without the link; empty when unset.
    static QStringList browserFromEnvironment();
    // The command of the desktop entry desktopId, without the link.
    static QStringList browserFromDesktopEntry(const QString& desktopId);
    static QString desktopIdFromQuery(const QByteArray& output);
    static QString readDesktopEntryExec(const QString& desktopId);
    // Starts the browser command with the link; answers kLookingUp, and
    // openFinished() once the browser has run for a moment or has failed.
    int startBrowser(QStringList command, const QString& link);
    void finishBrowser(QProcess* browser, bool opened);

    QColor m_linkColour{0, 0, 238};
    QColor m_visitedColour{85, 26, 139};
    QColor m_hoverColour{255, 0, 0};
    QColor m_backgroundColour;
    bool m_hovering = false;
    bool m_visited = false;
    UnderlineMode m_underlineMode = UnderlineHover;
    bool m_fitToText = true;
    QString m_linkText;
    QFont m_underlinedFont;
    QFont m_plainFont;
    QCursor m_linkCursor;
    bool m_hasLinkCursor = false;
    QBasicTimer m_hoverTimer;
    bool m_linkEnabled = true;
    bool m_notifyParent = false;
    bool m_showTooltip = true;
    bool m_pressed = false;
    int m_controlId = 0;
    QAction* m_copyLinkAction = nullptr;
    QProcess* m_lookup = nullptr;
    QBasicTimer m_lookupTimer;
    QProcess* m_opener = nullptr;
    QBasicTimer m_openerTimer;
    QProcess* m_browser = nullptr;
    QBasicTimer m_browserTimer;
    QString m_lookupLink;
    bool m_clickWaiting = false;
};
