#include "widgets/GradientButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

QColor rgb(TColor color)
{
    return fw::toQColor(color);
}

QColor pixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// A window holding buttons, shown offscreen and active, as a form of the program.
struct Form {
    QWidget window;

    Form() { window.resize(320, 200); }
    TGradientButton* add(const QString& caption, int x = 10, int y = 10)
    {
        auto* button = new TGradientButton(&window);
        button->setCaption(caption);
        button->move(x, y);
        return button;
    }
    void show()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

// Records what a button tells, in order.
struct Recorder {
    QStringList events;
    explicit Recorder(TGradientButton* button)
    {
        QObject::connect(button, &TGradientButton::OnClick, [this] { events << "click"; });
        QObject::connect(button, &TGradientButton::OnMouseDown,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { events << QString("down %1,%2").arg(x).arg(y); });
        QObject::connect(button, &TGradientButton::OnMouseUp,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { events << QString("up %1,%2").arg(x).arg(y); });
        QObject::connect(button, &TGradientButton::OnKeyPress, [this](QChar& key) { events << QString("key %1").arg(key); });
    }
    int clicks() const { return int(events.count("click")); }
};

// A flat face makes the visual state readable from any inner pixel.
void flatten(TGradientButton* button)
{
    button->setGradient(false);
    button->setCtl3D(false);
}

QColor inner(TGradientButton* button)
{
    return pixelAt(button->grab().toImage(), button->width() / 2, 2);
}

// Waits for the pointer's enter and leave, which Qt delivers through the event loop.
QColor innerSettlingOn(TGradientButton* button, const QColor& expected)
{
    (void)QTest::qWaitFor([&] { return inner(button) == expected; }, 1000);
    return inner(button);
}

} // namespace

// Each step, then the properties it leaves, read as a form reads them.
TEST(GradientButton, SchemesSetTheirColoursUntilOneIsSetByHand)
{
    using B = TGradientButton;
    B button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
    const std::pair<std::function<void()>, std::vector<std::pair<const char*, quint32>>> steps[] = {
        // A new button: the scheme's gradient ends of the other states are overwritten with white.
        {[] {}, {{"ColorScheme", B::csVividDesert}, {"ColorFace", 0x00C6ECFF}, {"ColorGrad", 0x0037BEFF},
                 {"ColorFocusRect", 0x004080FF}, {"OverColorGrad", clWhite}, {"DownColorGrad", clWhite},
                 {"DisabledColorGrad", clWhite}, {"Gradient", true}}},
        {[&] { button.setColorScheme(B::csVividSky); }, {{"ColorScheme", B::csVividSky}, {"OverColorGrad", 0x00FFA346}}},
        // A plain scheme keeps the four gradient ends of the vivid one and turns the gradient off.
        {[&] { button.setColorScheme(B::csDesert); },
         {{"ColorScheme", B::csDesert}, {"ColorFace", 0x0095DDFF}, {"ColorGrad", 0x00FFB66C}, {"OverColorGrad", 0x00FFA346},
          {"DownColorGrad", 0x00FFCE9D}, {"DisabledColorGrad", 0x00FFFFFF}, {"DisabledColorBorder", 0x00C4C4C4},
          {"Gradient", false}}},
        {[&] { button.setColorScheme(B::csSilver); }, {{"ColorFocusRect", 0x008A8A8A}, {"DownColorLight", 0x007C7C7C}}},
        {[&] { button.setColorScheme(B::csVividSun); }, {{"DownColorDark", 0x0066F3FF}, {"Gradient", true}}},
        // Any colour set by hand makes the scheme custom; the custom scheme sets nothing.
        {[&] { button.setOverColorText(clRed); }, {{"ColorScheme", B::csCustom}}},
        {[&] {
             button.setColorScheme(B::csVividSun);
             button.setColor(B::colorCount, clRed); // no such colour: only the scheme changes
         },
         {{"ColorScheme", B::csCustom}}},
        {[&] { button.setColorScheme(B::csCustom); }, {{"DownColorDark", 0x0066F3FF}}},
        // The program's own look drops the glyph.
        {[&] {
             button.setColorScheme(B::csVividDesert);
             button.setGlyph(QImage(4, 4, QImage::Format_RGB32));
             button.applyProgramLook();
         },
         {{"ColorScheme", B::csCustom}, {"ColorGrad", 0x00B00000}, {"OverColorLight", 0x0095DAFF},
          {"DownColorText", clBlack}, {"DisabledColorDark", 0x00D2D2D2}, {"ColorFocusRect", clWhite}, {"Gradient", true}}},
    };
    for (const auto& [step, properties] : steps) {
        step();
        for (const auto& [name, value] : properties)
            EXPECT_EQ(button.property(name).toUInt(), value) << name;
    }
    EXPECT_TRUE(button.Glyph().isNull());
    EXPECT_EQ(std::tuple(button.font().family(), button.font().bold(), button.font().pixelSize()),
              std::tuple(QString("Tahoma"), true, 11));
}

TEST(GradientButton, GradientRowsAccumulateAndRoundHalfToEven)
{
    // 25 rows from Face to Grad: the top row is Face, the bottom row 24/25 of the way.
    QImage image(8, 25, QImage::Format_RGB32);
    fillGradient(image, 0x00C6ECFF, 0x0037BEFF);
    EXPECT_EQ(pixelAt(image, 0, 0), QColor(255, 236, 198));
    EXPECT_EQ(pixelAt(image, 7, 24), QColor(255, 192, 61)); // 191.84 and 60.72
    EXPECT_EQ(pixelAt(image, 3, 12), QColor(255, 214, 129)); // 213.92 and 129.36

    // Steps of 0.5, 1.5 and 2.5 land on exact halves, which go to the even neighbour.
    QImage halves(2, 4, QImage::Format_RGB32);
    fillGradient(halves, fw::RGB(0, 0, 0), fw::RGB(2, 6, 10));
    const QColor rows[] = {QColor(0, 0, 0), QColor(0, 2, 2), QColor(1, 3, 5), QColor(2, 4, 8)};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(pixelAt(halves, 1, y), rows[y]) << y;

    // System colours are taken as raw bytes: highlight is index 13 in the red byte.
    QImage raw(2, 3, QImage::Format_RGB32);
    fillGradient(raw, clHighlight, clHighlight);
    EXPECT_EQ(pixelAt(raw, 0, 2), QColor(13, 0, 0));

    QImage empty;
    fillGradient(empty, clWhite, clBlack); // no rows, no step
    TGradientButton flat;
    flat.resize(75, 0);
    EXPECT_TRUE(flat.renderFace().isNull());
}

TEST(GradientButton, PaintedFaceFollowsGradientAndSystemColours)
{
    Form form;
    TGradientButton* button = form.add("");
    button->resize(40, 25);
    button->setCtl3D(false);
    form.show();
    QImage face = button->grab().toImage();
    EXPECT_EQ(pixelAt(face, 20, 12), QColor(255, 214, 129));
    EXPECT_EQ(pixelAt(face, 1, 23), QColor(255, 194, 66));

    button->setGradient(false);
    EXPECT_EQ(pixelAt(button->grab().toImage(), 20, 23), QColor(255, 236, 198));

    // The fill resolves a system colour; the gradient takes its raw bytes.
    button->setColorFace(clHighlight);
    button->setColorGrad(clHighlight);
    EXPECT_EQ(pixelAt(button->grab().toImage(), 20, 12), rgb(fw::ColorToRGB(clHighlight)));
    button->setGradient(true);
    EXPECT_EQ(pixelAt(button->grab().toImage(), 20, 12), QColor(13, 0, 0));
}

TEST(GradientButton, BorderInnerLinesAndFocusRectangle)
{
    Form form;
    TGradientButton* button = form.add("");
    button->resize(20, 12);
    button->setGradient(false);
    button->setColorFace(fw::RGB(10, 10, 10));
    button->setColorBorder(clRed);
    button->setColorLight(clLime);
    button->setColorDark(clBlue);
    button->setColorFocusRect(clYellow);
    form.show();
    button->clearFocus();

    struct Pixel {
        int x, y;
        TColor color;
    };
    const auto expectPixels = [&](std::initializer_list<Pixel> pixels) {
        const QImage face = button->grab().toImage();
        for (const Pixel& p : pixels)
            EXPECT_EQ(pixelAt(face, p.x, p.y), rgb(p.color)) << p.x << "," << p.y;
    };
    // A line leaves out its end point: (1,10) stays light and (19,1) stays border.
    expectPixels({
        {0, 0, clRed}, {19, 0, clRed}, {0, 11, clRed}, {19, 11, clRed}, {19, 1, clRed}, {0, 10, clRed},
        {10, 0, clRed}, {10, 11, clRed}, {0, 6, clRed}, {19, 6, clRed},
        {1, 1, clLime}, {1, 10, clLime}, {17, 1, clLime}, {1, 2, clLime},
        {18, 1, clBlue}, {18, 10, clBlue}, {2, 10, clBlue}, {18, 5, clBlue},
        {2, 2, fw::RGB(10, 10, 10)}, {17, 9, fw::RGB(10, 10, 10)}, {3, 3, fw::RGB(10, 10, 10)},
    });
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus());
    expectPixels({
        {3, 3, clYellow}, {16, 3, clYellow}, {3, 8, clYellow}, {16, 8, clYellow}, {10, 8, clYellow}, {10, 3, clYellow},
        {17, 3, fw::RGB(10, 10, 10)}, {4, 4, fw::RGB(10, 10, 10)}, {3, 9, fw::RGB(10, 10, 10)},
    });
}

TEST(GradientButton, DisabledPaintsDisabledColoursInEveryState)
{
    Form form;
    TGradientButton* button = form.add("Go");
    button->setTabStop(false); // keeps the focus, and with it the state, elsewhere
    flatten(button);
    form.show();
    // Normal, under the pointer and pressed: each state, then the same disabled.
    const std::pair<std::function<void()>, TColor> states[] = {
        {[] {}, button->ColorFace()},
        {[&] { QTest::mouseMove(button, QPoint(30, 12)); }, button->OverColorFace()},
        {[&] { QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 12)); }, button->DownColorFace()},
    };
    for (const auto& [enter, face] : states) {
        button->setEnabled(true);
        enter();
        EXPECT_EQ(innerSettlingOn(button, rgb(face)), rgb(face));
        button->setEnabled(false);
        EXPECT_EQ(inner(button), rgb(button->DisabledColorFace()));
        const QImage image = button->grab().toImage();
        EXPECT_EQ(pixelAt(image, 0, 0), rgb(button->DisabledColorBorder())) << face;
        EXPECT_EQ(pixelAt(image, 74, 24), rgb(button->DisabledColorBorder())) << face;
    }
    button->setEnabled(true);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 12));
}

TEST(GradientButton, PressAndReleaseWithClickBeforeMouseUp)
{
    Form form;
    TGradientButton* button = form.add("Go");
    flatten(button);
    button->setModalResult(3);
    Recorder recorder(button);
    form.show();

    QTest::mouseMove(button, QPoint(10, 10));
    EXPECT_EQ(innerSettlingOn(button, rgb(button->OverColorFace())), rgb(button->OverColorFace()));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(inner(button), rgb(button->DownColorFace()));
    const QPoint middle = button->mapTo(button->window(), QPoint(button->width() / 2, 2));
    EXPECT_EQ(button->screen()->grabWindow(button->window()->winId()).toImage().pixelColor(middle),
              rgb(button->DownColorFace())) << "on screen at the press, not at some later paint";
    EXPECT_TRUE(button->hasFocus());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(recorder.events, QStringList({"down 10,10", "click", "up 10,10"}));
    EXPECT_EQ(form.window.property("ModalResult").toInt(), 3);
    EXPECT_EQ(inner(button), rgb(button->OverColorFace()));

    // A release on the left column or top row still clicks, but the release itself
    // leaves the state where the click put it.
    for (const QPoint edge : {QPoint(0, 10), QPoint(10, 0)}) {
        recorder.events.clear();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(button, Qt::LeftButton, {}, edge);
        EXPECT_EQ(recorder.clicks(), 1);
        EXPECT_EQ(inner(button), rgb(button->ColorFace()));
    }

    // Dragged out and back the state follows the pointer; released outside, no click.
    // A right button neither presses nor clicks.
    recorder.events.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(button, QPoint(80, 10));
    EXPECT_EQ(inner(button), rgb(button->ColorFace()));
    QTest::mouseMove(button, QPoint(10, 10));
    EXPECT_EQ(inner(button), rgb(button->DownColorFace()));
    QTest::mouseMove(button, QPoint(80, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(button, QPoint(12, 10));
    EXPECT_EQ(innerSettlingOn(button, rgb(button->OverColorFace())), rgb(button->OverColorFace()));
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(12, 10));
    EXPECT_EQ(inner(button), rgb(button->OverColorFace()));
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(12, 10));
    EXPECT_EQ(recorder.clicks(), 0);
    EXPECT_EQ(recorder.events.size(), 4);

    // Without hot tracking a release inside ends in the normal state.
    button->setHotTrack(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(inner(button), rgb(button->ColorFace()));
}

TEST(GradientButton, KeysOfTheFocusedButton)
{
    Form form;
    TGradientButton* button = form.add("Go");
    flatten(button);
    Recorder recorder(button);
    form.show();
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus());

    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(inner(button), rgb(button->DownColorFace()));
    EXPECT_EQ(recorder.clicks(), 0);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(recorder.clicks(), 1);
    EXPECT_EQ(inner(button), rgb(button->ColorFace()));

    // Return clicks; Escape (not a cancel button) and a letter reach OnKeyPress only.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_A})
        QTest::keyClick(button, key);
    EXPECT_EQ(recorder.events, QStringList({"key  ", "click", "click", "key \x1b", "key a"}));
}

TEST(GradientButton, DefaultAndCancelTakeEnterAndEscapeOfTheWindow)
{
    Form form;
    auto* edit = new QLineEdit(&form.window);
    edit->move(10, 60);
    auto* memo = new QPlainTextEdit(&form.window);
    memo->setGeometry(10, 90, 100, 60);
    TGradientButton* ok = form.add("OK", 100, 10);
    TGradientButton* cancel = form.add("Cancel", 200, 10);
    ok->setDefault(true);
    cancel->setCancel(true);
    cancel->setModalResult(2);
    QStringList clicked;
    for (TGradientButton* button : {ok, cancel})
        QObject::connect(button, &TGradientButton::OnClick, [&clicked, button] { clicked << button->Caption(); });
    form.show();
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(clicked, QStringList({"OK", "Cancel"}));
    EXPECT_EQ(form.window.property("ModalResult").toInt(), 2);
    // Not with Shift, nor while the cancel button is off; a multi-line editor keeps its Enter.
    QTest::keyClick(edit, Qt::Key_Escape, Qt::ShiftModifier);
    cancel->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Escape);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(clicked, QStringList({"OK", "Cancel"}));
    EXPECT_EQ(memo->toPlainText(), "\n");
}

TEST(GradientButton, AcceleratorLetterClicksAndIsUnderlined)
{
    Form form;
    TGradientButton* install = form.add("&Install");
    TGradientButton* both = form.add("A&&B", 100, 10);
    Recorder installClicks(install);
    Recorder bothClicks(both);
    form.show();

    QTest::keyClick(&form.window, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(installClicks.clicks(), 1);
    QTest::keyClick(&form.window, Qt::Key_B, Qt::AltModifier); // "&&" marks no letter
    EXPECT_EQ(bothClicks.clicks(), 0);
    install->setEnabled(false);
    QTest::keyClick(&form.window, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(installClicks.clicks(), 1);

    // The marked letter is underlined, below the baseline where "Install" has no ink.
    install->setEnabled(true);
    flatten(install);
    const QFontMetrics metrics = install->fontMetrics();
    const int baseline = (25 - metrics.height()) / 2 + metrics.ascent();
    const QRgb face = rgb(install->ColorFace()).rgb();
    const auto inkBelowBaseline = [&] {
        const QImage image = install->grab().toImage();
        QList<int> columns;
        for (int y = baseline + 1; y < 23; ++y)
            for (int x = 2; x < 73; ++x)
                if (image.pixel(x, y) != face)
                    columns << x;
        return columns;
    };
    install->setCaption("Install");
    EXPECT_TRUE(inkBelowBaseline().isEmpty());
    install->setCaption("&Install");
    const QList<int> underline = inkBelowBaseline();
    ASSERT_FALSE(underline.isEmpty());
    const int span = *std::max_element(underline.begin(), underline.end()) -
                     *std::min_element(underline.begin(), underline.end());
    EXPECT_LE(span, metrics.horizontalAdvance("I") + 1);
}

TEST(GradientButton, GlyphPlacementPerLayout)
{
    // An odd 5 x 3 glyph, its top-left pixel in the colour that shows transparent.
    QImage glyph(5, 3, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    glyph.setPixel(0, 0, QColor(Qt::green).rgb());

    Form form;
    TGradientButton* button = form.add("Ab");
    button->resize(75, 45);
    button->setTabStop(false);
    flatten(button);
    button->setGlyph(glyph);
    form.show();

    const QFontMetrics metrics = button->fontMetrics();
    const int tw = metrics.horizontalAdvance("Ab");
    const int th = metrics.height();
    const int tx = (75 - tw) / 2;
    const int ty = (45 - th) / 2;
    struct Case {
        TGradientButton::TButtonLayout layout;
        QPoint topLeft;
    };
    // Spacing 4: half 2, odd 0; the glyph half width is 2 and its odd height 1.
    const Case cases[] = {
        {TGradientButton::blGlyphLeft, QPoint(tx - 2 - 2, 21)},
        {TGradientButton::blGlyphRight, QPoint(tx + tw - 2 + 2, 21)},
        {TGradientButton::blGlyphTop, QPoint(35, ty - 1 - 1 - 2)},
        {TGradientButton::blGlyphBottom, QPoint(35, ty + th - 1 + 2)},
    };
    for (const Case& c : cases) {
        button->setLayout(c.layout);
        const QImage face = button->grab().toImage();
        const QPoint at = c.topLeft;
        EXPECT_EQ(pixelAt(face, at.x() + 1, at.y()), QColor(Qt::red)) << c.layout;
        EXPECT_EQ(pixelAt(face, at.x() + 4, at.y() + 2), QColor(Qt::red)) << c.layout;
        EXPECT_NE(pixelAt(face, at.x() + 5, at.y() + 2), QColor(Qt::red)) << c.layout;
        EXPECT_EQ(pixelAt(face, at.x(), at.y()), pixelAt(face, 2, 2)) << c.layout; // transparent
    }

    // Without a caption the glyph sits centred, with no spacing; pressed, it moves
    // one pixel right and down; opaque, its top-left pixel shows.
    button->setLayout(TGradientButton::blGlyphLeft);
    button->setCaption("");
    button->setTransparentGlyph(false);
    EXPECT_EQ(pixelAt(button->grab().toImage(), 37 - 2, 21), QColor(Qt::green));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(pixelAt(button->grab().toImage(), 36, 22), QColor(Qt::green));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
}
