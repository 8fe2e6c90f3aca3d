#include "dialogunits.h"

#include <QFontMetrics>
#include <QString>

namespace {

// Units are rounded to the nearest pixel, halves away from zero.
int scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded to whole pixels.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_charWidth = qMax(1, (alphabet / 26 + 1) / 2);
    m_charHeight = qMax(1, metrics.height());
}

int CDialogUnits::x(int units) const { return scale(units, m_charWidth, 4); }

int CDialogUnits::y(int units) const { return scale(units, m_charHeight, 8); }

QSize CDialogUnits::size(int width, int height) const { return {x(width), y(height)}; }

QRect CDialogUnits::rect(int left, int top, int width, int height) const
{
    const int l = x(left);
    const int t = y(top);
    return {l, t, x(left + width) - l, y(top + height) - t};
}

void CDialogUnits::placeText(QLabel* label, int left, int top, int width, int height) const
{
    QRect area = rect(left, top, width, height);
    const int needed = label->sizeHint().width();
    if (needed > area.width())
        area.setWidth(needed);
    label->setGeometry(area);
}
