#include "framework/Dialogs.h"

#include "framework/Application.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace fw {

namespace {

QtDialogs realDialogs;
Dialogs* current = &realDialogs;

// A carriage return alone breaks the line in the windows' message boxes.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QWidget* owner()
{
    return QApplication::activeWindow();
}

} // namespace

Dialogs& dialogs()
{
    return *current;
}

ScopedDialogs::ScopedDialogs(Dialogs& replacement) : previous(current)
{
    current = &replacement;
}

ScopedDialogs::~ScopedDialogs()
{
    current = previous;
}

void QtDialogs::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), displayText(text), QMessageBox::Ok, owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), displayText(text), QMessageBox::NoButton,
                    owner());
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtDialogs::openFile(const OpenFileRequest& request)
{
    QFileDialog dialog(owner(), request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a typed name need not exist
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::saveFile(const SaveFileRequest& request)
{
    QFileDialog dialog(owner(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    // A typed name without the filter's suffix gets it, as "catalogue" becomes "catalogue.pdf".
    const QString suffix = request.filter.section(QLatin1Char('|'), 1, 1).section(QLatin1Char(';'), 0, 0);
    if (suffix.startsWith(QLatin1String("*.")))
        dialog.setDefaultSuffix(suffix.mid(2));
    dialog.selectFile(request.proposedFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& current)
{
    const QColor chosen = QColorDialog::getColor(current, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QStringList qtNameFilters(const QString& filter)
{
    // Qt reads the patterns from the last parentheses; the details are hidden in the
    // dialog, so the descriptions show exactly as given.
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts.at(i) + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

} // namespace fw
