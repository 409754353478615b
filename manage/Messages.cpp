#include "manage/Messages.h"

namespace manage {

QString confirmUninstallFace(const QString& face)
{
    return QStringLiteral("Are You Sure Want To Remove/Uninstall this Font : ") + face +
           QStringLiteral(" ?\rWarning this cannot be Undone.");
}

QString confirmDeleteFile(const QString& fileName)
{
    return QStringLiteral("Are You Sure Want To Remove/Delete Font Filename : ") + fileName +
           QStringLiteral(" ?\rWarning this cannot be Undone.");
}

QString backupSuccess(const QString& backupFolder)
{
    return QStringLiteral("The Selected font was succesfully backup to ") + backupFolder;
}

QString backupFailures(const QString& backupFolder, const QStringList& failures)
{
    return QStringLiteral("These font files were not backed up to ") + backupFolder + QStringLiteral(":\r  ") +
           failures.join(QStringLiteral("\r  "));
}

} // namespace manage
