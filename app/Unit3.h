#pragma once

#include <QWidget>

// The About window: the title strip, the product name, its version and copyright,
// and an "X" that hides it again.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};
