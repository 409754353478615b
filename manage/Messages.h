#pragma once

#include <QString>
#include <QStringList>

namespace manage {
struct InstallResult;
}

// The texts the font management buttons show.
namespace manage {

inline const QString missingSourceMessage = QStringLiteral("Cannot delete font file, source filename is missing");
inline const QString noBackupSourceMessage =
    QStringLiteral("Cannot backUp the Selected font, not found sourece file");

// What the user is told when an install did not install; empty when it did.
QString installRefusal(const InstallResult& result, const QString& source);

// The question before an uninstall; it names the other faces whose files go too.
QString confirmUninstallFace(const QString& face, const QStringList& alsoRemoved = {});
QString confirmDeleteFile(const QString& fileName);
QString backupSuccess(const QString& backupFolder);
// Names the files a back-up could not copy, each with the reason.
QString backupFailures(const QString& backupFolder, const QStringList& failures);

// Font files handed to the program on its command line or by a drop.
inline const QString noFileNameMessage = QStringLiteral("Cannot open a font file without a name");
QString unusableFileNameMessage(const QString& shownName);
QString offerMissingMessage(const QString& path);
QString offerFolderMessage(const QString& path);
QString offerUnreadableMessage(const QString& path);
QString offerNotFontMessage(const QString& path);
QString offerInstalledMessage(const QString& face, const QString& path);
QString confirmInstallOffered(const QString& face, const QString& path);

// Turning fonts off and on.
inline const QString turnOffCaption = QStringLiteral("Turn off");
inline const QString turnOnCaption = QStringLiteral("Turn on");
inline const QString offMark = QStringLiteral(" (off)"); // after a face turned off in the face list
QString confirmTurnOff(const QString& face, const QStringList& others);
QString confirmTurnOn(const QString& face, const QStringList& others);
QString turnOffRefusal(const QString& face);
QString noFileToTurnOff(const QString& face);
QString noFileToTurnOn(const QString& face);
QString offUnreadable(const QString& path, const QString& reason);
QString offCopyFailed(const QString& path, const QString& reason);
QString offWriteFailed(const QString& path, const QString& reason);
QString offKeptCopy(const QString& path, const QString& copy);
QString offNotRead(const QString& face, const QString& path);

} // namespace manage
