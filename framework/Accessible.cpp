#include "framework/Accessible.h"

#include <QVariant>
#include <QWidget>

namespace fw {

namespace {
constexpr char hiddenProperty[] = "glyphwellHiddenFromReaders";
}

bool accessibleIdsWanted()
{
    return qEnvironmentVariable(accessibleIdsVariable) == QLatin1String("1");
}

void exposeAccessibleIds(QWidget* window)
{
    const bool ids = accessibleIdsWanted();
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : std::as_const(controls)) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        // Empty, a reader falls back to the tool tip; a hint "Font Size|Select font size"
        // shows its first part as the tip and gives its second as the description.
        const QString hint = control->toolTip();
        const qsizetype bar = hint.indexOf(QLatin1Char('|'));
        control->setAccessibleDescription(ids ? control->objectName() : bar >= 0 ? hint.mid(bar + 1) : QString());
    }
}

void hideFromReaders(QWidget* widget)
{
    widget->setProperty(hiddenProperty, true);
}

bool hiddenFromReaders(const QObject* object)
{
    return object && object->property(hiddenProperty).toBool();
}

QString spokenPosition(int index, int count)
{
    return QStringLiteral("%1 of %2").arg(index + 1).arg(count);
}

QString spokenCellPlace(int row, int col)
{
    return QStringLiteral("row %1, column %2").arg(row + 1).arg(col + 1);
}

} // namespace fw
