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

QString unusableFileNameMessage(const QString& shownName)
{
    return QStringLiteral("Cannot open the font file ") + shownName +
           QStringLiteral("\rIts name is not valid UTF-8 or holds a line break; rename it and try again.");
}

QString offerMissingMessage(const QString& path)
{
    return QStringLiteral("Cannot open the font file ") + path + QStringLiteral("\rThere is no such file.");
}

QString offerFolderMessage(const QString& path)
{
    return QStringLiteral("Cannot install ") + path + QStringLiteral("\rIt is a folder, not a font file.");
}

QString offerUnreadableMessage(const QString& path)
{
    return QStringLiteral("Cannot open the font file ") + path + QStringLiteral("\rYou are not allowed to read it.");
}

QString offerNotFontMessage(const QString& path)
{
    return QStringLiteral("Cannot install ") + path + QStringLiteral("\rIt is not a font file.");
}

QString offerInstalledMessage(const QString& face, const QString& path)
{
    return QStringLiteral("The font ") + face + QStringLiteral(" is already installed:\r") + path;
}

QString confirmInstallOffered(const QString& face, const QString& path)
{
    return QStringLiteral("Install this Font : ") + face + QStringLiteral(" ?\r") + path +
           QStringLiteral("\rIt is copied into your font folder.");
}

} // namespace manage
