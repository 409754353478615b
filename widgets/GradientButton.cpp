#include "widgets/GradientButton.h"

#include "system/FontFactory.h"

#include "framework/Fonts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace {

constexpr int schemeCount = TGradientButton::csCustom;
constexpr int colorCount = TGradientButton::colorCount;

// Marks a colour that a scheme leaves as it was (no colour value has these high bits).
constexpr TColor keep = 0xFFFFFFFFu;

template <typename... Colors> consteval std::array<TColor, schemeCount> row(Colors... colors)
{
    static_assert(sizeof...(Colors) == schemeCount, "one colour per scheme");
    return {TColor(colors)...};
}

// The colours of the twelve schemes: one row per colour property in index order, one
// column per scheme in TColorScheme order. The plain schemes keep the four
// gradient-end colours.
constexpr std::array<TColor, schemeCount> schemeColors[] = {
    //   VividDesert   VividSky  VividGrass VividSilver   VividRose    VividSun      Desert       Grass         Sky         Sun        Rose      Silver
    row(0x00C6ECFF, 0x00FFEEDD, 0x00DDF9E8, 0x00F3F3F3, 0x00E8E8FF, 0x00F0FFFF, 0x0095DDFF, 0x0098EBB7, 0x00FFE0C1, 0x00A8FFFF, 0x00C6C6FF, 0x00E0E0E0), // ColorFace
    row(0x0037BEFF, 0x00FFB66C, 0x005EDF8E, 0x00BCBCBC, 0x009595FF, 0x0020D8F9,       keep,       keep,       keep,       keep,       keep,       keep), // ColorGrad
    row(0x00009CE8, 0x00FFA851, 0x0024B95C, 0x00A7A7A7, 0x008282FF, 0x0000BBBB, 0x00009CE8, 0x0024B95C, 0x00FFA953, 0x0000BBBB, 0x008282FF, 0x00AEAEAE), // ColorDark
    row(0x00B9E7FF, 0x00FFECD9, 0x00CBF5DB, 0x00F7F7F7, 0x00DDDDFF, 0x00F2FFFF, 0x00B9E7FF, 0x00CBF5DB, 0x00FFECD9, 0x00F2FFFF, 0x00DDDDFF, 0x00F7F7F7), // ColorLight
    row(0x00005680, 0x00B35900, 0x00156F37, 0x00626262, 0x0000009D, 0x00006464, 0x00005680, 0x00156F37, 0x00B35900, 0x00006464, 0x0000009D, 0x00626262), // ColorBorder
    row(0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000), // ColorText
    row(0x00B3E7FF, 0x00FFEBD7, 0x00BFF2D2, 0x00F0F0F0, 0x00DFDFFF, 0x00D5FCFF, 0x006FD0FF, 0x0068E196, 0x00FFCD9B, 0x0066F3FF, 0x00B0B0FF, 0x00CFCFCF), // OverColorFace
    row(0x0000A3F0, 0x00FFA346, 0x003DD877, 0x00A6A6A6, 0x007777FF, 0x0005BCDC,       keep,       keep,       keep,       keep,       keep,       keep), // OverColorGrad
    row(0x00008ED2, 0x00FF9E3E, 0x0023B459, 0x00A2A2A2, 0x006A6AFF, 0x0000A6A6, 0x00008ED2, 0x0023B459, 0x00FFB164, 0x0000A6A6, 0x006A6AFF, 0x00797979), // OverColorDark
    row(0x0095DAFF, 0x00FFE4CA, 0x00B5F0CB, 0x00EEEEEE, 0x00D7D7FF, 0x00CCFFFF, 0x0095DAFF, 0x00B5F0CB, 0x00FFE4CA, 0x00CCFFFF, 0x00D7D7FF, 0x00EEEEEE), // OverColorLight
    row(0x00005680, 0x00B35900, 0x0017793D, 0x00757575, 0x0000009D, 0x00006464, 0x00005680, 0x0017793D, 0x00B35900, 0x00006464, 0x0000009D, 0x00757575), // OverColorBorder
    row(0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000), // OverColorText
    row(0x002BBAFF, 0x00FFB366, 0x004EDC83, 0x00CACACA, 0x00A6A6FF, 0x0005D1F5, 0x006FD0FF, 0x004EDC83, 0x00FFC082, 0x0022EEFF, 0x009F9FFF, 0x00D3D3D3), // DownColorFace
    row(0x0077D2FF, 0x00FFCE9D, 0x0080E6A6, 0x00DADADA, 0x00B9B9FF, 0x0066F0FB,       keep,       keep,       keep,       keep,       keep,       keep), // DownColorGrad
    row(0x008AD9FF, 0x00FFD3A8, 0x0089E7AC, 0x00E9E9E9, 0x00CECEFF, 0x0066F3FF, 0x008AD9FF, 0x0089E7AC, 0x00FFD3A8, 0x0066F3FF, 0x008888FF, 0x00E9E9E9), // DownColorDark
    row(0x000077B7, 0x00FF9E3E, 0x00177D3E, 0x007C7C7C, 0x005E5EFF, 0x00008484, 0x000077B7, 0x00177D3E, 0x00FF9122, 0x00008484, 0x005E5EFF, 0x007C7C7C), // DownColorLight
    row(0x000070A6, 0x00B35900, 0x00167439, 0x004E4E4E, 0x0000009D, 0x00006464, 0x000070A6, 0x00167439, 0x00B35900, 0x00006464, 0x0000009D, 0x004E4E4E), // DownColorBorder
    row(0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000), // DownColorText
    row(0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00EEEEEE, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2, 0x00E2E2E2), // DisabledColorFace
    row(0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF,       keep,       keep,       keep,       keep,       keep,       keep), // DisabledColorGrad
    row(0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D2D2D2, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8), // DisabledColorDark
    row(0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA, 0x00EAEAEA), // DisabledColorLight
    row(0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4, 0x00C4C4C4), // DisabledColorBorder
    row(0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080, 0x00808080), // DisabledColorText
    row(0x004080FF, 0x00FFA953, 0x0024B95C, 0x00ADADAD, 0x005E5EFF, 0x0000BBBB, 0x004080FF, 0x0000A421, 0x00DC9B14, 0x00008CF4, 0x005E5EFF, 0x008A8A8A), // ColorFocusRect
};

consteval bool isGradIndex(int index)
{
    return index % 6 == TGradientButton::ciGrad && index < TGradientButton::ciFocusRect;
}

// Vivid schemes set every colour; plain schemes set all but the gradient ends; every
// value set is a plain colour.
consteval bool schemeTableIsWellFormed()
{
    for (int index = 0; index < colorCount; ++index) {
        for (int scheme = 0; scheme < schemeCount; ++scheme) {
            const TColor value = schemeColors[index][scheme];
            const bool plainScheme = scheme >= TGradientButton::csDesert;
            if ((value == keep) != (plainScheme && isGradIndex(index)))
                return false;
            if (value != keep && (value >> 24) != 0)
                return false;
        }
    }
    return true;
}
static_assert(std::size(schemeColors) == colorCount, "one row per colour property");
static_assert(schemeTableIsWellFormed());

template <typename... Colors> consteval std::array<TColor, colorCount> colorSet(Colors... colors)
{
    static_assert(sizeof...(Colors) == colorCount, "one value per colour property");
    return {TColor(colors)...};
}

// How every button of the program's windows is coloured.
constexpr std::array<TColor, colorCount> programLook = colorSet(
    // Face     Grad        Dark      Light       Border      Text
    clWhite,    0x00B00000, clWhite,  0x00B9E7FF, 0x00005680, clWhite, // normal
    clWhite,    0x00FF7979, clWhite,  0x0095DAFF, 0x00005680, clWhite, // pointer over
    clWhite,    clBlue,     clWhite,  0x000077B7, 0x000070A6, clBlack, // pressed
    0x00EEEEEE, clWhite,    0x00D2D2D2, clWhite,  clGray,     clGray,  // disabled
    clWhite);                                                          // focus rectangle

constexpr int half(int x) { return x / 2; } // truncates toward zero
constexpr int odd(int x) { return x % 2; }  // keeps the sign of x

// Draws an axis-parallel line from 'from' towards 'to' without its end point, as the
// raster rule of line drawing has it (QPainter::drawLine would draw the end point).
void rasterLine(QPainter& painter, QPoint from, QPoint to, const QColor& color)
{
    if (from == to)
        return;
    if (from.y() == to.y()) {
        const int last = to.x() > from.x() ? to.x() - 1 : to.x() + 1;
        painter.fillRect(QRect(QPoint(std::min(from.x(), last), from.y()), QPoint(std::max(from.x(), last), from.y())),
                         color);
    } else if (from.x() == to.x()) {
        const int last = to.y() > from.y() ? to.y() - 1 : to.y() + 1;
        painter.fillRect(QRect(QPoint(from.x(), std::min(from.y(), last)), QPoint(from.x(), std::max(from.y(), last))),
                         color);
    }
}

// The outline of the rectangle (left, top)-(right, bottom) with a one-pixel pen: the
// pixels left..right-1 by top..bottom-1, inside edges only.
void outline(QPainter& painter, int left, int top, int right, int bottom, const QColor& color)
{
    if (right <= left || bottom <= top)
        return;
    painter.fillRect(QRect(left, top, right - left, 1), color);
    painter.fillRect(QRect(left, bottom - 1, right - left, 1), color);
    painter.fillRect(QRect(left, top, 1, bottom - top), color);
    painter.fillRect(QRect(right - 1, top, 1, bottom - top), color);
}

// The window's dialog-key pass: Enter and Escape are offered to the buttons of the
// window that holds the focus before the focused control sees them. An editor that
// takes Enter and Escape itself (a multi-line text) keeps them.
class DialogKeyPass : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Escape)
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        QWidget* focus = QApplication::focusWidget();
        // Only the first delivery counts; the event climbs to the parents afterwards.
        if (focus ? widget != focus : !widget->isWindow())
            return false;
        if (wantsAllKeys(focus))
            return false;
        const auto buttons = widget->window()->findChildren<TGradientButton*>();
        return std::any_of(buttons.begin(), buttons.end(),
                           [&](TGradientButton* button) { return button->dialogKey(key->key(), key->modifiers()); });
    }

private:
    static bool wantsAllKeys(const QWidget* focus)
    {
        if (const auto* text = qobject_cast<const QTextEdit*>(focus))
            return !text->isReadOnly();
        if (const auto* text = qobject_cast<const QPlainTextEdit*>(focus))
            return !text->isReadOnly();
        return false;
    }
};

void installDialogKeyPass()
{
    static QPointer<DialogKeyPass> pass;
    if (pass || !qApp)
        return;
    pass = new DialogKeyPass(qApp);
    qApp->installEventFilter(pass);
}

// Assistive tools see the button as a push button named by its caption, whose
// press action clicks it as the mouse does; a disabled button reports itself
// unavailable, and its press, like a current tab's, does nothing.
class GradientButtonAccessible : public QAccessibleWidget {
public:
    explicit GradientButtonAccessible(TGradientButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    TGradientButton* button() const { return static_cast<TGradientButton*>(widget()); }

    QAccessible::Role role() const override { return button()->PageTab() ? QAccessible::PageTab : QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (button()->PageTab()) {
            state.selectable = true;
            state.selected = button()->Current();
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && button()->accessibleName().isEmpty())
            return captionWithoutMnemonic(button()->Caption());
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override
    {
        QStringList names{pressAction()};
        if (hasMenu())
            names << showMenuAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction() && hasMenu()) {
            // As a right click opens it; posted, so the caller's request returns first.
            const QPoint centre = button()->rect().center();
            QCoreApplication::postEvent(button(), new QContextMenuEvent(QContextMenuEvent::Keyboard, centre,
                                                                        button()->mapToGlobal(centre)));
            return;
        }
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (button()->isEnabled() && !button()->Current())
            button()->Click();
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name != pressAction())
            return QAccessibleWidget::keyBindingsForAction(name);
        const QKeySequence mnemonic = QKeySequence::mnemonic(button()->Caption());
        return mnemonic.isEmpty() ? QStringList() : QStringList{mnemonic.toString(QKeySequence::NativeText)};
    }

private:
    // A menu of the button's own actions, opened by a right click.
    bool hasMenu() const
    {
        return button()->contextMenuPolicy() == Qt::ActionsContextMenu && !button()->actions().isEmpty();
    }
    // "&Open" reads "Open", "&&" reads "&".
    static QString captionWithoutMnemonic(const QString& caption)
    {
        QString plain;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            plain += caption.at(i);
        }
        return plain;
    }
};

QAccessibleInterface* gradientButtonAccessible(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<TGradientButton*>(object))
        return new GradientButtonAccessible(button);
    return nullptr;
}

} // namespace

void fillGradient(QImage& image, TColor start, TColor end)
{
    const int rows = image.height();
    const int width = image.width();
    // An empty image has no row to paint (and a height of 0 gives no step).
    if (rows <= 0 || width <= 0 || image.depth() != 32)
        return;
    const TColor from[3] = {TColor(fw::redOf(start)), TColor(fw::greenOf(start)), TColor(fw::blueOf(start))};
    const TColor to[3] = {TColor(fw::redOf(end)), TColor(fw::greenOf(end)), TColor(fw::blueOf(end))};
    double value[3];
    double step[3];
    for (int channel = 0; channel < 3; ++channel) {
        value[channel] = from[channel];
        step[channel] = (double(to[channel]) - double(from[channel])) / rows;
    }
    // The running values are accumulated row by row, and rounded half to even
    // (std::nearbyint in the default rounding mode).
    const auto byte = [](double v) { return int(std::clamp(std::nearbyint(v), 0.0, 255.0)); };
    for (int y = 0; y < rows; ++y) {
        const QRgb pixel = qRgb(byte(value[0]), byte(value[1]), byte(value[2]));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line, line + width, pixel);
        for (int channel = 0; channel < 3; ++channel)
            value[channel] += step[channel];
    }
}

TGradientButton::TGradientButton(QWidget* parent) : QWidget(parent)
{
    resize(75, 25);
    setTabStop(true);
    setColorScheme(csVividDesert);
    pressed = false;
    // Set directly: the scheme stays the one just applied.
    colors[ciOver + ciGrad] = clWhite;
    colors[ciDown + ciGrad] = clWhite;
    colors[ciDisabled + ciGrad] = clWhite;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // OnMouseMove also without a pressed button
    installDialogKeyPass();
    static const bool accessibleInstalled = (QAccessible::installFactory(gradientButtonAccessible), true);
    Q_UNUSED(accessibleInstalled);
}

TGradientButton::~TGradientButton() = default;

TColor TGradientButton::color(int index) const
{
    return index >= 0 && index < colorCount ? colors[index] : clBlack;
}

void TGradientButton::setColor(int index, TColor value)
{
    if (index >= 0 && index < colorCount)
        colors[index] = value;
    setColorScheme(csCustom);
    update();
}

void TGradientButton::setColorScheme(TColorScheme value)
{
    scheme = value;
    if (value >= 0 && value < csCustom) {
        for (int index = 0; index < colorCount; ++index) {
            const TColor schemeColor = schemeColors[index][value];
            if (schemeColor != keep)
                setColor(index, schemeColor);
        }
        setGradient(value < csDesert);
    }
    update();
    // Each colour set above marked the scheme custom; it reads back as applied.
    scheme = value;
}

void TGradientButton::setCtl3D(bool value)
{
    ctl3D = value;
    update();
}

void TGradientButton::setLayout(TButtonLayout value)
{
    layout = value;
    update();
}

void TGradientButton::setGlyph(const QImage& value)
{
    glyph = value.copy();
    update();
}

void TGradientButton::setSpacing(int value)
{
    spacing = value;
    update();
}

void TGradientButton::setTransparentGlyph(bool value)
{
    transparentGlyph = value;
    update();
}

void TGradientButton::setGradient(bool value)
{
    gradient = value;
    update();
}

void TGradientButton::setCaption(const QString& value)
{
    if (caption == value)
        return;
    caption = value;
    updateAccelerator();
    update();
    if (QAccessible::isActive() && accessibleName().isEmpty()) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void TGradientButton::setTabStop(bool value)
{
    tabStop = value;
    // Tab moves the focus here; a click takes it only through the press handling.
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TGradientButton::applyProgramLook()
{
    for (int index = 0; index < colorCount; ++index)
        setColor(index, programLook[index]);
    setCtl3D(true);
    setLayout(blGlyphLeft);
    setSpacing(4);
    setTransparentGlyph(true);
    setGradient(true);
    setHotTrack(true);
    setFont(sys::faceFont(QStringLiteral("Tahoma"), 11, true));
    setGlyph(QImage());
}

QImage TGradientButton::renderFace() const
{
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return QImage();

    const int set = inert() ? ciDisabled
                  : state == VisualState::Over ? ciOver
                  : state == VisualState::Down ? ciDown
                                               : 0;
    const TColor face = colors[set + ciFace];
    const bool down = state == VisualState::Down;

    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    image.fill(fw::toQColor(face));
    if (gradient)
        fillGradient(image, face, colors[set + ciGrad]);

    QPainter painter(&image);
    painter.setFont(font());
    const QFontMetrics metrics = painter.fontMetrics();
    // The caption is measured as stored, "&" included.
    const int tw = metrics.horizontalAdvance(caption);
    const int th = metrics.height();
    int tx = half(w - tw);
    int ty = half(h - th);

    if (!glyph.isNull()) {
        const int gw = glyph.width();
        const int gh = glyph.height();
        const bool hasCaption = !caption.isEmpty();
        int gx = 0;
        int gy = 0;
        switch (layout) {
        case blGlyphLeft:
            gx = tx - half(gw);
            gy = half(h - gh);
            tx += half(gw);
            if (hasCaption) {
                gx -= half(spacing) + odd(spacing);
                tx += half(spacing);
            }
            break;
        case blGlyphRight:
            gx = tx + tw - half(gw);
            gy = half(h - gh);
            tx -= half(gw);
            if (hasCaption) {
                gx += half(spacing) + odd(spacing);
                tx -= half(spacing);
            }
            break;
        case blGlyphTop:
            gx = half(w - gw);
            gy = ty - half(gh) - odd(gh);
            ty += half(gh);
            if (hasCaption) {
                gy -= half(spacing) + odd(spacing);
                ty += half(spacing);
            }
            break;
        case blGlyphBottom:
            gx = half(w - gw);
            gy = ty + th - half(gh);
            ty -= half(gh);
            if (hasCaption) {
                gy += half(spacing) + odd(spacing);
                ty -= half(spacing);
            }
            break;
        }
        if (down) {
            ++gx;
            ++gy;
        }
        if (transparentGlyph) {
            // The colour of the top-left pixel shows the face through.
            QImage shown = glyph.convertToFormat(QImage::Format_ARGB32);
            const QRgb transparent = shown.pixel(0, 0);
            for (int y = 0; y < shown.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
                std::replace(line, line + shown.width(), transparent, QRgb(0));
            }
            painter.drawImage(gx, gy, shown);
        } else {
            painter.drawImage(gx, gy, glyph);
        }
    }

    if (down) {
        ++tx;
        ++ty;
    }
    if (!caption.isEmpty()) {
        painter.setPen(fw::toQColor(colors[set + ciText]));
        painter.drawText(QRect(tx, ty, tw, th),
                         Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::TextDontClip, caption);
    }

    outline(painter, 0, 0, w, h, fw::toQColor(colors[set + ciBorder]));
    if (ctl3D) {
        const QColor light = fw::toQColor(colors[set + ciLight]);
        rasterLine(painter, QPoint(1, h - 2), QPoint(1, 1), light);
        rasterLine(painter, QPoint(1, 1), QPoint(w - 1, 1), light);
        const QColor dark = fw::toQColor(colors[set + ciDark]);
        rasterLine(painter, QPoint(w - 2, 1), QPoint(w - 2, h - 2), dark);
        rasterLine(painter, QPoint(w - 2, h - 2), QPoint(1, h - 2), dark);
    }
    if (focused)
        outline(painter, 3, 3, w - 3, h - 3, fw::toQColor(colors[ciFocusRect]));
    return image;
}

void TGradientButton::paintEvent(QPaintEvent*)
{
    const QImage face = renderFace();
    if (face.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

void TGradientButton::Click()
{
    if (parentWidget())
        window()->setProperty("ModalResult", modalResult);
    state = VisualState::Normal;
    repaint();
    emit OnClick();
}

bool TGradientButton::canFocus() const
{
    return isVisible() && !inert();
}

bool TGradientButton::dialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (((enter && focused) || (escape && cancel)) && plain && canFocus()) {
        Click();
        return true;
    }
    if (isDefault && enter && canFocus()) {
        Click();
        return true;
    }
    return false;
}

void TGradientButton::updateAccelerator()
{
    delete accelerator;
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (mnemonic.isEmpty())
        return;
    accelerator = new QShortcut(mnemonic, this);
    const auto accelerate = [this] {
        if (!inert())
            Click();
    };
    connect(accelerator, &QShortcut::activated, this, accelerate);
    connect(accelerator, &QShortcut::activatedAmbiguously, this, accelerate);
}

void TGradientButton::pointerEntered()
{
    if (!hotTrack)
        return;
    state = pressed ? VisualState::Down : VisualState::Over;
    repaint();
}

void TGradientButton::pointerLeft()
{
    state = VisualState::Normal;
    repaint();
}

void TGradientButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (pointerInside)
        return;
    pointerInside = true;
    pointerEntered();
}

void TGradientButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!pointerInside)
        return;
    pointerInside = false;
    pointerLeft();
}

void TGradientButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    if (event->button() != Qt::LeftButton)
        return;
    pressed = true;
    clickArmed = true;
    state = VisualState::Down;
    if (tabStop)
        setFocus(Qt::MouseFocusReason);
    repaint();
}

void TGradientButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit OnMouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
    // While a button is held the pointer belongs to this control, and Qt tells its
    // leaving and coming back only after the release; the position tells it now.
    const bool inside = rect().contains(at);
    if (inside == pointerInside)
        return;
    pointerInside = inside;
    if (inside)
        pointerEntered();
    else
        pointerLeft();
}

void TGradientButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // The click of a left press and release inside comes before the release handling.
    if (event->button() == Qt::LeftButton && clickArmed) {
        clickArmed = false;
        if (rect().contains(at)) {
            const QPointer<TGradientButton> alive(this);
            Click();
            if (!alive)
                return;
        }
    }
    emit OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
    pressed = false;
    if (at.x() > 0 && at.x() < width() && at.y() > 0 && at.y() < height())
        state = hotTrack ? VisualState::Over : VisualState::Normal;
    repaint();
}

void TGradientButton::keyPressEvent(QKeyEvent* event)
{
    if (current) {
        event->ignore(); // as a disabled button's keys, they go on to the parent
        return;
    }
    event->accept(); // keys end here; no key-down handling of the framework
    const QPointer<TGradientButton> alive(this);
    switch (event->key()) {
    case Qt::Key_Space:
        state = VisualState::Down;
        repaint();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Click();
        if (!alive)
            return;
        repaint();
        break;
    default:
        repaint();
        break;
    }
    if (!event->text().isEmpty()) {
        QChar key = event->text().front();
        emit OnKeyPress(key);
    }
}

void TGradientButton::keyReleaseEvent(QKeyEvent* event)
{
    if (current) {
        event->ignore();
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || event->key() != Qt::Key_Space)
        return;
    state = VisualState::Normal;
    repaint();
    Click();
}

void TGradientButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    focused = true;
    repaint();
    if (event->reason() != Qt::ActiveWindowFocusReason)
        emit OnEnter();
}

void TGradientButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    focused = false;
    state = VisualState::Normal;
    repaint();
    if (event->reason() != Qt::ActiveWindowFocusReason)
        emit OnExit();
}

void TGradientButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

bool TGradientButton::event(QEvent* event)
{
    // The current tab lets the pointer's events through to its parent, as Qt does
    // for a disabled control; keys still reach it, so Tab moves on from it.
    if (current) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::ContextMenu:
        case QEvent::Wheel:
            return false;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void TGradientButton::setCurrent(bool value)
{
    if (value == current)
        return;
    current = value;
    clickArmed = false;
    // Qt shows no cursor of a disabled control's own; nor does the current tab.
    if (current) {
        liveCursor = testAttribute(Qt::WA_SetCursor) ? std::optional<QCursor>(cursor()) : std::nullopt;
        unsetCursor();
    } else if (liveCursor) {
        setCursor(*liveCursor);
    }
    update();
    if (pageTab && QAccessible::isActive()) {
        QAccessible::State selected;
        selected.selected = true;
        QAccessibleStateChangeEvent changed(this, selected);
        QAccessible::updateAccessibility(&changed);
    }
}
