#include "widgets/GrainPanel.h"

#include "framework/Accessible.h"
#include "framework/Dialogs.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <limits>
#include <chrono>
#include <cstdlib>

namespace {

constexpr int maxNoiseAmount = 100;
constexpr int minTextureSize = 4;
constexpr int maxTextureSize = 240;

const QString tooMuchNoise = QStringLiteral("Maximum Noise Amount of\r  100 has been substituted");
const QString textureTooSmall = QStringLiteral("Minimum Texture Size of\r  4 has been substituted");
const QString textureTooLarge = QStringLiteral("Maximum Texture Size of\r  240 has been substituted");

// |value| capped at 100, safe for the most negative integer.
int percentOf(int value)
{
    return int(std::min<long long>(std::llabs(static_cast<long long>(value)), 100));
}

QRgb toRgb(TColor color)
{
    return qRgb(fw::redOf(color), fw::greenOf(color), fw::blueOf(color));
}

// The hourglass over a tile build, taken back also when the build fails.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Pixel writes into the tile; pixels outside it are skipped.
class TilePixels {
public:
    explicit TilePixels(QImage& image) : image(image), size(image.width()) {}
    void set(int x, int y, TColor color)
    {
        if (x < 0 || y < 0 || x >= size || y >= size)
            return;
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = toRgb(color);
    }

private:
    QImage& image;
    int size;
};

// A one-pixel rectangle without painting anything for an empty one.
void fillSpan(QPainter& painter, int left, int top, int right, int bottom, const QColor& color)
{
    if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), color);
}

// Rings of 'width' pixels inside 'rect', top and left in one colour, bottom and right
// in the other (the corners top-right and bottom-left go to the bottom colour);
// 'rect' is inset by the width.
void frame3D(QPainter& painter, QRect& rect, const QColor& top, const QColor& bottom, int width)
{
    for (int ring = 0; ring < width; ++ring) {
        const int l = rect.left();
        const int t = rect.top();
        const int r = rect.left() + rect.width();
        const int b = rect.top() + rect.height();
        if (r <= l || b <= t)
            break;
        fillSpan(painter, l, t, r - 1, t + 1, top);
        fillSpan(painter, l, t, l + 1, b - 1, top);
        fillSpan(painter, r - 1, t, r, b, bottom);
        fillSpan(painter, l, b - 1, r, b, bottom);
        rect.adjust(1, 1, -1, -1);
    }
}

// Assistive tools see a panel as a grouping of the controls on it, with no name
// of its own; decorations hidden from readers are left out.
class GrainPanelAccessible : public QAccessibleWidget {
public:
    explicit GrainPanelAccessible(TGrainPanel* panel) : QAccessibleWidget(panel, QAccessible::Grouping) {}

    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = shown();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() ? int(shown().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> shown() const
    {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !fw::hiddenFromReaders(child))
                children << child;
        }
        return children;
    }
};

QAccessibleInterface* grainPanelAccessible(const QString&, QObject* object)
{
    if (auto* panel = qobject_cast<TGrainPanel*>(object))
        return new GrainPanelAccessible(panel);
    return nullptr;
}

} // namespace

namespace grain {

void Random::reseedFromClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    state = std::uint32_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

int Random::operator()(int range)
{
    state = state * 0x08088405u + 1u;
    if (range <= 0)
        return 0;
    return int((std::uint64_t(state) * std::uint32_t(range)) >> 32);
}

TColor Blend(TColor p, TColor q, int percent)
{
    const int share = percentOf(percent);
    const TColor from = fw::ColorToRGB(p);
    const TColor to = fw::ColorToRGB(q);
    const auto channel = [share](int a, int b) { return int(share * a / 100.0) + int((100 - share) * b / 100.0); };
    return fw::RGB(channel(fw::redOf(from), fw::redOf(to)), channel(fw::greenOf(from), fw::greenOf(to)),
                   channel(fw::blueOf(from), fw::blueOf(to)));
}

TColor Lighter(TColor color)
{
    // The raw bytes, as stored; Blend resolves the colour itself.
    const int r = fw::redOf(color);
    const int g = fw::greenOf(color);
    const int b = fw::blueOf(color);
    const int a = (r + g + b) / 3 + 510;
    return Blend(color, fw::RGB((r + a) / 4, (g + a) / 4, (b + a) / 4), 36);
}

TColor Darker(TColor color)
{
    const auto darken = [](int channel) { return int(channel * 0.82); };
    return Blend(color, fw::RGB(darken(fw::redOf(color)), darken(fw::greenOf(color)), darken(fw::blueOf(color))), 52);
}

int RandPos(Random& random, int n)
{
    const int b = random(n);
    return random(2) == 1 ? b : std::abs(n - b);
}

TColor Noise(Random& random, TColor color, int amount, bool proportional)
{
    const TColor rgb = fw::ColorToRGB(color);
    const int limit = percentOf(amount);
    const int halfLimit = limit / 2;
    const auto channel = [&](int c) {
        int value;
        if (proportional) {
            const double f = c / 256.0;
            value = std::abs(c + random(int(limit * f) - int(halfLimit * f)));
        } else {
            value = std::abs(c + random(limit) - halfLimit);
        }
        return std::min(value, 255);
    };
    const int r = channel(fw::redOf(rgb));
    const int g = channel(fw::greenOf(rgb));
    const int b = channel(fw::blueOf(rgb));
    return fw::RGB(r, g, b);
}

QImage buildTile(Random& random, TColor color, int size, int amount, bool proportional)
{
    if (size <= 0)
        return QImage();
    const TColor c = fw::ColorToRGB(color);
    const TColor dark = Darker(c);
    const TColor light = Lighter(c);
    const long long count = (static_cast<long long>(amount) + size / 4) * size;

    QImage tile(size, size, QImage::Format_RGB32);
    tile.fill(toRgb(c));
    TilePixels pixels(tile);

    // Background: every other column, rows two or three apart.
    for (int x = 0; x <= size; x += 2) {
        int y = 0;
        do {
            pixels.set(x, y, Noise(random, c, amount, proportional));
            y += 2 + random(2);
        } while (y <= size);
    }

    // Specks, lit from the upper left: a centre, sides in the light and dark shades.
    enum class Speck { Small, Large, Single };
    constexpr Speck round[] = {Speck::Small, Speck::Large, Speck::Large, Speck::Small, Speck::Single};
    // More speck rounds than tile pixels add nothing but time: a huge amount must
    // not freeze the window.
    const long long rounds = std::min<long long>(count / 80 + 1, static_cast<long long>(size) * size);
    for (long long i = 0; i < rounds; ++i) {
        for (const Speck speck : round) {
            const int x = RandPos(random, size);
            const int y = RandPos(random, size);
            const TColor n = Noise(random, c, amount / 4, proportional);
            pixels.set(x, y, n);
            if (speck == Speck::Single)
                continue;
            pixels.set(x + 1, y, Blend(n, dark, 36));
            pixels.set(x - 1, y, Blend(n, light, 36));
            pixels.set(x, y + 1, Blend(n, dark, 36));
            pixels.set(x, y - 1, Blend(n, light, 36));
            if (speck == Speck::Small)
                continue;
            pixels.set(x - 1, y - 1, Blend(n, light, 52));
            pixels.set(x - 1, y + 1, Blend(n, c, 36));
            pixels.set(x + 1, y + 1, Blend(n, dark, 52));
            pixels.set(x + 1, y - 1, Blend(n, c, 36));
        }
    }
    return tile;
}

} // namespace grain

TGrainPanel::TGrainPanel(QWidget* parent) : QWidget(parent)
{
    static const bool accessibleInstalled = (QAccessible::installFactory(grainPanelAccessible), true);
    Q_UNUSED(accessibleInstalled);
    random.reseedFromClock();
    setAttribute(Qt::WA_OpaquePaintEvent);
    rebuild();
}

TGrainPanel::~TGrainPanel() = default;

void TGrainPanel::rebuild()
{
    const WaitCursor hourglass;
    random.reseedFromClock();
    texture = grain::buildTile(random, fw::ColorToRGB(color), textureSize, noiseAmount, noiseMonoChrome);
    update();
}

void TGrainPanel::setNoiseAmount(int value)
{
    if (value == noiseAmount)
        return;
    // The limit is tested before the sign is dropped: -150 stores 150 (the noise
    // itself stays capped at 100, the speck rounds grow).
    if (value > maxNoiseAmount) {
        fw::ShowMessage(tooMuchNoise);
        setNoiseAmount(maxNoiseAmount);
        return;
    }
    const long long magnitude = std::llabs(static_cast<long long>(value));
    noiseAmount = int(std::min<long long>(magnitude, std::numeric_limits<int>::max()));
    rebuild();
}

void TGrainPanel::setNoiseMonoChrome(bool value)
{
    if (value == noiseMonoChrome)
        return;
    noiseMonoChrome = value;
    rebuild();
}

void TGrainPanel::setTextureSize(int value)
{
    if (value == textureSize)
        return;
    if (value < minTextureSize) {
        fw::ShowMessage(textureTooSmall);
        setTextureSize(minTextureSize);
    } else if (value > maxTextureSize) {
        fw::ShowMessage(textureTooLarge);
        setTextureSize(maxTextureSize);
    } else {
        textureSize = value;
        rebuild();
    }
}

void TGrainPanel::setVerticalAlign(TVerticalAlign value)
{
    if (value == verticalAlign)
        return;
    verticalAlign = value;
    update();
}

void TGrainPanel::setColor(TColor value)
{
    if (value == color)
        return;
    color = value;
    rebuild();
}

void TGrainPanel::setCaption(const QString& value)
{
    if (value == caption)
        return;
    caption = value;
    update();
}

void TGrainPanel::setAlignment(TAlignment value)
{
    if (value == alignment)
        return;
    alignment = value;
    update();
}

void TGrainPanel::setBevelOuter(TBevelCut value)
{
    if (value == bevelOuter)
        return;
    bevelOuter = value;
    update();
}

void TGrainPanel::setBevelInner(TBevelCut value)
{
    if (value == bevelInner)
        return;
    bevelInner = value;
    update();
}

void TGrainPanel::setBevelWidth(int value)
{
    value = std::max(value, 1);
    if (value == bevelWidth)
        return;
    bevelWidth = value;
    update();
}

void TGrainPanel::setBorderWidth(int value)
{
    value = std::max(value, 0);
    if (value == borderWidth)
        return;
    borderWidth = value;
    update();
}

void TGrainPanel::setBorderStyle(TBorderStyle value)
{
    if (value == borderStyle)
        return;
    borderStyle = value;
    update();
}

void TGrainPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    const int k = (bevelOuter == bvNone && bevelInner == bvNone) ? 0
                : (bevelOuter != bvNone && bevelInner != bvNone) ? 2
                                                                 : 1;
    int border = k * bevelWidth;
    if (borderStyle == bsSingle) {
        frame3D(painter, area, Qt::black, Qt::white, 1);
        ++border;
    }
    const QRect textArea(0, 0, area.width(), area.height());

    // Bevels in shades of the panel colour, taken from its raw value.
    const QColor lighter = fw::toQColor(grain::Lighter(color));
    const QColor darker = fw::toQColor(grain::Darker(color));
    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool lowered = cut == bvLowered;
        frame3D(painter, area, lowered ? darker : lighter, lowered ? lighter : darker, bevelWidth);
    };
    bevel(bevelOuter);
    const QColor face = fw::toQColor(color);
    frame3D(painter, area, face, face, borderWidth);
    bevel(bevelInner);

    // The tile repeats from the control's top-left corner (brush origin 0,0).
    if (!texture.isNull() && width() - 2 * border > 0 && height() - 2 * border > 0)
        painter.fillRect(QRect(border, border, width() - 2 * border, height() - 2 * border), QBrush(texture));

    if (caption.isEmpty())
        return;
    int flags = Qt::TextExpandTabs;
    flags |= alignment == taLeftJustify ? Qt::AlignLeft : alignment == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter;
    switch (verticalAlign) {
    case vaTop: flags |= Qt::AlignTop; break;
    case vaCenter: flags |= Qt::AlignVCenter | Qt::TextSingleLine; break;
    case vaBottom: flags |= Qt::AlignBottom | Qt::TextSingleLine; break;
    }
    // Right-to-left reading mirrors the horizontal placement; "&" is drawn as it is.
    flags = int(QStyle::visualAlignment(layoutDirection(), Qt::Alignment(flags & Qt::AlignHorizontal_Mask))) |
            (flags & ~Qt::AlignHorizontal_Mask);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(Qt::NoBrush);
    painter.drawText(textArea, flags, caption);
}

void TGrainPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        clickArmed = true;
    emit OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TGrainPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && clickArmed) {
        clickArmed = false;
        if (rect().contains(at))
            emit OnClick();
    }
    emit OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
}
