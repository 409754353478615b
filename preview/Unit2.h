#pragma once

#include <QWidget>

class QLabel;

// The zoom overlay: a borderless, see-through window that shows one character of
// the character map very large, with its code above it. Driven by the main window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr; // the big character
    QLabel* Label2 = nullptr; // the code line

    // Sets the code line; the label keeps fitting its text.
    void setCodeLine(const QString& text);

    // Shows the window and brings it to the front; the first showing places it
    // centred over the given frame (clamped at 0), later ones keep that place.
    void showOver(const QRect& mainFrame);
    bool hasBeenPlaced() const { return placed; }

private:
    bool placed = false;
};

namespace preview {
// The top-left corner that centres a window of the given size over a frame,
// each coordinate clamped to 0.
QPoint centredPlacement(const QRect& frame, const QSize& size);
} // namespace preview
