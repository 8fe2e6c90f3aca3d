#pragma once
// The About box: the program's name and version, the copyright line, the web
// address as a link, and the systems and cameras the program is meant for.
#include <QDialog>

class CHyperlinkStatic;

class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    CHyperlinkStatic* link() const { return m_link; }

private:
    CHyperlinkStatic* m_link;
};
