#include "framework/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace fw {

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up = new QToolButton(this);
    down = new QToolButton(this);
    for (QToolButton* arrow : {up, down}) {
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        arrow->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(arrow);
    }
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setAccessibleName(QStringLiteral("Up"));
    down->setAccessibleName(QStringLiteral("Down"));
    connect(up, &QToolButton::clicked, this, &TUpDown::stepUp);
    connect(down, &QToolButton::clicked, this, &TUpDown::stepDown);
}

void TUpDown::setRange(int min, int max)
{
    minimum = min;
    maximum = std::max(min, max);
    position = std::clamp(position, minimum, maximum);
}

void TUpDown::setPosition(int value)
{
    position = std::clamp(value, minimum, maximum);
    if (associate)
        associate->setText(QString::number(position));
}

void TUpDown::setAssociate(QLineEdit* edit)
{
    if (associate)
        associate->removeEventFilter(this);
    associate = edit;
    if (associate) {
        associate->installEventFilter(this);
        associate->setText(QString::number(position));
    }
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    // Only key presses are ours. The type is looked at first: the field also sends events
    // while it is being destroyed, when it must not be read as a line edit any more.
    if (event->type() == QEvent::KeyPress && watched == associate) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::step(int direction)
{
    if (associate) {
        bool ok = false;
        const int typed = associate->text().trimmed().toInt(&ok);
        if (ok)
            position = std::clamp(typed, minimum, maximum);
    }
    const int next = std::clamp(position + direction * increment, minimum, maximum);
    emit OnChanging(next);
    setPosition(next);
}

} // namespace fw
