#pragma once
// The dialogs are laid out in dialog units, so that they follow the user's
// font and its size: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QSize>

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QSize size(int width, int height) const;
    // Converts the corners, so that controls that meet in units meet in pixels.
    QRect rect(int x, int y, int width, int height) const;

    // Places a static text at its rectangle, widened to the whole text where
    // the user's font is wider than the layout allows for.
    void placeText(QLabel* label, int x, int y, int width, int height) const;

    int averageCharWidth() const { return m_charWidth; }
    int charHeight() const { return m_charHeight; }

private:
    int m_charWidth;
    int m_charHeight;
};
