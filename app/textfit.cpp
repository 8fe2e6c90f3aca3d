#include "textfit.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

QString fittedLines(const QString& text, const QFont& font, int width, int maxLines, bool* cut)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    bool shortened = false;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            // The last line takes the rest, shortened to fit.
            const QString rest = text.mid(line.textStart());
            const QString shown = QFontMetrics(font).elidedText(rest, Qt::ElideRight, width);
            shortened = shown != rest;
            lines << shown;
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (cut)
        *cut = shortened;
    return lines.join(u'\n');
}

QString breakableText(const QString& text)
{
    constexpr int kLongestRun = 24;
    QString broken;
    int run = 0;
    for (const QChar c : text) {
        broken += c;
        if (c.isSpace()) {
            run = 0;
        } else if (c == u'/' || c == u'\\' || ++run >= kLongestRun) {
            broken += QChar(0x200B);
            run = 0;
        }
    }
    return broken;
}
