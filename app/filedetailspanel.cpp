#include "filedetailspanel.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>

#include "dialogunits.h"
#include "text_shape.h"

namespace {

// The panel measures 216 x 96 dialog units, as wide as the controls above;
// titles line up with the texts above them, and values leave room for a lens
// name. The reason takes the whole width beneath its title, with room for
// three lines.
constexpr int kWidth = 216;
constexpr int kHeight = 96;
constexpr int kTitleLeft = 32;
constexpr int kTitleWidth = 60;
constexpr int kValueLeft = 96;
constexpr int kValueWidth = 112;
constexpr int kRowPitch = 11;
constexpr int kReasonTop = 5 * kRowPitch;
constexpr int kReasonWidth = kValueLeft + kValueWidth - kTitleLeft;
constexpr int kReasonHeight = 3 * 8;

// EXIF writes "2025:01:10 10:10:00"; shown with dashes in the date, as people
// read it. Anything else is shown as the file has it.
QString dateText(const QString& exifDate)
{
    const QDateTime taken = QDateTime::fromString(exifDate, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return taken.isValid() ? taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : exifDate;
}

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
    units.placeText(m_reasonTitle, kTitleLeft, kReasonTop, kTitleWidth, 8);
    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("reasonValue"));
    m_reason->setTextFormat(Qt::PlainText);
    m_reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_reason->setWordWrap(true);
    m_reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reason->setGeometry(units.rect(kTitleLeft, kReasonTop + 10, kReasonWidth, kReasonHeight));
    m_reason->setAccessibleName(tr("Why no count"));
    m_reasonTitle->hide();
    m_reason->hide();
}

QLabel* CFileDetailsPanel::addRow(const QString& title, const char* name, int top)
{
    const CDialogUnits units(font());
    auto* titleLabel = new QLabel(title, this);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    units.placeText(titleLabel, kTitleLeft, top, kTitleWidth, 8);

    auto* value = new QLabel(this);
    value->setObjectName(QLatin1String(name));
    value->setTextFormat(Qt::PlainText);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Serial numbers and lens names are worth copying.
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QRect area = units.rect(kValueLeft, top, kValueWidth, 8);
    // A title widened for a large font pushes its value to the right, within the panel.
    area.setLeft(qMin(qMax(area.left(), titleLabel->geometry().right() + units.x(4)),
                      area.right() - units.x(8)));
    value->setGeometry(area);
    QString accessible = title;
    accessible.remove(u':');
    value->setAccessibleName(accessible);
    return value;
}

void CFileDetailsPanel::setValue(QLabel* label, const QString& text, Qt::TextElideMode mode,
                                 const QString& tooltip)
{
    const QString shown =
        label->fontMetrics().elidedText(text, mode, label->contentsRect().width());
    label->setText(shown);
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
    setValue(m_dateTaken, oneLine(dateText(QString::fromUtf8(reading.dateTaken))), Qt::ElideRight);
    setValue(m_lens, oneLine(QString::fromUtf8(reading.lens)), Qt::ElideRight);

    const QString reason = QString::fromUtf8(reading.reason);
    m_reason->setText(reason);
    // Longer than its three lines: the tooltip holds it whole.
    const bool clipped = m_reason->heightForWidth(m_reason->width()) > m_reason->height();
    m_reason->setToolTip(clipped ? reason : QString());
    m_reasonTitle->setVisible(!reason.isEmpty());
    m_reason->setVisible(!reason.isEmpty());
}
