#include "manage/Messages.h"
#include "tests/support/Choose.h"
#include "tests/support/FormFixture.h"
#include "tests/support/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QTest>

using testenv::contents;

using Manage = FormFixture;

TEST_F(Manage, InstallCopiesLoadsAnnouncesAndRelistsOrSaysWhyNot)
{
    QTemporaryDir elsewhere;
    const QString source = testenv::writeFile(elsewhere.path() + "/new face.ttf", "new font");
    const QString clash = testenv::writeFile(elsewhere.path() + "/old.ttf", "different bytes");
    const QString text = testenv::writeFile(elsewhere.path() + "/readme.ttf", "not a font, just text");
    testenv::writeFile(fontFolder + "/old.ttf", "the installed one");
    TForm1& form = start({"Alpha", "Beta"});
    chooseFace(form, "Beta");

    fonts.addFaces({"Aardvark"}); // what the enumeration reports once the font is loaded
    dialogs.chosenFiles = {source, clash, text, elsewhere.path() + "/gone.ttf", std::nullopt};
    form.Button4Click();
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter,
              "Truetype font (*.ttf)|*.ttf|Raster font (*.fon)|*.fon|"
              "All font files|*.ttf;*.fon;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pcf;*.pcf.gz;*.bdf;*.otb|"
              "OpenType font (*.otf)|*.otf|Font collection (*.ttc, *.otc)|*.ttc;*.otc|"
              "Web font (*.woff, *.woff2)|*.woff;*.woff2|Bitmap font (*.pcf, *.pcf.gz, *.bdf, *.otb)|"
              "*.pcf;*.pcf.gz;*.bdf;*.otb");
    EXPECT_EQ(dialogs.openRequests[0].filterIndex, 1);
    EXPECT_EQ(contents(fontFolder + "/new face.ttf"), "new font");
    EXPECT_EQ(resources.calls, QStringList({"add " + fontFolder + "/new face.ttf", "broadcast"}));
    EXPECT_EQ(form.ListBox1->Items(), QStringList({"Aardvark", "Alpha", "Beta", "Default"}));
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    EXPECT_EQ(form.Panel4->text(), "Beta") << "no preview after an install";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "a successful install is silent";

    // Refused installs: the font folder keeps exactly what it had, nothing is loaded,
    // and the message says why.
    const QStringList before = QDir(fontFolder).entryList(QDir::Files | QDir::Hidden);
    form.ListBox1->setItemIndex(2);
    for (int refused = 0; refused < 3; ++refused)
        form.Button4Click();
    EXPECT_EQ(QDir(fontFolder).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_EQ(contents(fontFolder + "/old.ttf"), "the installed one");
    EXPECT_EQ(resources.calls.size(), 2) << resources.calls.join(", ").toStdString();
    EXPECT_EQ(form.ListBox1->ItemIndex(), 2) << "the list is not refilled";
    EXPECT_EQ(dialogs.messages,
              QStringList({said::installNameTaken.arg("old.ttf", fontFolder + "/old.ttf", clash),
                           said::installNotAFont.arg(text), said::installNotAFont.arg(elsewhere.path() + "/gone.ttf")}));
    // Cancel: nothing.
    form.Button4Click();
    EXPECT_EQ(resources.calls.size(), 2);
    EXPECT_EQ(dialogs.messages.size(), 3);
}

TEST_F(Manage, InstallMakesAMissingFontFolderOrSaysWhyItCannot)
{
    // Even root cannot make a folder below a plain file.
    testenv::writeFile(folders.path() + "/data", "a file, not a folder");
    shellFolders.fontFolder = folders.path() + "/data/fonts";
    QTemporaryDir elsewhere;
    const QString source = testenv::writeFile(elsewhere.path() + "/a.ttf", "a");
    TForm1& form = start({"Alpha"});
    dialogs.chosenFiles = {source, source};
    form.Button4Click();
    EXPECT_EQ(dialogs.messages, QStringList({said::installCopyFailed.arg(source, "Not a directory")}));
    EXPECT_TRUE(resources.calls.isEmpty());
    EXPECT_EQ(contents(folders.path() + "/data"), "a file, not a folder");
    // The way clear, the missing folders are made.
    QFile::remove(folders.path() + "/data");
    form.Button4Click();
    EXPECT_EQ(contents(folders.path() + "/data/fonts/a.ttf"), "a");
}

TEST_F(Manage, UninstallRemovesEveryRegisteredFileOfTheFace)
{
    for (const char* name : {"alpha.ttf", "alphab.ttf", "alphai.ttf", "alphaz.ttf", "keep.ttf"})
        testenv::writeFile(fontFolder + "/" + name, name);
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha BOLD (TrueType)", "alphab.ttf");
    registry.set("Alpha Italic (TrueType)", "alphai.ttf");
    registry.set("Alpha bold italic (TrueType)", "alphaz.ttf");
    const auto before = registry.stored.size();
    TForm1& form = start({"Alpha", "Beta"});
    chooseFace(form, "Alpha");

    dialogs.answers = {false};
    form.Button3Click();
    EXPECT_EQ(dialogs.questions, QStringList({said::confirmUninstall.arg("Alpha")}));
    // Files that hold other faces too (collections): the question names them, once each.
    fonts.fileFamilies[fontFolder + "/alphab.ttf"] = {"Alpha", "Alpha Extra", "ALPHA"};
    fonts.fileFamilies[fontFolder + "/alphaz.ttf"] = {"Beta", "alpha extra"};
    dialogs.answers = {false};
    form.Button3Click();
    EXPECT_EQ(dialogs.questions.last(), said::confirmUninstallAlso.arg("Alpha", "Alpha Extra, Beta"));
    EXPECT_TRUE(QFile::exists(fontFolder + "/alpha.ttf")) << "No changes nothing";
    EXPECT_TRUE(resources.calls.isEmpty());

    dialogs.answers = {true};
    form.Button3Click();
    EXPECT_EQ(QDir(fontFolder).entryList(QDir::Files), QStringList({"keep.ttf"}));
    const QString f = fontFolder + "/";
    EXPECT_EQ(resources.calls, QStringList({"remove " + f + "alpha.ttf", "remove " + f + "alphai.ttf",
                                            "remove " + f + "alphab.ttf", "remove " + f + "alphaz.ttf", "broadcast"}));
    EXPECT_EQ(registry.stored.size(), before) << "the registry view is only read";
    EXPECT_EQ(form.ListBox1->ItemIndex(), -1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // No selection: nothing is asked or touched.
    form.Button3Click();
    EXPECT_EQ(dialogs.questions.size(), 3);
}

TEST_F(Manage, UninstallGoesOnWhenAnyRegisteredFileExistsAndNeverLeavesTheFontFolder)
{
    testenv::writeFile(fontFolder + "/bold.ttf", "b");
    registry.set("Alpha (TrueType)", "gone.ttf");
    registry.set("Alpha bold (TrueType)", "bold.ttf");
    registry.set("Alpha regular (TrueType)", "bold.ttf"); // the same file twice
    registry.set("Beta (TrueType)", "nothing-here.ttf");
    // Gamma's files lie outside the font folder: by an absolute path, a climb and a link.
    QTemporaryDir outside;
    const QString absolute = testenv::writeFile(outside.path() + "/system.ttf", "s");
    const QString climbed = testenv::writeFile(folders.path() + "/climbed.ttf", "c");
    const QString target = testenv::writeFile(outside.path() + "/linked.ttf", "l");
    QFile::link(target, fontFolder + "/link.ttf");
    registry.set("Gamma (TrueType)", absolute);
    registry.set("Gamma bold (TrueType)", "../climbed.ttf");
    registry.set("Gamma italic (TrueType)", "link.ttf");
    TForm1& form = start({"Alpha", "Beta", "Gamma"});
    chooseFace(form, "Alpha");
    dialogs.answers = {true, true, true};
    form.Button3Click();
    EXPECT_FALSE(QFile::exists(fontFolder + "/bold.ttf"));
    const QString f = fontFolder + "/";
    EXPECT_EQ(resources.calls,
              QStringList({"remove " + f + "gone.ttf", "remove " + f + "bold.ttf", "remove " + f + "bold.ttf", "broadcast"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // No file of the face in the folder: the message, nothing deleted, unloaded or announced.
    for (const char* face : {"Beta", "Gamma"}) {
        resources.calls.clear();
        dialogs.messages.clear();
        chooseFace(form, face);
        form.Button3Click();
        EXPECT_EQ(dialogs.messages, QStringList({said::missingSource})) << face;
        EXPECT_TRUE(resources.calls.isEmpty()) << face;
        EXPECT_EQ(form.ListBox1->ItemIndex(), -1) << face;
    }
    for (const QString& kept : {absolute, climbed, target})
        EXPECT_TRUE(QFile::exists(kept)) << kept.toStdString();
    EXPECT_TRUE(QFileInfo(fontFolder + "/link.ttf").isSymLink());
}

TEST_F(Manage, FileViewDeletesOnlyTheSelectedFile)
{
    testenv::writeFile(fontFolder + "/a.ttf", "a");
    testenv::writeFile(fontFolder + "/b.ttf", "b");
    TForm1& form = start({"Alpha"});
    form.Button5Click();
    const QStringList faces = form.ListBox1->Items();
    form.FileListBox1->setItemIndex(1);
    dialogs.answers = {true, true};
    form.Button3Click();
    EXPECT_EQ(dialogs.questions.last(), said::confirmDelete.arg("b.ttf"));
    EXPECT_EQ(QDir(fontFolder).entryList(QDir::Files), QStringList({"a.ttf"}));
    EXPECT_TRUE(resources.calls.isEmpty());
    EXPECT_EQ(form.ListBox1->Items(), faces);
    EXPECT_EQ(form.FileListBox1->Items(), QStringList({"a.ttf"}));

    // A file gone from the folder since listing: the message.
    form.FileListBox1->setItemIndex(0);
    QFile::remove(fontFolder + "/a.ttf");
    form.Button3Click();
    EXPECT_EQ(dialogs.messages, QStringList({said::missingSource}));
}

TEST_F(Manage, BackUpCopiesTheFaceFilesOnceAndNamesWhatFailed)
{
    for (const char* name : {"a.ttf", "ab.ttf", "ai.ttf", "az.ttf"})
        testenv::writeFile(fontFolder + "/" + name, name);
    registry.set("Alpha (TrueType)", "a.ttf");
    registry.set("Alpha bold (TrueType)", "ab.ttf");
    registry.set("Alpha italic (TrueType)", "ai.ttf");
    registry.set("Alpha bold italic (TrueType)", "az.ttf");
    TForm1& form = start({"Alpha", "Beta"});
    const QString backup = documents + "/Glyphwell";

    form.GradientButton7Click();
    EXPECT_EQ(dialogs.messages, QStringList({said::backedUp.arg(backup)}));
    for (const char* name : {"a.ttf", "ab.ttf", "ai.ttf", "az.ttf"})
        EXPECT_EQ(contents(backup + "/" + name), name);
    EXPECT_EQ(form.ListBox3->ItemIndex(), 3);

    // A second backup changes nothing and is no failure; a different file of the same
    // name already there is kept and named.
    testenv::writeFile(backup + "/ab.ttf", "edited");
    form.GradientButton7Click();
    EXPECT_EQ(contents(backup + "/ab.ttf"), "edited");
    EXPECT_EQ(dialogs.messages.mid(1), QStringList({said::notBackedUp.arg(backup, said::backupNameTaken.arg("ab.ttf"))}));

    // A face without files: the folder is there, nothing copied.
    QDir(backup).removeRecursively();
    chooseFace(form, "Beta");
    form.GradientButton7Click();
    EXPECT_EQ(dialogs.messages.last(), said::noBackupSource);
    EXPECT_TRUE(QDir(backup).exists());
    EXPECT_TRUE(QDir(backup).isEmpty());

    // The file view copies only the selected file.
    form.Button5Click();
    form.FileListBox1->setItemIndex(2);
    form.GradientButton7Click();
    EXPECT_EQ(QDir(backup).entryList(QDir::Files), QStringList({"ai.ttf"}));
}

TEST_F(Manage, BackUpWithoutADocumentsFolderSaysSo)
{
    testenv::writeFile(fontFolder + "/a.ttf", "a");
    registry.set("Alpha (TrueType)", "a.ttf");
    shellFolders.documents = folders.path() + "/no documents";
    TForm1& form = start({"Alpha"});
    form.GradientButton7Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("a.ttf"));
    EXPECT_FALSE(QDir(folders.path() + "/no documents").exists());
}

TEST_F(Manage, DetailOpensTheFirstSourceFileOrTheShownFile)
{
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Alpha bold (TrueType)", "alphab.ttf");
    registry.set("Gamma (TrueType)", "/usr/share/fonts/gamma.ttf");
    testenv::writeFile(fontFolder + "/x.ttf", "x");
    TForm1& form = start({"Alpha", "Beta", "Gamma"});
    form.GradientButton1Click();
    EXPECT_EQ(shell.opened, QStringList({fontFolder + "/alpha.ttf"}));
    chooseFace(form, "Beta");
    form.GradientButton1Click();
    EXPECT_EQ(shell.opened.size(), 1) << "cannot identified file: nothing opened";
    chooseFace(form, "Gamma");
    form.GradientButton1Click();
    EXPECT_EQ(shell.opened.last(), "/usr/share/fonts/gamma.ttf");
    form.Button5Click();
    form.GradientButton2Click();
    EXPECT_EQ(shell.opened.last(), fontFolder + "/x.ttf");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
