#pragma once

#include "framework/Colors.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace fw {

// The fill colour of a canvas.
struct TBrush {
    TColor Color = clWhite;
};

// The line colour of a canvas.
struct TPen {
    TColor Color = clBlack;
};

// A font together with the colour text is drawn in.
class TFont : public QFont {
public:
    TFont() = default;
    explicit TFont(const QFont& font, TColor color = clWindowText) : QFont(font), Color(color) {}
    TColor Color = clWindowText;
};

// A drawing surface in the windows' manner over a QPainter: brush, pen and font are
// plain state that the drawing calls read. Without a painter it still measures text.
// Lines follow the classic rule: a line from A to B covers A but not B.
class TCanvas {
public:
    TBrush Brush;
    TPen Pen;
    TFont Font;

    QPainter* painter() const { return currentPainter; }
    void setPainter(QPainter* painter) { currentPainter = painter; }

    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    void FillRect(const QRect& rect);
    // Fills the rectangle with the brush and draws the text with its top-left corner
    // at (x, y), clipped to the rectangle.
    void TextRect(const QRect& rect, int x, int y, const QString& text);
    void TextOut(int x, int y, const QString& text);
    void MoveTo(int x, int y) { penPosition = QPoint(x, y); }
    void LineTo(int x, int y);

private:
    QPainter* currentPainter = nullptr;
    QPoint penPosition;
};

} // namespace fw
