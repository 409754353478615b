#include "app/Unit3.h"

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form3"));
    setAccessibleDescription(objectName());
    setFixedSize(417, 258);
}
