#pragma once

#include "framework/Colors.h"

#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class QShortcut;

// A push button that paints every pixel itself: a face with an optional vertical
// two-colour gradient, a one-pixel border, inner light and dark lines, a focus
// rectangle, the caption and an optional glyph. Four colour sets (normal, pointer
// over, pressed, disabled) of six colours each, plus the focus rectangle colour,
// are filled by twelve colour schemes or set one by one.
class TGradientButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(quint32 ColorFace READ ColorFace WRITE setColorFace)
    Q_PROPERTY(quint32 ColorGrad READ ColorGrad WRITE setColorGrad)
    Q_PROPERTY(quint32 ColorDark READ ColorDark WRITE setColorDark)
    Q_PROPERTY(quint32 ColorLight READ ColorLight WRITE setColorLight)
    Q_PROPERTY(quint32 ColorBorder READ ColorBorder WRITE setColorBorder)
    Q_PROPERTY(quint32 ColorText READ ColorText WRITE setColorText)
    Q_PROPERTY(quint32 OverColorFace READ OverColorFace WRITE setOverColorFace)
    Q_PROPERTY(quint32 OverColorGrad READ OverColorGrad WRITE setOverColorGrad)
    Q_PROPERTY(quint32 OverColorDark READ OverColorDark WRITE setOverColorDark)
    Q_PROPERTY(quint32 OverColorLight READ OverColorLight WRITE setOverColorLight)
    Q_PROPERTY(quint32 OverColorBorder READ OverColorBorder WRITE setOverColorBorder)
    Q_PROPERTY(quint32 OverColorText READ OverColorText WRITE setOverColorText)
    Q_PROPERTY(quint32 DownColorFace READ DownColorFace WRITE setDownColorFace)
    Q_PROPERTY(quint32 DownColorGrad READ DownColorGrad WRITE setDownColorGrad)
    Q_PROPERTY(quint32 DownColorDark READ DownColorDark WRITE setDownColorDark)
    Q_PROPERTY(quint32 DownColorLight READ DownColorLight WRITE setDownColorLight)
    Q_PROPERTY(quint32 DownColorBorder READ DownColorBorder WRITE setDownColorBorder)
    Q_PROPERTY(quint32 DownColorText READ DownColorText WRITE setDownColorText)
    Q_PROPERTY(quint32 DisabledColorFace READ DisabledColorFace WRITE setDisabledColorFace)
    Q_PROPERTY(quint32 DisabledColorGrad READ DisabledColorGrad WRITE setDisabledColorGrad)
    Q_PROPERTY(quint32 DisabledColorDark READ DisabledColorDark WRITE setDisabledColorDark)
    Q_PROPERTY(quint32 DisabledColorLight READ DisabledColorLight WRITE setDisabledColorLight)
    Q_PROPERTY(quint32 DisabledColorBorder READ DisabledColorBorder WRITE setDisabledColorBorder)
    Q_PROPERTY(quint32 DisabledColorText READ DisabledColorText WRITE setDisabledColorText)
    Q_PROPERTY(quint32 ColorFocusRect READ ColorFocusRect WRITE setColorFocusRect)
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE setCtl3D)
    Q_PROPERTY(TButtonLayout Layout READ Layout WRITE setLayout)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(bool TransparentGlyph READ TransparentGlyph WRITE setTransparentGlyph)
    Q_PROPERTY(bool Gradient READ Gradient WRITE setGradient)
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE setHotTrack)
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
    Q_PROPERTY(bool Default READ Default WRITE setDefault)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    enum TColorScheme {
        csVividDesert, csVividSky, csVividGrass, csVividSilver, csVividRose, csVividSun,
        csDesert, csGrass, csSky, csSun, csRose, csSilver, csCustom
    };
    Q_ENUM(TColorScheme)
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)

    // Indexes of the colour properties: four sets of six, then the focus rectangle.
    enum ColorIndex {
        ciFace, ciGrad, ciDark, ciLight, ciBorder, ciText,
        ciOver = 6, ciDown = 12, ciDisabled = 18, ciFocusRect = 24, colorCount = 25
    };

    explicit TGradientButton(QWidget* parent = nullptr);
    ~TGradientButton() override;

    // The indexed colour setter: stores (indexes 0..24), marks the scheme custom,
    // requests a repaint.
    TColor color(int index) const;
    void setColor(int index, TColor value);

    TColor ColorFace() const { return colors[ciFace]; }
    void setColorFace(TColor value) { setColor(ciFace, value); }
    TColor ColorGrad() const { return colors[ciGrad]; }
    void setColorGrad(TColor value) { setColor(ciGrad, value); }
    TColor ColorDark() const { return colors[ciDark]; }
    void setColorDark(TColor value) { setColor(ciDark, value); }
    TColor ColorLight() const { return colors[ciLight]; }
    void setColorLight(TColor value) { setColor(ciLight, value); }
    TColor ColorBorder() const { return colors[ciBorder]; }
    void setColorBorder(TColor value) { setColor(ciBorder, value); }
    TColor ColorText() const { return colors[ciText]; }
    void setColorText(TColor value) { setColor(ciText, value); }
    TColor OverColorFace() const { return colors[ciOver + ciFace]; }
    void setOverColorFace(TColor value) { setColor(ciOver + ciFace, value); }
    TColor OverColorGrad() const { return colors[ciOver + ciGrad]; }
    void setOverColorGrad(TColor value) { setColor(ciOver + ciGrad, value); }
    TColor OverColorDark() const { return colors[ciOver + ciDark]; }
    void setOverColorDark(TColor value) { setColor(ciOver + ciDark, value); }
    TColor OverColorLight() const { return colors[ciOver + ciLight]; }
    void setOverColorLight(TColor value) { setColor(ciOver + ciLight, value); }
    TColor OverColorBorder() const { return colors[ciOver + ciBorder]; }
    void setOverColorBorder(TColor value) { setColor(ciOver + ciBorder, value); }
    TColor OverColorText() const { return colors[ciOver + ciText]; }
    void setOverColorText(TColor value) { setColor(ciOver + ciText, value); }
    TColor DownColorFace() const { return colors[ciDown + ciFace]; }
    void setDownColorFace(TColor value) { setColor(ciDown + ciFace, value); }
    TColor DownColorGrad() const { return colors[ciDown + ciGrad]; }
    void setDownColorGrad(TColor value) { setColor(ciDown + ciGrad, value); }
    TColor DownColorDark() const { return colors[ciDown + ciDark]; }
    void setDownColorDark(TColor value) { setColor(ciDown + ciDark, value); }
    TColor DownColorLight() const { return colors[ciDown + ciLight]; }
    void setDownColorLight(TColor value) { setColor(ciDown + ciLight, value); }
    TColor DownColorBorder() const { return colors[ciDown + ciBorder]; }
    void setDownColorBorder(TColor value) { setColor(ciDown + ciBorder, value); }
    TColor DownColorText() const { return colors[ciDown + ciText]; }
    void setDownColorText(TColor value) { setColor(ciDown + ciText, value); }
    TColor DisabledColorFace() const { return colors[ciDisabled + ciFace]; }
    void setDisabledColorFace(TColor value) { setColor(ciDisabled + ciFace, value); }
    TColor DisabledColorGrad() const { return colors[ciDisabled + ciGrad]; }
    void setDisabledColorGrad(TColor value) { setColor(ciDisabled + ciGrad, value); }
    TColor DisabledColorDark() const { return colors[ciDisabled + ciDark]; }
    void setDisabledColorDark(TColor value) { setColor(ciDisabled + ciDark, value); }
    TColor DisabledColorLight() const { return colors[ciDisabled + ciLight]; }
    void setDisabledColorLight(TColor value) { setColor(ciDisabled + ciLight, value); }
    TColor DisabledColorBorder() const { return colors[ciDisabled + ciBorder]; }
    void setDisabledColorBorder(TColor value) { setColor(ciDisabled + ciBorder, value); }
    TColor DisabledColorText() const { return colors[ciDisabled + ciText]; }
    void setDisabledColorText(TColor value) { setColor(ciDisabled + ciText, value); }
    TColor ColorFocusRect() const { return colors[ciFocusRect]; }
    void setColorFocusRect(TColor value) { setColor(ciFocusRect, value); }

    TColorScheme ColorScheme() const { return scheme; }
    void setColorScheme(TColorScheme value);
    bool Ctl3D() const { return ctl3D; }
    void setCtl3D(bool value);
    TButtonLayout Layout() const { return layout; }
    void setLayout(TButtonLayout value);
    QImage Glyph() const { return glyph; }
    void setGlyph(const QImage& value);
    int Spacing() const { return spacing; }
    void setSpacing(int value);
    bool TransparentGlyph() const { return transparentGlyph; }
    void setTransparentGlyph(bool value);
    bool Gradient() const { return gradient; }
    void setGradient(bool value);
    bool HotTrack() const { return hotTrack; }
    void setHotTrack(bool value) { hotTrack = value; }
    bool Cancel() const { return cancel; }
    void setCancel(bool value) { cancel = value; }
    bool Default() const { return isDefault; }
    void setDefault(bool value) { isDefault = value; }
    int ModalResult() const { return modalResult; }
    void setModalResult(int value) { modalResult = value; }
    QString Caption() const { return caption; }
    void setCaption(const QString& value);
    bool TabStop() const { return tabStop; }
    void setTabStop(bool value);
    // One of a row of buttons that choose a page: assistive tools see a page tab.
    // The tab of the page shown is current: it looks and acts as a disabled button
    // does, yet stays in the Tab order, so a keyboard user reaches it and hears it
    // selected.
    bool PageTab() const { return pageTab; }
    void setPageTab(bool value) { pageTab = value; }
    bool Current() const { return current; }
    void setCurrent(bool value);

    // Configures the button the way every button of the program's windows is set up.
    void applyProgramLook();

    // The face as the paint routine builds it off screen, Width x Height.
    QImage renderFace() const;

    // Presses the button as a click does: modal result to the window, OnClick.
    void Click();

    // The window's pass of Enter and Escape over its buttons, before the focused
    // control sees the key. True when this button took the key.
    bool dialogKey(int key, Qt::KeyboardModifiers modifiers);

signals:
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnKeyPress(QChar& key);
    void OnEnter();
    void OnExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class VisualState : std::uint8_t { Normal, Over, Down };

    void pointerEntered();
    void pointerLeft();
    void updateAccelerator();
    bool canFocus() const;
    bool inert() const { return !isEnabled() || current; }

    std::array<TColor, colorCount> colors{};
    TColorScheme scheme = csVividDesert;
    bool ctl3D = true;
    TButtonLayout layout = blGlyphLeft;
    QImage glyph;
    int spacing = 4;
    bool transparentGlyph = true;
    bool gradient = false;
    bool hotTrack = true;
    bool cancel = false;
    bool pageTab = false;
    bool current = false;
    std::optional<QCursor> liveCursor; // the cursor set before the tab became current
    bool isDefault = false;
    int modalResult = 0;
    QString caption;
    bool tabStop = true;

    bool focused = false;
    bool pressed = false;
    bool clickArmed = false;   // a left press inside waits for its release
    bool pointerInside = false;
    VisualState state = VisualState::Normal;
    QPointer<QShortcut> accelerator;
};

// Paints a 32-bit image as a vertical gradient: the top row is exactly start, each
// row one height-th further towards end (the full end colour would fall on the row
// below the image). Colours are taken as raw bytes, system colours unresolved.
void fillGradient(QImage& image, TColor start, TColor end);
