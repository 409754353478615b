#pragma once

#include "framework/Colors.h"

#include <QImage>
#include <QWidget>
#include <cstdint>

// The noise texture: its random generator, colour shades and tile build.
namespace grain {

// A 32-bit linear congruential generator: seed := seed * 0x08088405 + 1; a draw in
// the range n is the high 32 bits of seed * n.
class Random {
public:
    explicit Random(std::uint32_t seed = 0) : state(seed) {}
    void reseed(std::uint32_t seed) { state = seed; }
    // Low 32 bits of the monotonic clock in nanoseconds.
    void reseedFromClock();
    std::uint32_t seed() const { return state; }
    // 0 .. range-1; 0 when range is 0 or less (the seed still advances).
    int operator()(int range);

private:
    std::uint32_t state;
};

// percent % of p and the rest of q, per channel, both resolved from system colours.
TColor Blend(TColor p, TColor q, int percent);
// The light and dark shades of a colour, used for bevels and speck sides.
TColor Lighter(TColor color);
TColor Darker(TColor color);
// 0 .. n inclusive, folded from either end.
int RandPos(Random& random, int n);
// The colour moved by a random amount per channel (red, green, blue drawn in that
// order). Plain: an offset of -amount/2 .. amount/2-1; proportional: a brightening
// scaled by the channel's own intensity.
TColor Noise(Random& random, TColor color, int amount, bool proportional);

// A size x size tile: noise pixels in the colour, sprinkled with small raised specks.
QImage buildTile(Random& random, TColor color, int size, int amount, bool proportional);

} // namespace grain

// A container panel whose face is a noise tile, made from the panel colour and
// repeated over the whole face; its bevels are shades of the same colour.
class TGrainPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int NoiseAmount READ NoiseAmount WRITE setNoiseAmount)
    Q_PROPERTY(bool NoiseMonoChrome READ NoiseMonoChrome WRITE setNoiseMonoChrome)
    Q_PROPERTY(int TextureSize READ TextureSize WRITE setTextureSize)
    Q_PROPERTY(TVerticalAlign VerticalAlign READ VerticalAlign WRITE setVerticalAlign)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)

public:
    enum TVerticalAlign { vaTop, vaCenter, vaBottom };
    Q_ENUM(TVerticalAlign)
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    explicit TGrainPanel(QWidget* parent = nullptr);
    ~TGrainPanel() override;

    int NoiseAmount() const { return noiseAmount; }
    void setNoiseAmount(int value);
    bool NoiseMonoChrome() const { return noiseMonoChrome; }
    void setNoiseMonoChrome(bool value);
    int TextureSize() const { return textureSize; }
    void setTextureSize(int value);
    TVerticalAlign VerticalAlign() const { return verticalAlign; }
    void setVerticalAlign(TVerticalAlign value);

    TColor Color() const { return color; }
    void setColor(TColor value);
    QString Caption() const { return caption; }
    void setCaption(const QString& value);
    TAlignment Alignment() const { return alignment; }
    void setAlignment(TAlignment value);
    TBevelCut BevelOuter() const { return bevelOuter; }
    void setBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner; }
    void setBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth; }
    void setBevelWidth(int value);
    int BorderWidth() const { return borderWidth; }
    void setBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle; }
    void setBorderStyle(TBorderStyle value);

    // The current texture tile, TextureSize x TextureSize.
    QImage tile() const { return texture; }

signals:
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void rebuild();

    int noiseAmount = 48;
    bool noiseMonoChrome = false;
    int textureSize = 40;
    TVerticalAlign verticalAlign = vaCenter;
    TColor color = clBtnFace;
    QString caption;
    TAlignment alignment = taCenter;
    TBevelCut bevelOuter = bvRaised;
    TBevelCut bevelInner = bvNone;
    int bevelWidth = 1;
    int borderWidth = 0;
    TBorderStyle borderStyle = bsNone;

    grain::Random random;
    QImage texture;
    bool clickArmed = false;
};
