#pragma once
// Texts fitted to a place in a window: wrapped to a number of lines, a word
// too long for a line broken inside it rather than cut, and the last line
// ended with an ellipsis when the text does not fit.
#include <QFont>
#include <QString>

// text in at most maxLines lines of width pixels in font, joined by "\n";
// cut tells whether the text had to be shortened.
QString fittedLines(const QString& text, const QFont& font, int width, int maxLines,
                    bool* cut = nullptr);

// text with a break opportunity (U+200B) after path separators and inside
// every run of more than 24 characters without one, for a message box, which
// wraps at words and would cut a long path or word at its edge.
QString breakableText(const QString& text);
