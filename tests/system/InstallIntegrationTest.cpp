#include "app/Startup.h"
#include "app/Unit1.h"
#include "system/FontResources.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(InstallIntegration, InstalledFaceIsLiveAndUninstallTakesItAway)
{
    const QString source = testenv::debianFont("DejaVuSerif.ttf");
    ASSERT_FALSE(source.isEmpty());
    ASSERT_FALSE(fcListFamilies().contains("DejaVu Serif"));

    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    ASSERT_FALSE(form.ListBox1->Items().contains("DejaVu Serif"));

    dialogs.chosenFiles = {source};
    form.Button4Click();
    const QString installed = testenv::userFontFolder() + "/DejaVuSerif.ttf";
    EXPECT_TRUE(QFile::exists(installed));
    const int index = int(form.ListBox1->Items().indexOf("DejaVu Serif"));
    ASSERT_GE(index, 0);
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    EXPECT_TRUE(fcListFamilies().contains("DejaVu Serif"));

    // It previews in its own face, found through its registry name.
    form.ListBox1->setItemIndex(index);
    form.ListBox1Click();
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

TEST(InstallIntegration, AFaceWhoseFileVanishedOrBrokeStillPreviews)
{
    const QString source = testenv::debianFont("DejaVuSansMono.ttf");
    ASSERT_FALSE(source.isEmpty());
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    form.show();
    dialogs.chosenFiles = {source};
    form.Button4Click();
    const int index = int(form.ListBox1->Items().indexOf("DejaVu Sans Mono"));
    ASSERT_GE(index, 0);

    // The file is cut short behind the program's back, then removed.
    const QString installed = testenv::userFontFolder() + "/DejaVuSansMono.ttf";
    QFile file(installed);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(2000);
    file.close();
    form.ListBox1->setItemIndex(index);
    form.ListBox1Click();
    form.repaint();
    EXPECT_EQ(form.Panel4->text(), "DejaVu Sans Mono");
    QFile::remove(installed);
    form.ListBox1->setItemIndex(index);
    form.ListBox1Click();
    form.ListBox1->viewport()->repaint();
    form.repaint();
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"DejaVuSansMono.ttf"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    real.services().fontResources.broadcastFontChange();
}
