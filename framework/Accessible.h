#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;
class QWidget;

namespace fw {

// The names a screen reader says for the title strip's "_" and "X".
inline constexpr char minimiseSpoken[] = "Minimise";
inline constexpr char closeSpoken[] = "Close";

// Environment switch for UI test tools: with GLYPHWELL_ACCESSIBLE_IDS=1 every
// control's accessible description is its object name, a stable handle over AT-SPI.
inline constexpr char accessibleIdsVariable[] = "GLYPHWELL_ACCESSIBLE_IDS";
bool accessibleIdsWanted();

// Gives the window and every named control in it the description a screen reader
// user needs: empty, so that assistive tools read the control's hint (the part after
// "|" of a two-part hint), or the object name when accessibleIdsWanted().
void exposeAccessibleIds(QWidget* window);

// What assistive tools see of Qt's own controls, where Qt's view misleads a reader:
// split tool buttons as both a button and a menu, drop-downs by their names, one-line
// fields with their whole text. Null for every other class; for an accessibility factory.
QAccessibleInterface* controlAccessible(const QString& className, QObject* object);

// A field reached by the keyboard selects its text just after it takes the focus, not
// just before, so that a screen reader says the selection once. For the whole program.
void selectFieldsAfterFocus();

// Keeps a purely decorative control out of what assistive tools are offered.
void hideFromReaders(QWidget* widget);
bool hiddenFromReaders(const QObject* object);

// "3 of 6": where an entry stands among its neighbours, counted from 1.
QString spokenPosition(int index, int count);
// "row 3, column 2": a grid cell's place, counted from 1.
QString spokenCellPlace(int row, int col);

} // namespace fw
