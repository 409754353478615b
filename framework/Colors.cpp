#include "framework/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace fw {

namespace {

// Which palette role stands for each system colour index; -1 where none fits.
QColor paletteColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case COLOR_WINDOW: case COLOR_INFOBK: return palette.color(QPalette::Base);
    case COLOR_WINDOWTEXT: case COLOR_MENUTEXT: case COLOR_CAPTIONTEXT:
        return palette.color(QPalette::Text);
    case COLOR_BTNFACE: case COLOR_MENU: case COLOR_MENUBAR: case COLOR_SCROLLBAR:
    case COLOR_ACTIVEBORDER: case COLOR_INACTIVEBORDER: case COLOR_APPWORKSPACE:
        return palette.color(QPalette::Button);
    case COLOR_BTNTEXT: return palette.color(QPalette::ButtonText);
    case COLOR_BTNSHADOW: return palette.color(QPalette::Mid);
    case COLOR_BTNHIGHLIGHT: return palette.color(QPalette::Light);
    case COLOR_3DDKSHADOW: return palette.color(QPalette::Shadow);
    case COLOR_3DLIGHT: return palette.color(QPalette::Midlight);
    case COLOR_HIGHLIGHT: case COLOR_MENUHILIGHT: case COLOR_ACTIVECAPTION:
    case COLOR_GRADIENTACTIVECAPTION:
        return palette.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT: return palette.color(QPalette::HighlightedText);
    case COLOR_GRAYTEXT: case COLOR_INACTIVECAPTIONTEXT:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case COLOR_INFOTEXT: return palette.color(QPalette::ToolTipText);
    case COLOR_HOTLIGHT: return palette.color(QPalette::Link);
    case COLOR_WINDOWFRAME: return palette.color(QPalette::WindowText);
    case COLOR_BACKGROUND: case COLOR_INACTIVECAPTION: case COLOR_GRADIENTINACTIVECAPTION:
        return palette.color(QPalette::Window);
    default: return QColor(Qt::black);
    }
}

} // namespace

TColor ColorToRGB(TColor color)
{
    if (!isSystemColor(color))
        return color & 0x00FFFFFFu;
    return fromQColor(paletteColor(int(color & 0xFF)));
}

QColor toQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

TColor fromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

} // namespace fw
