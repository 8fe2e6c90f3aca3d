#pragma once
// A static text turned into a web link: drawn in link colours, underlined
// while the pointer is over it, with the hand cursor and a tooltip naming the
// link, and opened in the user's web browser when clicked. The dialog places
// it like any label and calls setUp() once its text and geometry are set.
#include <QBasicTimer>
#include <QColor>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QString>
#include <QStringList>

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

    static constexpr int kHoverInterval = 100;  // ms between hover checks

    enum UnderlineMode { UnderlineNever = 0, UnderlineAlways = 1, UnderlineHover = -1 };

    explicit CHyperlinkStatic(QWidget* parent = nullptr);

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

    // Opens link in the user's web browser: the desktop's own way first, then
    // the registered browser command. Above 32 means success.
    virtual int openLink(const QString& link);

    // What a click does: open the link, mark it visited or beep, tell the parent.
    void click();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    virtual bool openWithDesktop(const QString& link);
    virtual void messageBeep();

private:
    void onClicked();
    // The browser command without the link: $BROWSER, or the command of the
    // desktop entry that handles https; empty when there is none.
    static QStringList browserCommand();
    // The desktop entry the desktop names as default for mimeType, or empty.
    static QString readMimeDefault(const QString& mimeType);
    static QString readDesktopEntryExec(const QString& desktopId);

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
};
