#include "framework/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>

namespace fw {

namespace {

QFontMetrics metricsFor(const QFont& font, QPainter* painter)
{
    if (painter && painter->device())
        return QFontMetrics(font, painter->device());
    return QFontMetrics(font);
}

} // namespace

int TCanvas::TextWidth(const QString& text) const
{
    return metricsFor(Font, currentPainter).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return metricsFor(Font, currentPainter).height();
}

void TCanvas::FillRect(const QRect& rect)
{
    if (currentPainter)
        currentPainter->fillRect(rect, toQColor(Brush.Color));
}

void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    if (!currentPainter)
        return;
    currentPainter->save();
    currentPainter->setClipRect(rect, currentPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    currentPainter->fillRect(rect, toQColor(Brush.Color));
    if (!text.isEmpty()) {
        currentPainter->setFont(Font);
        currentPainter->setPen(toQColor(Font.Color));
        currentPainter->drawText(QPoint(x, y + metricsFor(Font, currentPainter).ascent()), text);
    }
    currentPainter->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (!currentPainter || text.isEmpty())
        return;
    currentPainter->save();
    currentPainter->setFont(Font);
    currentPainter->setPen(toQColor(Font.Color));
    currentPainter->drawText(QPoint(x, y + metricsFor(Font, currentPainter).ascent()), text);
    currentPainter->restore();
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = penPosition;
    penPosition = QPoint(x, y);
    if (!currentPainter || from == penPosition)
        return;
    const QColor color = toQColor(Pen.Color);
    // Straight lines are filled pixel runs, which leaves out the end point exactly.
    if (from.y() == y) {
        currentPainter->fillRect(QRect(x < from.x() ? x + 1 : from.x(), y, std::abs(x - from.x()), 1), color);
    } else if (from.x() == x) {
        currentPainter->fillRect(QRect(x, y < from.y() ? y + 1 : from.y(), 1, std::abs(y - from.y())), color);
    } else {
        currentPainter->save();
        currentPainter->setPen(QPen(color, 0));
        currentPainter->drawLine(from, penPosition);
        currentPainter->restore();
    }
}

} // namespace fw
