#include "aboutdialog.h"

#include <QLabel>
#include <QPushButton>

#include "dialogunits.h"
#include "file_types.h"
#include "frametallyapp.h"
#include "hyperlinkstatic.h"

namespace {

// The box measures 310 x 100 dialog units.
constexpr int kWidth = 310;
constexpr int kHeight = 100;

void addText(QWidget* parent, const QString& text, const CDialogUnits& units, int x, int y,
             int width)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    units.placeText(label, x, y, width, 8);
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("About Frametally"));
    const CDialogUnits units(font());
    setFixedSize(units.size(kWidth, kHeight));

    const QRect iconRect = units.rect(11, 17, 20, 20);
    const int iconSide = qMin(iconRect.width(), iconRect.height());
    auto* icon = new QLabel(this);
    icon->setPixmap(
        CFrametallyApp::applicationIcon().pixmap(QSize(iconSide, iconSide), devicePixelRatioF()));
    icon->setGeometry(QRect(iconRect.topLeft(), QSize(iconSide, iconSide)));
    icon->setAccessibleName(tr("Frametally"));

    addText(this, tr("Frametally Version 1.00"), units, 40, 10, 119);
    addText(this, CFrametallyApp::copyrightLine(), units, 40, 25, 221);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(units.rect(234, 6, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_link = new CHyperlinkStatic(this);
    m_link->setControlId(1002);
    m_link->setText(QStringLiteral(FRAMETALLY_WEB_ADDRESS));
    m_link->setGeometry(units.rect(40, 40, 222, 8));
    m_link->setUp();

    addText(this, tr("This program runs under Linux (X11 / Wayland)."), units, 40, 55, 225);
    // Which makers' counts and which file types are read, from the one list
    // of them; three lines at most in the place of one.
    auto* reads = new QLabel(QString::fromStdString(frametally::readsText()), this);
    reads->setObjectName(QStringLiteral("readsText"));
    reads->setTextFormat(Qt::PlainText);
    reads->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reads->setWordWrap(true);
    reads->setGeometry(units.rect(40, 70, 260, 26));

    setTabOrder(ok, m_link);
    ok->setFocus();
}
