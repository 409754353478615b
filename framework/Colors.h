#pragma once

#include <QColor>
#include <cstdint>

// Colour values as the windows store them: 0x00BBGGRR, red in the low byte.
// A value with the top bit set names a system colour by the index in its low byte.
using TColor = std::uint32_t;

namespace fw {

constexpr TColor RGB(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int redOf(TColor c) { return int(c & 0xFF); }
constexpr int greenOf(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int blueOf(TColor c) { return int((c >> 16) & 0xFF); }
constexpr bool isSystemColor(TColor c) { return (c & 0x80000000u) != 0; }

// System colour indexes (the low byte of a system colour value).
enum SystemColorIndex : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND, COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION,
    COLOR_MENU, COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_MENUTEXT, COLOR_WINDOWTEXT,
    COLOR_CAPTIONTEXT, COLOR_ACTIVEBORDER, COLOR_INACTIVEBORDER, COLOR_APPWORKSPACE,
    COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
    COLOR_BTNTEXT, COLOR_INACTIVECAPTIONTEXT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,
    COLOR_3DLIGHT, COLOR_INFOTEXT, COLOR_INFOBK, COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION, COLOR_MENUHILIGHT,
    COLOR_MENUBAR
};
constexpr TColor systemColor(int index) { return 0x80000000u | TColor(index & 0xFF); }

// Resolves a system colour through the application palette; plain colours pass.
TColor ColorToRGB(TColor color);
QColor toQColor(TColor color);
TColor fromQColor(const QColor& color);

} // namespace fw

constexpr TColor clBlack = 0x00000000;
constexpr TColor clMaroon = 0x00000080;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clNavy = 0x00800000;
constexpr TColor clGray = 0x00808080;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clLime = 0x0000FF00;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clFuchsia = 0x00FF00FF;
constexpr TColor clAqua = 0x00FFFF00;
constexpr TColor clWhite = 0x00FFFFFF;

constexpr TColor clWindow = fw::systemColor(fw::COLOR_WINDOW);
constexpr TColor clWindowText = fw::systemColor(fw::COLOR_WINDOWTEXT);
constexpr TColor clBtnFace = fw::systemColor(fw::COLOR_BTNFACE);
constexpr TColor clBtnShadow = fw::systemColor(fw::COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = fw::systemColor(fw::COLOR_BTNHIGHLIGHT);
constexpr TColor clBtnText = fw::systemColor(fw::COLOR_BTNTEXT);
constexpr TColor clHighlight = fw::systemColor(fw::COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = fw::systemColor(fw::COLOR_HIGHLIGHTTEXT);
constexpr TColor clGrayText = fw::systemColor(fw::COLOR_GRAYTEXT);
constexpr TColor clInfoText = fw::systemColor(fw::COLOR_INFOTEXT);
constexpr TColor clInfoBk = fw::systemColor(fw::COLOR_INFOBK);
