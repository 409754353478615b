#include "manage/Messages.h"

#include "manage/FontFiles.h"
#include "system/FilePaths.h"

namespace manage {

QString installRefusal(const InstallResult& result, const QString& source)
{
    const QString chosen = sys::displayPath(source);
    const QString target = sys::displayPath(result.target);
    switch (result.outcome) {
    case InstallResult::Installed:
        break;
    case InstallResult::NotAFont:
        return QStringLiteral("%1 is not a font file that can be installed. Nothing was copied.").arg(chosen);
    case InstallResult::NameTaken:
        return QStringLiteral("A file named %1 is already in the font folder: %2. It was kept, and %3 was not "
                              "installed.")
            .arg(fileNamePart(target), target, chosen);
    case InstallResult::CopyFailed:
        return QStringLiteral("%1 could not be copied into the font folder (%2). Nothing was installed.")
            .arg(chosen, result.reason.isEmpty() ? QStringLiteral("unknown error") : result.reason);
    }
    return QString();
}

QString confirmUninstallFace(const QString& face, const QStringList& alsoRemoved)
{
    QString question = QStringLiteral("Are You Sure Want To Remove/Uninstall this Font : ") + face +
                       QStringLiteral(" ?\rWarning this cannot be Undone.");
    if (!alsoRemoved.isEmpty())
        question += QStringLiteral("\rIt also removes: ") + alsoRemoved.join(QStringLiteral(", ")) + QLatin1Char('.');
    return question;
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

QString confirmTurnOff(const QString& face, const QStringList& others)
{
    return QStringLiteral("Turn off this Font : ") + face + QStringLiteral(" ?\rIts files also hold ") +
           others.join(QStringLiteral(", ")) + QStringLiteral(", which are turned off with it.");
}

QString confirmTurnOn(const QString& face, const QStringList& others)
{
    return QStringLiteral("Turn on this Font : ") + face + QStringLiteral(" ?\rIts files also hold ") +
           others.join(QStringLiteral(", ")) + QStringLiteral(", which are turned on with it.");
}

QString turnOffRefusal(const QString& face)
{
    return face + QStringLiteral(" cannot be turned off: the window's own controls are drawn in it and would have "
                                 "no face left.");
}

QString noFileToTurnOff(const QString& face)
{
    return face + QStringLiteral(" has no font file of its own that could be turned off.");
}

QString noFileToTurnOn(const QString& face)
{
    return face + QStringLiteral(" is not turned off.");
}

QString offUnreadable(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot read ") + path + QStringLiteral(" (") + reason +
           QStringLiteral("), so it was left as it is. No font was turned off or on.");
}

QString offCopyFailed(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot keep a copy of ") + path + QStringLiteral(" (") + reason +
           QStringLiteral("), so it was left as it is. No font was turned off or on.");
}

QString offWriteFailed(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write ") + path + QStringLiteral(" (") + reason +
           QStringLiteral("). It was left as it was, and no font was turned off or on.");
}

QString offKeptCopy(const QString& path, const QString& copy)
{
    return path + QStringLiteral(" held more than Glyphwell writes there. Its fonts stay off; the file as it was is "
                                 "kept as ") +
           copy + QLatin1Char('.');
}

QString offNotRead(const QString& face, const QString& path)
{
    return face + QStringLiteral(" is still listed: your fontconfig setup does not read ") + path +
           QStringLiteral(", so other programs still show it.");
}

} // namespace manage
