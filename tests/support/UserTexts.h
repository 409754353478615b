#pragma once

#include <QString>

// Every message, question and refusal the program shows, written out once as the user reads it.
// UserTextsTest pins each producer to its text here; other tests compare with these, never with the
// function that makes the text, so a change of wording or order fails where the user would see it.
// %1, %2 ... stand for the names the text is given, in the order QString::arg fills them.
namespace said {

// Managing font files.
inline const QString confirmUninstall =
    QStringLiteral("Are You Sure Want To Remove/Uninstall this Font : %1 ?\rWarning this cannot be Undone.");
inline const QString confirmUninstallAlso = QStringLiteral(
    "Are You Sure Want To Remove/Uninstall this Font : %1 ?\rWarning this cannot be Undone.\rIt also removes: %2.");
inline const QString confirmDelete =
    QStringLiteral("Are You Sure Want To Remove/Delete Font Filename : %1 ?\rWarning this cannot be Undone.");
inline const QString missingSource = QStringLiteral("Cannot delete font file, source filename is missing");
inline const QString noBackupSource = QStringLiteral("Cannot backUp the Selected font, not found sourece file");
inline const QString backedUp = QStringLiteral("The Selected font was succesfully backup to %1");
inline const QString notBackedUp = QStringLiteral("These font files were not backed up to %1:\r  %2");
// Each file a back-up could not copy, in that list.
inline const QString backupGone = QStringLiteral("%1 (the file is not there)");
inline const QString backupNameTaken = QStringLiteral("%1 (another file of that name is already in the backup folder)");
inline const QString backupNotCopied = QStringLiteral("%1 (it could not be copied there)");
inline const QString installNotAFont = QStringLiteral("%1 is not a font file that can be installed. Nothing was copied.");
inline const QString installNameTaken =
    QStringLiteral("A file named %1 is already in the font folder: %2. It was kept, and %3 was not installed.");
inline const QString installCopyFailed =
    QStringLiteral("%1 could not be copied into the font folder (%2). Nothing was installed.");

// Font files given on the command line or dropped.
inline const QString noFileName = QStringLiteral("Cannot open a font file without a name");
inline const QString unusableFileName = QStringLiteral(
    "Cannot open the font file %1\rIts name is not valid UTF-8 or holds a line break; rename it and try again.");
inline const QString offerMissing = QStringLiteral("Cannot open the font file %1\rThere is no such file.");
inline const QString offerFolder = QStringLiteral("Cannot install %1\rIt is a folder, not a font file.");
inline const QString offerUnreadable = QStringLiteral("Cannot open the font file %1\rYou are not allowed to read it.");
inline const QString offerNotFont = QStringLiteral("Cannot install %1\rIt is not a font file.");
inline const QString offerInstalled = QStringLiteral("The font %1 is already installed:\r%2");
inline const QString confirmInstall =
    QStringLiteral("Install this Font : %1 ?\r%2\rIt is copied into your font folder.");

// Turning fonts off and on.
inline const QString confirmTurnOff =
    QStringLiteral("Turn off this Font : %1 ?\rIts files also hold %2, which are turned off with it.");
inline const QString confirmTurnOn =
    QStringLiteral("Turn on this Font : %1 ?\rIts files also hold %2, which are turned on with it.");
inline const QString cannotTurnOff =
    QStringLiteral("%1 cannot be turned off: the window's own controls are drawn in it and would have no face left.");
inline const QString noFileToTurnOff = QStringLiteral("%1 has no font file of its own that could be turned off.");
inline const QString notTurnedOff = QStringLiteral("%1 is not turned off.");
inline const QString offUnreadable =
    QStringLiteral("Cannot read %1 (%2), so it was left as it is. No font was turned off or on.");
inline const QString offCopyFailed =
    QStringLiteral("Cannot keep a copy of %1 (%2), so it was left as it is. No font was turned off or on.");
inline const QString offWriteFailed =
    QStringLiteral("Cannot write %1 (%2). It was left as it was, and no font was turned off or on.");
inline const QString offKeptCopy =
    QStringLiteral("%1 held more than Glyphwell writes there. Its fonts stay off; the file as it was is kept as %2.");
inline const QString offNotRead =
    QStringLiteral("%1 is still listed: your fontconfig setup does not read %2, so other programs still show it.");

// Printing and saving.
inline const QString noDefaultPrinter = QStringLiteral("There is no default printer currently selected");
inline const QString printingInProgress = QStringLiteral("Printing in progress");
inline const QString jobRefused = QStringLiteral("The printer did not accept the print job");
inline const QString pdfNotWritten = QStringLiteral("The file %1 could not be written");
inline const QString confirmReplace = QStringLiteral("%1 already exists.\r\nDo you want to replace it?");
inline const QString printingSheet = QStringLiteral("Printing the sheet: page %1 of %2");
inline const QString savingSheet = QStringLiteral("Saving the sheet: page %1 of %2");
inline const QString printingAll = QStringLiteral("Printing all fonts: page %1 of %2");
inline const QString savingAll = QStringLiteral("Saving all fonts: page %1 of %2");
inline const QString printingFound = QStringLiteral("Printing the faces found: page %1 of %2");
inline const QString savingFound = QStringLiteral("Saving the faces found: page %1 of %2");
inline const QString finishingJob = QStringLiteral("Finishing the previous job\u2026");

// The window framework's errors and the preview's placeholders.
inline const QString notAnInteger = QStringLiteral("'%1' is not a valid integer value");
inline const QString listIndex = QStringLiteral("List index out of bounds (%1)");
inline const QString invalidDataType = QStringLiteral("Invalid data type for '%1'");
inline const QString gridIndex = QStringLiteral("Grid index out of range");
inline const QString unknownError = QStringLiteral("An unknown error occurred");
inline const QString noFaceFound = QStringLiteral("Cannot found facename");
inline const QString nothingToShow = QStringLiteral("This face has no characters to show");
inline const QString tooMuchNoise = QStringLiteral("Maximum Noise Amount of\r  100 has been substituted");
inline const QString textureTooSmall = QStringLiteral("Minimum Texture Size of\r  4 has been substituted");
inline const QString textureTooLarge = QStringLiteral("Maximum Texture Size of\r  240 has been substituted");

// The command line.
inline const QString usage = QStringLiteral("Usage: glyphwell [--help] [--version] [FONT-FILE...]");
inline const QString help = QStringLiteral("Usage: glyphwell [--help] [--version] [FONT-FILE...]\n"
                                           "Preview, install, back up and print fonts.\n"
                                           "\n"
                                           "Each FONT-FILE is previewed and offered for installation into your\n"
                                           "font folder, one after the other.\n"
                                           "\n"
                                           "  --help     print this text and exit\n"
                                           "  --version  print the version and exit\n"
                                           "  --         every later argument is a file\n");
inline const QString noDisplay = QStringLiteral("glyphwell: cannot open the display; set DISPLAY or WAYLAND_DISPLAY\n");

} // namespace said
