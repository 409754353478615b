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
    QList<int> drawn;
    for (const int range : {100, 100, 100, 2, 2, 7, 1000, 0})
        drawn << random(range);
    EXPECT_EQ(drawn, QList<int>({38, 28, 7, 1, 1, 2, 439, 0}));
    EXPECT_EQ(random.seed(), 0x144DFC91u); // an empty range still moves the seed on
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

    // Negative amounts count as positive; above 100 is refused once, with a message, and
    // 100 kept. The limit is tested before the sign goes: -150 stores 150 without a
    // message, and the most negative amount neither overflows nor freezes the tile
    // build. The same value again leaves the tile as it is.
    const struct {
        int set, stored;
        bool rebuilt;
    } amounts[] = {{-30, 30, true},  {150, 100, true}, {100, 100, false}, {30, 30, true}, {-150, 150, true},
                   {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), true}};
    for (const auto& c : amounts) {
        const qint64 key = panel.tile().cacheKey();
        panel.setNoiseAmount(c.set);
        EXPECT_EQ(panel.NoiseAmount(), c.stored) << c.set;
        EXPECT_EQ(panel.tile().cacheKey() != key, c.rebuilt) << c.set;
    }
    EXPECT_EQ(panel.tile().size(), QSize(40, 40));
    EXPECT_EQ(dialogs.messages, QStringList({said::tooMuchNoise}));

    // Texture sizes outside 4 .. 240 are refused with a message and the nearest kept.
    const struct {
        int set, stored;
        QString message;
    } sizes[] = {{0, 4, said::textureTooSmall}, {241, 240, said::textureTooLarge}, {3, 4, said::textureTooSmall},
                 {4, 4, ""}};
    for (const auto& c : sizes) {
        dialogs.messages.clear();
        panel.setTextureSize(c.set);
        EXPECT_EQ(panel.TextureSize(), c.stored) << c.set;
        EXPECT_EQ(panel.tile().size(), QSize(c.stored, c.stored)) << c.set;
        EXPECT_EQ(dialogs.messages.join(""), c.message) << c.set;
    }
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

// The face: the tile repeated from the corner, under bevels and a border in shades of
// the colour.
TEST(GrainPanel, TileFromTheCornerUnderBevelsAndBorder)
{
    ShownPanel shown(130, 100);
    TGrainPanel& panel = *shown.panel;
    const QColor light(150, 150, 236);
    const QColor dark(80, 80, 232);
    const auto expectPixels = [&](std::initializer_list<std::tuple<int, int, QColor>> pixels, const char* what) {
        const QImage face = shown.face();
        for (const auto& [x, y, color] : pixels)
            EXPECT_EQ(pixelAt(face, x, y), color) << what << " at " << x << "," << y;
    };
    // Every pixel inside the bevel comes from the tile, counted from the panel's corner.
    const auto tiledFrom = [&](int inset) {
        const QImage face = shown.face();
        const QImage tile = panel.tile();
        int mismatches = 0;
        for (int y = inset; y < face.height() - inset; ++y)
            for (int x = inset; x < face.width() - inset; ++x)
                mismatches += face.pixel(x, y) != tile.pixel(x % tile.width(), y % tile.height());
        return mismatches;
    };

    // Raised: light top and left, dark bottom and right; the top-right and bottom-left
    // corners belong to the dark side.
    expectPixels({{0, 0, light}, {128, 0, light}, {0, 98, light}, {129, 0, dark}, {0, 99, dark}, {129, 99, dark}},
                 "raised");
    EXPECT_EQ(tiledFrom(1), 0);
    panel.setBevelOuter(TGrainPanel::bvLowered);
    expectPixels({{0, 0, dark}, {129, 99, light}}, "lowered");

    // A single border outside the bevel: black top-left, white bottom-right; the tile
    // starts inside border + bevel.
    panel.setBorderStyle(TGrainPanel::bsSingle);
    panel.setBevelOuter(TGrainPanel::bvRaised);
    panel.setBevelWidth(2);
    expectPixels({{0, 0, Qt::black}, {129, 99, Qt::white}, {1, 1, light}, {2, 2, light}, {127, 97, dark}}, "border");
    EXPECT_EQ(tiledFrom(3), 0);

    // No bevels: the tile reaches the edge.
    panel.setBorderStyle(TGrainPanel::bsNone);
    panel.setBevelOuter(TGrainPanel::bvNone);
    EXPECT_EQ(tiledFrom(0), 0);
}
