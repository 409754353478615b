#include "app/Startup.h"
#include "tests/support/UserTexts.h"
#include "app/Unit1.h"
#include "manage/FontOffer.h"
#include "manage/Messages.h"
#include "tests/support/Choose.h"
#include "system/FontFileCheck.h"
#include "system/FontResources.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// What a separate fontconfig program lists, in this process's environment.
QStringList fcListFamilies()
{
    QProcess list;
    list.start("fc-list", {":", "family"});
    list.waitForFinished(30000);
    return QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

// The main window on the real font stack, with scripted dialogs.
class InstallIntegration : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
};

TEST_F(InstallIntegration, InstalledFaceIsLiveAndUninstallTakesItAway)
{
    const QString source = testenv::debianFont("DejaVuSerif.ttf");
    ASSERT_FALSE(source.isEmpty());
    ASSERT_FALSE(fcListFamilies().contains("DejaVu Serif"));
    ASSERT_FALSE(form.ListBox1->Items().contains("DejaVu Serif"));

    dialogs.chosenFiles = {source};
    form.Button4Click();
    const QString installed = testenv::userFontFolder() + "/DejaVuSerif.ttf";
    EXPECT_TRUE(QFile::exists(installed));
    ASSERT_TRUE(form.ListBox1->Items().contains("DejaVu Serif"));
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    EXPECT_TRUE(fcListFamilies().contains("DejaVu Serif"));

    // It previews in its own face, found through its registry name.
    chooseFace(form, "DejaVu Serif");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"DejaVuSerif.ttf"}));
    EXPECT_EQ(QFontInfo(form.Edit1->font()).family(), "DejaVu Serif");

    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_FALSE(QFile::exists(installed));
    EXPECT_FALSE(form.ListBox1->Items().contains("DejaVu Serif"));
    EXPECT_FALSE(fcListFamilies().contains("DejaVu Serif"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // System fonts stay where they are.
    EXPECT_TRUE(QFile::exists(testenv::systemFontFolder() + "/DejaVuSans.ttf"));
}

TEST_F(InstallIntegration, AFaceWhoseFileVanishedOrBrokeStillPreviews)
{
    const QString source = testenv::debianFont("DejaVuSansMono.ttf");
    ASSERT_FALSE(source.isEmpty());
    form.show();
    dialogs.chosenFiles = {source};
    form.Button4Click();
    ASSERT_TRUE(form.ListBox1->Items().contains("DejaVu Sans Mono"));

    // The file is cut short behind the program's back, then removed.
    const QString installed = testenv::userFontFolder() + "/DejaVuSansMono.ttf";
    QFile file(installed);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(2000);
    file.close();
    chooseFace(form, "DejaVu Sans Mono");
    form.repaint();
    EXPECT_EQ(form.Panel4->text(), "DejaVu Sans Mono");
    QFile::remove(installed);
    chooseFace(form, "DejaVu Sans Mono");
    form.ListBox1->viewport()->repaint();
    form.repaint();
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"DejaVuSansMono.ttf"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    real.services().fontResources.broadcastFontChange();
}

TEST_F(InstallIntegration, AnOpenedFontIsPreviewedAndInstalledOnYes)
{
    QTemporaryDir downloads;
    const QString mono = testenv::copyInto(testenv::debianFont("LiberationMono-Regular.ttf"), downloads.path());
    const QString serif = testenv::copyInto(testenv::debianFont("DejaVuSerif-Bold.ttf"), downloads.path());
    ASSERT_TRUE(QFile::exists(mono) && QFile::exists(serif));
    ASSERT_FALSE(form.ListBox1->Items().contains("Liberation Mono"));

    // "No": previewed in its own face, loaded for this run, nothing written.
    dialogs.answers = {false};
    form.offerFontFiles(manage::offeredFiles({serif.toUtf8()}, "/"));
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);
    EXPECT_EQ(form.Panel4->text(), "DejaVu Serif");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({serif}));
    EXPECT_EQ(QFontInfo(form.Edit1->font()).family(), "DejaVu Serif");
    EXPECT_EQ(QDir(testenv::userFontFolder()).entryList(QDir::Files), QStringList());

    // "Yes": in the font folder, live for other programs, in the face list.
    dialogs.answers = {true};
    form.offerFontFiles(manage::offeredFiles({mono.toUtf8()}, "/"));
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);
    EXPECT_EQ(dialogs.questions.size(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QString installed = testenv::userFontFolder() + "/LiberationMono-Regular.ttf";
    EXPECT_TRUE(QFile::exists(installed));
    EXPECT_TRUE(form.ListBox1->Items().contains("Liberation Mono"));
    EXPECT_TRUE(fcListFamilies().contains("Liberation Mono"));
    EXPECT_EQ(form.Panel4->text(), "Liberation Mono");

    // Opened again, it is already installed.
    form.offerFontFiles(manage::offeredFiles({mono.toUtf8(), installed.toUtf8()}, "/"));
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);
    EXPECT_EQ(dialogs.messages, QStringList({said::offerInstalled.arg("Liberation Mono", mono),
                                             said::offerInstalled.arg("Liberation Mono", installed)}));
    QFile::remove(installed);
    real.services().fontResources.broadcastFontChange();
}

TEST(FontFileCheck, FreeTypeTellsFontsFromEverythingElse)
{
    QTemporaryDir elsewhere;
    sys::FreeTypeFontFileCheck check;
    const sys::FontFileFacts serif = check.inspect(testenv::debianFont("DejaVuSerif.ttf"));
    EXPECT_EQ(serif.kind, sys::FileKind::Font);
    EXPECT_EQ(serif.family, "DejaVu Serif");
    EXPECT_EQ(check.inspect(testenv::writeFile(elsewhere.path() + "/text.ttf", "just text")).kind,
              sys::FileKind::NotFont);
    EXPECT_EQ(check.inspect(testenv::writeFile(elsewhere.path() + "/empty.ttf", "")).kind, sys::FileKind::NotFont);
    EXPECT_EQ(check.inspect(elsewhere.path()).kind, sys::FileKind::Folder);
    EXPECT_EQ(check.inspect(elsewhere.path() + "/missing.ttf").kind, sys::FileKind::Missing);
    EXPECT_EQ(check.inspect("/dev/null").kind, sys::FileKind::NotFont);
    const QString locked = testenv::writeFile(elsewhere.path() + "/locked.ttf", "x");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (geteuid() != 0) // root reads every file
        EXPECT_EQ(check.inspect(locked).kind, sys::FileKind::Unreadable);
}
