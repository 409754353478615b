#include "app/CommandLine.h"
#include "catalogue/ListViews.h"
#include "manage/FontFiles.h"
#include "manage/Messages.h"
#include "preview/CharacterMap.h"
#include "print/PrinterCanvas.h"
#include "print/SaveAsPdf.h"
#include "tests/support/UserTexts.h"

#include <gtest/gtest.h>

// Each text the program shows, from the code that makes it, against the words in UserTexts.h.
TEST(UserTexts, EveryMessageQuestionAndRefusalReadsAsWritten)
{
    using manage::InstallResult;
    const QString face = "Noto Sans";
    const QString path = "/home/u/Fonts/a b.ttf";
    const QString kept = "/home/u/.local/share/fonts/a b.ttf";
    const QString conf = "/home/u/.config/fontconfig/conf.d/80-glyphwell-off.conf";
    // A byte that is not UTF-8 reaches the user as U+FFFD, never as a lone surrogate.
    const QString badPath = QString("/tmp/") + QChar(0xDC80) + ".ttf";
    const QString shownBadPath = QString("/tmp/") + QChar(0xFFFD) + ".ttf";
    const struct {
        QString shown;
        QString expected;
    } rows[] = {
        {manage::confirmUninstallFace(face), said::confirmUninstall.arg(face)},
        {manage::confirmUninstallFace(face, {"Noto Sans Bold", "Noto Sans Italic"}),
         said::confirmUninstallAlso.arg(face, "Noto Sans Bold, Noto Sans Italic")},
        {manage::confirmDeleteFile("a b.ttf"), said::confirmDelete.arg("a b.ttf")},
        {manage::missingSourceMessage, said::missingSource},
        {manage::noBackupSourceMessage, said::noBackupSource},
        {manage::backupSuccess("/home/u/Documents/Glyphwell"), said::backedUp.arg("/home/u/Documents/Glyphwell")},
        {manage::backupFailures("/b", {"a.ttf: no room", "b.ttf: gone"}),
         said::notBackedUp.arg("/b", "a.ttf: no room\r  b.ttf: gone")},
        {manage::installRefusal({InstallResult::Installed, kept, {}}, path), ""},
        {manage::installRefusal({InstallResult::NotAFont, kept, {}}, badPath), said::installNotAFont.arg(shownBadPath)},
        {manage::installRefusal({InstallResult::NameTaken, kept, {}}, path),
         said::installNameTaken.arg("a b.ttf", kept, path)},
        {manage::installRefusal({InstallResult::CopyFailed, kept, "No space left on device"}, path),
         said::installCopyFailed.arg(path, "No space left on device")},
        {manage::installRefusal({InstallResult::CopyFailed, kept, {}}, path),
         said::installCopyFailed.arg(path, "unknown error")},
        {manage::noFileNameMessage, said::noFileName},
        {manage::unusableFileNameMessage("x.ttf"), said::unusableFileName.arg("x.ttf")},
        {manage::offerMissingMessage(path), said::offerMissing.arg(path)},
        {manage::offerFolderMessage(path), said::offerFolder.arg(path)},
        {manage::offerUnreadableMessage(path), said::offerUnreadable.arg(path)},
        {manage::offerNotFontMessage(path), said::offerNotFont.arg(path)},
        {manage::offerInstalledMessage(face, kept), said::offerInstalled.arg(face, kept)},
        {manage::confirmInstallOffered(face, path), said::confirmInstall.arg(face, path)},
        {manage::confirmTurnOff(face, {"A", "B"}), said::confirmTurnOff.arg(face, "A, B")},
        {manage::confirmTurnOn(face, {"A"}), said::confirmTurnOn.arg(face, "A")},
        {manage::turnOffRefusal(face), said::cannotTurnOff.arg(face)},
        {manage::noFileToTurnOff(face), said::noFileToTurnOff.arg(face)},
        {manage::noFileToTurnOn(face), said::notTurnedOff.arg(face)},
        {manage::offUnreadable(conf, "Permission denied"), said::offUnreadable.arg(conf, "Permission denied")},
        {manage::offCopyFailed(conf, "Disk full"), said::offCopyFailed.arg(conf, "Disk full")},
        {manage::offWriteFailed(conf, "Disk full"), said::offWriteFailed.arg(conf, "Disk full")},
        {manage::offKeptCopy(conf, conf + ".1"), said::offKeptCopy.arg(conf, conf + ".1")},
        {manage::offNotRead(face, conf), said::offNotRead.arg(face, conf)},
        {print::noDefaultPrinterMessage, said::noDefaultPrinter},
        {print::printingInProgressMessage, said::printingInProgress},
        {print::jobRefusedMessage, said::jobRefused},
        {print::pdfNotWrittenMessage.arg(path), said::pdfNotWritten.arg(path)},
        {print::confirmReplaceFile(path), said::confirmReplace.arg(path)},
        {catalogue::noFaceFound, said::noFaceFound},
        {preview::nothingToShow, said::nothingToShow},
        {app::usageLine(), said::usage},
        {app::helpText(), said::help},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.shown, row.expected);
}
