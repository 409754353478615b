#include "widgets/GrainPanel.h"

#include "tests/support/FakeDialogs.h"
#include "tests/support/UserTexts.h"

#include <QGuiApplication>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor programBlue = 0x00FF5959; // red 89, green 89, blue 255

QColor pixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

struct ShownPanel {
    QWidget window;
    TGrainPanel* panel = new TGrainPanel(&window);

    explicit ShownPanel(int width = 130, int height = 100)
    {
        panel->setColor(programBlue);
        panel->setGeometry(0, 0, width, height);
        window.resize(width, height);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QImage face() const { return panel->grab().toImage(); }
};

} // namespace

TEST(GrainRandom, SequenceOfAKnownSeed)
{
    grain::Random random(12345);
    EXPECT_EQ(random(100), 38);
    EXPECT_EQ(random.seed(), 0x62A6551Eu);
    EXPECT_EQ(random(100), 28);
    EXPECT_EQ(random(100), 7);
    EXPECT_EQ(random(2), 1);
    EXPECT_EQ(random(2), 1);
    EXPECT_EQ(random(7), 2);
    EXPECT_EQ(random(1000), 439);
    EXPECT_EQ(random(0), 0); // an empty range still moves the seed on
    EXPECT_EQ(random.seed(), 0x144DFC91u);
}

TEST(GrainRandom, PositionsCoverBothEnds)
{
    grain::Random random(7);
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int position = grain::RandPos(random, 10);
        ASSERT_GE(position, 0);
        ASSERT_LE(position, 10);
        seen.insert(position);
    }
    EXPECT_EQ(seen.size(), 11);
}

TEST(GrainShades, LighterDarkerAndBlend)
{
    EXPECT_EQ(grain::Lighter(programBlue), fw::RGB(150, 150, 236));
    EXPECT_EQ(grain::Darker(programBlue), fw::RGB(80, 80, 232));
    // Each share is truncated on its own: 36 % of 255 is 91.8, 64 % of 0 is 0.
    EXPECT_EQ(grain::Blend(clWhite, clBlack, 36), fw::RGB(91, 91, 91));
    EXPECT_EQ(grain::Blend(clWhite, clBlack, -36), fw::RGB(91, 91, 91));
    EXPECT_EQ(grain::Blend(clWhite, clBlack, 250), clWhite);
    EXPECT_EQ(grain::Blend(fw::RGB(89, 0, 0), fw::RGB(89, 0, 0), 36), fw::RGB(88, 0, 0));
    // A system colour is resolved for the blend, but Lighter takes its raw bytes
    // (index 13, 0, 0) for the light mix.
    const TColor highlight = fw::ColorToRGB(clHighlight);
    EXPECT_EQ(grain::Blend(clHighlight, clBlack, 100), highlight);
    EXPECT_EQ(grain::Lighter(clHighlight), grain::Blend(highlight, fw::RGB(131, 128, 128), 36));
}

TEST(GrainNoise, RangesOfBothRules)
{
    struct Case {
        TColor color;
        int amount;
        bool proportional;
        int low, high; // reachable range of the red channel
    };
    const Case cases[] = {
        {fw::RGB(100, 100, 100), 48, false, 76, 123},  // -24 .. +23
        {fw::RGB(10, 10, 10), 48, false, 0, 33},       // folded at zero: |10 - 24| .. 33
        {fw::RGB(250, 250, 250), 100, false, 200, 255}, // capped at 255
        {fw::RGB(100, 100, 100), 150, false, 50, 149},  // the amount is capped at 100
        {fw::RGB(128, 128, 128), 48, true, 128, 139},   // brightening only: Random(24 - 12)
        {fw::RGB(100, 100, 100), 0, false, 100, 100},
        {fw::RGB(100, 100, 100), 0, true, 100, 100},
    };
    for (const Case& c : cases) {
        grain::Random random(99);
        int low = 255;
        int high = 0;
        for (int i = 0; i < 5000; ++i) {
            const TColor noise = grain::Noise(random, c.color, c.amount, c.proportional);
            low = std::min(low, fw::redOf(noise));
            high = std::max(high, fw::redOf(noise));
        }
        EXPECT_EQ(low, c.low) << c.amount << (c.proportional ? " proportional" : "");
        EXPECT_EQ(high, c.high) << c.amount << (c.proportional ? " proportional" : "");
    }
}

TEST(GrainTile, WithoutNoiseOnlySpeckSidesDifferFromTheColour)
{
    grain::Random random(2024);
    const QImage tile = grain::buildTile(random, programBlue, 40, 0, false);
    ASSERT_EQ(tile.size(), QSize(40, 40));
    const TColor dark = grain::Darker(programBlue);
    const TColor light = grain::Lighter(programBlue);
    const QSet<QRgb> allowed = {
        fw::toQColor(programBlue).rgb(),
        fw::toQColor(grain::Blend(programBlue, dark, 36)).rgb(),
        fw::toQColor(grain::Blend(programBlue, light, 36)).rgb(),
        fw::toQColor(grain::Blend(programBlue, light, 52)).rgb(),
        fw::toQColor(grain::Blend(programBlue, dark, 52)).rgb(),
        fw::toQColor(grain::Blend(programBlue, programBlue, 36)).rgb(),
    };
    QSet<QRgb> seen;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            seen.insert(tile.pixel(x, y));
    EXPECT_TRUE(allowed.contains(seen)) << seen.size();
    EXPECT_TRUE(seen.contains(fw::toQColor(grain::Blend(programBlue, dark, 36)).rgb()));
    EXPECT_TRUE(seen.contains(fw::toQColor(grain::Blend(programBlue, light, 36)).rgb()));
}

TEST(GrainTile, SameSeedSameTileAndNoisyBackground)
{
    grain::Random first(5);
    grain::Random second(5);
    const QImage a = grain::buildTile(first, programBlue, 40, 48, false);
    EXPECT_EQ(a, grain::buildTile(second, programBlue, 40, 48, false));
    grain::Random third(6);
    EXPECT_NE(a, grain::buildTile(third, programBlue, 40, 48, false));
    // Plenty of pixels moved off the flat colour, none further than the speck shades.
    int moved = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QColor pixel = pixelAt(a, x, y);
            moved += pixel != fw::toQColor(programBlue);
            EXPECT_LE(std::abs(pixel.red() - 89), 60);
        }
    }
    EXPECT_GT(moved, 400);
}

TEST(GrainPanel, LimitsOfNoiseAndTextureWithTheirMessages)
{
    FakeDialogs dialogs;
    TGrainPanel panel;
    EXPECT_EQ(panel.NoiseAmount(), 48);
    EXPECT_EQ(panel.TextureSize(), 40);
    EXPECT_EQ(panel.VerticalAlign(), TGrainPanel::vaCenter);
    EXPECT_EQ(panel.BevelOuter(), TGrainPanel::bvRaised);
    EXPECT_EQ(panel.BevelInner(), TGrainPanel::bvNone);

    qint64 key = panel.tile().cacheKey();
    panel.setNoiseAmount(-30);
    EXPECT_EQ(panel.NoiseAmount(), 30);
    EXPECT_NE(panel.tile().cacheKey(), key);

    panel.setNoiseAmount(150);
    EXPECT_EQ(panel.NoiseAmount(), 100);
    key = panel.tile().cacheKey();
    panel.setNoiseAmount(100);
    EXPECT_EQ(panel.tile().cacheKey(), key); // the same value changes nothing
    panel.setNoiseAmount(30);
    // The limit is tested before the sign goes: -150 stores 150 without a message.
    panel.setNoiseAmount(-150);
    EXPECT_EQ(panel.NoiseAmount(), 150);
    // The most negative amount neither overflows nor freezes the tile build.
    panel.setNoiseAmount(std::numeric_limits<int>::min());
    EXPECT_EQ(panel.NoiseAmount(), std::numeric_limits<int>::max());
    EXPECT_EQ(panel.tile().size(), QSize(40, 40));
    EXPECT_EQ(dialogs.messages, QStringList({said::tooMuchNoise}));

    dialogs.messages.clear();
    panel.setTextureSize(0);
    EXPECT_EQ(panel.TextureSize(), 4);
    EXPECT_EQ(panel.tile().size(), QSize(4, 4));
    panel.setTextureSize(241);
    EXPECT_EQ(panel.TextureSize(), 240);
    EXPECT_EQ(panel.tile().size(), QSize(240, 240));
    panel.setTextureSize(3);
    panel.setTextureSize(4);
    EXPECT_EQ(dialogs.messages, QStringList({said::textureTooSmall, said::textureTooLarge, said::textureTooSmall}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // the hourglass is gone again
}

TEST(GrainPanel, TileIsRebuiltOnlyForItsOwnSettings)
{
    ShownPanel shown;
    TGrainPanel& panel = *shown.panel;
    const qint64 key = panel.tile().cacheKey();
    panel.resize(300, 200);
    panel.repaint();
    shown.face();
    panel.setVerticalAlign(TGrainPanel::vaTop);
    panel.setCaption("Caption");
    panel.setBevelInner(TGrainPanel::bvLowered);
    panel.setColor(programBlue);
    panel.setNoiseMonoChrome(false);
    EXPECT_EQ(panel.tile().cacheKey(), key);

    panel.setNoiseMonoChrome(true);
    EXPECT_NE(panel.tile().cacheKey(), key);
    const qint64 monochrome = panel.tile().cacheKey();
    panel.setColor(0x00CCFFFF);
    EXPECT_NE(panel.tile().cacheKey(), monochrome);
}

TEST(GrainPanel, FaceRepeatsTheTileFromTheCorner)
{
    ShownPanel shown(130, 100);
    const QImage tile = shown.panel->tile();
    const QImage face = shown.face();
    ASSERT_EQ(face.size(), QSize(130, 100));
    int mismatches = 0;
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 129; ++x)
            mismatches += face.pixel(x, y) != tile.pixel(x % 40, y % 40);
    EXPECT_EQ(mismatches, 0);
}

TEST(GrainPanel, BevelsAndBorderInShadesOfTheColour)
{
    ShownPanel shown(60, 40);
    TGrainPanel& panel = *shown.panel;
    const QColor light(150, 150, 236);
    const QColor dark(80, 80, 232);

    // Raised: light top and left, dark bottom and right; the top-right and bottom-left
    // corners belong to the dark side.
    QImage face = shown.face();
    EXPECT_EQ(pixelAt(face, 0, 0), light);
    EXPECT_EQ(pixelAt(face, 58, 0), light);
    EXPECT_EQ(pixelAt(face, 0, 38), light);
    EXPECT_EQ(pixelAt(face, 59, 0), dark);
    EXPECT_EQ(pixelAt(face, 0, 39), dark);
    EXPECT_EQ(pixelAt(face, 59, 39), dark);

    panel.setBevelOuter(TGrainPanel::bvLowered);
    face = shown.face();
    EXPECT_EQ(pixelAt(face, 0, 0), dark);
    EXPECT_EQ(pixelAt(face, 59, 39), light);

    // A single border outside the bevel: black top-left, white bottom-right.
    panel.setBorderStyle(TGrainPanel::bsSingle);
    panel.setBevelOuter(TGrainPanel::bvRaised);
    panel.setBevelWidth(2);
    face = shown.face();
    EXPECT_EQ(pixelAt(face, 0, 0), QColor(Qt::black));
    EXPECT_EQ(pixelAt(face, 59, 39), QColor(Qt::white));
    EXPECT_EQ(pixelAt(face, 1, 1), light);
    EXPECT_EQ(pixelAt(face, 2, 2), light);
    EXPECT_EQ(pixelAt(face, 57, 37), dark);
    // The tile starts inside border + bevel, still counted from the corner.
    EXPECT_EQ(face.pixel(3, 3), panel.tile().pixel(3, 3));

    // No bevels: the tile reaches the edge.
    panel.setBorderStyle(TGrainPanel::bsNone);
    panel.setBevelOuter(TGrainPanel::bvNone);
    face = shown.face();
    EXPECT_EQ(face.pixel(0, 0), panel.tile().pixel(0, 0));
    EXPECT_EQ(face.pixel(59, 39), panel.tile().pixel(19, 39));
}
