#include "filedetailspanel.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>

#include "dialogunits.h"
#include "text_shape.h"
#include "textfit.h"

namespace {

// The panel measures 216 x 118 dialog units, as wide as the controls above;
// titles line up with the texts above them, and values leave room for a lens
// name. A row is a line and a quarter high (10 units of an eighth of the font's
// height), so that descenders of fonts that reach below their stated height
// are not cut. The reason, or what a count counts, takes the whole width
// beneath its title, with room for three lines; under what a count counts come
// the mechanical count and the rated life, each a row of its own, the rated
// life with room for two lines.
constexpr int kWidth = 216;
constexpr int kHeight = 118;
constexpr int kTitleLeft = 32;
constexpr int kTitleWidth = 60;
constexpr int kValueLeft = 96;
constexpr int kValueWidth = 112;
constexpr int kRowPitch = 11;
constexpr int kRowHeight = 10;
constexpr int kReasonTop = 5 * kRowPitch;
constexpr int kReasonWidth = kValueLeft + kValueWidth - kTitleLeft;
constexpr int kReasonLines = 3;
constexpr int kReasonHeight = kReasonLines * kRowHeight;
constexpr int kRatedLifeLines = 2;

}  // namespace

CFileDetailsPanel::CFileDetailsPanel(QWidget* parent) : QWidget(parent)
{
    const CDialogUnits units(font());
    setFixedSize(units.size(kWidth, kHeight));

    m_file = addRow(tr("File:"), "fileValue", 0);
    m_camera = addRow(tr("Camera:"), "cameraValue", kRowPitch);
    m_serialNumber = addRow(tr("Serial number:"), "serialNumberValue", 2 * kRowPitch);
    m_dateTaken = addRow(tr("Date taken:"), "dateTakenValue", 3 * kRowPitch);
    m_lens = addRow(tr("Lens:"), "lensValue", 4 * kRowPitch);

    m_reasonTitle = new QLabel(tr("Why no count:"), this);
    m_reasonTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    units.placeText(m_reasonTitle, kTitleLeft, kReasonTop, kTitleWidth, kRowHeight);
    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("reasonValue"));
    m_reason->setTextFormat(Qt::PlainText);
    m_reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setSelectable(m_reason);
    m_reason->setGeometry(
        units.rect(kTitleLeft, kReasonTop + kRowHeight, kReasonWidth, kReasonHeight));
    m_reason->setAccessibleName(tr("Why no count"));
    m_reasonTitle->hide();
    m_reason->hide();

    // Placed under what the count counts when a reading is shown.
    m_mechanical = addRow(tr("Mechanical count:"), "mechanicalCountValue", 0);
    m_mechanicalTitle = m_mechanical->property("title").value<QLabel*>();
    m_ratedLife = addRow(tr("Rated life:"), "ratedLifeValue", 0);
    m_ratedLifeTitle = m_ratedLife->property("title").value<QLabel*>();
    for (QLabel* label : {m_mechanicalTitle, m_mechanical, m_ratedLifeTitle, m_ratedLife})
        label->hide();
}

QLabel* CFileDetailsPanel::addRow(const QString& title, const char* name, int top)
{
    const CDialogUnits units(font());
    auto* titleLabel = new QLabel(title, this);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    units.placeText(titleLabel, kTitleLeft, top, kTitleWidth, kRowHeight);

    auto* value = new QLabel(this);
    value->setObjectName(QLatin1String(name));
    value->setTextFormat(Qt::PlainText);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setSelectable(value);
    QRect area = units.rect(kValueLeft, top, kValueWidth, kRowHeight);
    // A title widened for a large font pushes its value to the right, within the panel.
    area.setLeft(qMin(qMax(area.left(), titleLabel->geometry().right() + units.x(4)),
                      area.right() - units.x(8)));
    value->setGeometry(area);
    QString accessible = title;
    accessible.remove(u':');
    value->setAccessibleName(accessible);
    value->setProperty("title", QVariant::fromValue(titleLabel));
    return value;
}

void CFileDetailsPanel::setSelectable(QLabel* label)
{
    // Serial numbers, lens names and reasons are worth copying, also without
    // a mouse: Tab reaches a value that is shown, and its text can then be
    // selected with the keys and copied.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::NoFocus);
}

void CFileDetailsPanel::setValue(QLabel* label, const QString& text, Qt::TextElideMode mode,
                                 const QString& tooltip)
{
    const QString shown =
        label->fontMetrics().elidedText(text, mode, label->contentsRect().width());
    label->setText(shown);
    label->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    label->setToolTip(!tooltip.isEmpty() ? tooltip : shown != text ? text : QString());
}

void CFileDetailsPanel::showReading(const frametally::SelectReading& reading)
{
    // One line each: a line feed in a name would hide what follows it.
    const auto oneLine = [](const QString& text) {
        return QString::fromStdString(frametally::onOneLine(text.toStdString()));
    };
    const QString path = QString::fromUtf8(reading.file.displayPath);
    const QString fullPath = oneLine(QDir::toNativeSeparators(path));
    setValue(m_file, path.isEmpty() ? QString() : oneLine(QFileInfo(path).fileName()),
             Qt::ElideMiddle, path.isEmpty() ? QString() : fullPath);
    setValue(m_camera, oneLine(QString::fromUtf8(reading.camera)), Qt::ElideRight);
    setValue(m_serialNumber, oneLine(QString::fromUtf8(reading.serialNumber)), Qt::ElideRight);
    setValue(m_dateTaken, oneLine(QString::fromUtf8(reading.dateTaken)), Qt::ElideRight);
    setValue(m_lens, oneLine(QString::fromUtf8(reading.lens)), Qt::ElideRight);

    // Under a count, the same place says what it counts. Three lines at most,
    // a long word broken rather than cut, and an ellipsis where the rest does
    // not fit; the tooltip then holds it whole.
    const bool counts = reading.reason.empty() && !reading.countKind.empty();
    m_reasonTitle->setText(counts ? tr("What it counts:") : tr("Why no count:"));
    m_reason->setAccessibleName(counts ? tr("What it counts") : tr("Why no count"));
    const QString reason = QString::fromUtf8(counts ? reading.countKind : reading.reason);
    bool clipped = false;
    m_reason->setText(fittedLines(reason, m_reason->font(), m_reason->contentsRect().width(),
                                  kReasonLines, &clipped));
    m_reason->setToolTip(clipped ? reason : QString());
    m_reason->setFocusPolicy(reason.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    m_reasonTitle->setVisible(!reason.isEmpty());
    m_reason->setVisible(!reason.isEmpty());

    // The rows beneath what a count counts, each placed under the one before.
    const CDialogUnits units(font());
    const int reasonLines = reason.isEmpty() ? 0 : int(m_reason->text().count(u'\n')) + 1;
    // As high as its lines, so that it lies over none of the rows beneath.
    m_reason->setFixedHeight(units.rect(0, 0, 1, kRowHeight * qMax(reasonLines, 1)).height());
    int top = kReasonTop + kRowHeight * (1 + reasonLines) + 1;
    const auto place = [&](QLabel* title, QLabel* value, const QString& text, int lines) {
        const bool shown = !text.isEmpty();
        title->setVisible(shown);
        value->setVisible(shown);
        if (!shown)
            return;
        const QRect titleArea = units.rect(kTitleLeft, top, kTitleWidth, kRowHeight);
        title->setGeometry(
            title->geometry().translated(0, titleArea.top() - title->geometry().top()));
        QRect area = value->geometry();
        area.moveTop(titleArea.top());
        area.setHeight(units.rect(0, 0, 1, kRowHeight * lines).height());
        value->setGeometry(area);
        bool cut = false;
        value->setText(
            fittedLines(text, value->font(), value->contentsRect().width(), lines, &cut));
        value->setToolTip(cut ? text : QString());
        value->setFocusPolicy(Qt::StrongFocus);
        top += kRowHeight * int(value->text().count(u'\n') + 1) + 1;
    };
    place(m_mechanicalTitle, m_mechanical, QString::fromUtf8(reading.mechanicalCount), 1);
    place(m_ratedLifeTitle, m_ratedLife, QString::fromUtf8(reading.ratedLife), kRatedLifeLines);
}
