#include "preview/Unit2.h"

#include "framework/Accessible.h"
#include "framework/Colors.h"
#include "system/FontFactory.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

void paintBackground(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, fw::toQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(483, 468);
    paintBackground(this, clWhite);
    setWindowOpacity(190 / 255.0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    paintBackground(Panel1, 0x00CCFFFF);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Panel1->rect());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setTextFormat(Qt::PlainText);
    paintBackground(Label1, clWhite);
    QFont big = Label1->font();
    big.setPixelSize(267);
    big.setBold(false);
    Label1->setFont(big);
    QPalette ink = Label1->palette();
    ink.setColor(QPalette::WindowText, fw::toQColor(0x00B00000));
    Label1->setPalette(ink);

    Label2 = new QLabel(QStringLiteral("Unknown ASCII Code"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(sys::faceFont(QStringLiteral("Tahoma"), 27));
    QPalette blue = Label2->palette();
    blue.setColor(QPalette::WindowText, fw::toQColor(clBlue));
    Label2->setPalette(blue);
    paintBackground(Label2, clWhite);
    Label2->move(8, 4);
    Label2->adjustSize();

    fw::exposeAccessibleIds(this);
}

void TForm2::setCodeLine(const QString& text)
{
    // A character's name can be wider than the window: it then wraps at the window's edge.
    const int room = width() - 2 * Label2->x();
    const bool wraps = Label2->fontMetrics().horizontalAdvance(text) > room;
    Label2->setWordWrap(wraps);
    Label2->setMinimumWidth(wraps ? room : 0);
    Label2->setMaximumWidth(wraps ? room : QWIDGETSIZE_MAX);
    Label2->setText(text);
    Label2->adjustSize();
}

void TForm2::showOver(const QRect& mainFrame)
{
    if (!placed) {
        move(preview::centredPlacement(mainFrame, size()));
        placed = true;
    }
    show();
    raise();
}

namespace preview {

QPoint centredPlacement(const QRect& frame, const QSize& size)
{
    return QPoint(std::max(0, frame.left() + (frame.width() - size.width()) / 2),
                  std::max(0, frame.top() + (frame.height() - size.height()) / 2));
}

} // namespace preview
