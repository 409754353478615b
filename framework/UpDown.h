#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fw {

// The up-down control: two arrows that step a position within a range and write
// it into an associated edit field. A step starts from the number in the field
// when it holds one.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Min() const { return minimum; }
    int Max() const { return maximum; }
    void setRange(int min, int max);
    int Position() const { return position; }
    void setPosition(int value);
    int Increment() const { return increment; }
    void setIncrement(int value) { increment = value; }
    void setAssociate(QLineEdit* edit);

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    void OnChanging(int position);

protected:
    // The Up and Down keys in the associated field step as the arrows do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int direction);

    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int increment = 1;
    QPointer<QLineEdit> associate;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
};

} // namespace fw
