#include "manage/FontFiles.h"
#include "tests/support/UserTexts.h"
#include "system/FileSystem.h"
#include "tests/support/Fakes.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testenv::contents;

// Only what lies inside the font folder, once "..", links and absolute data are
// resolved, may be unloaded or deleted.
TEST(FontFiles, OnlyPathsInsideTheFontFolderMayBeTouched)
{
    QTemporaryDir root;
    sys::PosixFileSystem files;
    const QString folder = root.path() + "/fonts/";
    QDir().mkpath(folder + "sub");
    QDir().mkpath(root.path() + "/fonts-old");
    QDir().mkpath(root.path() + "/outside");
    testenv::writeFile(folder + "a.ttf", "a");
    testenv::writeFile(root.path() + "/outside/x.ttf", "x");
    QFile::link(root.path() + "/outside", folder + "away");
    QFile::link(root.path() + "/outside/x.ttf", folder + "x.ttf");

    const struct {
        QString data;
        bool inside;
    } cases[] = {
        {"a.ttf", true},
        {"sub/b.ttf", true},
        {"sub/../a.ttf", true},
        {folder + "a.ttf", true},
        {"", false},
        {".", false},
        {"sub/..", false},
        {"../a.ttf", false},
        {"sub/../../outside/x.ttf", false},
        {root.path() + "/fonts-old/a.ttf", false},
        {root.path() + "/fonts/../outside/x.ttf", false},
        {"away/x.ttf", false},
        {"x.ttf", false},
        {"/etc/passwd", false},
    };
    for (const auto& c : cases) {
        const auto path = manage::pathInFontFolder(files, folder, c.data);
        EXPECT_EQ(path.has_value(), c.inside) << c.data.toStdString();
        if (path && c.inside)
            EXPECT_EQ(*path, manage::fontFilePath(folder, c.data)) << c.data.toStdString();
    }
    // No font folder, or the root as one, holds nothing.
    const QString here = QDir::currentPath();
    QDir::setCurrent(folder);
    EXPECT_FALSE(manage::pathInFontFolder(files, "", "a.ttf"));
    QDir::setCurrent(here);
    EXPECT_FALSE(manage::pathInFontFolder(files, "/", "etc/passwd"));
    EXPECT_FALSE(manage::pathInFontFolder(files, "/", "/etc/passwd"));
}

TEST(FontFiles, DeleteAndUninstallSayWhetherTheyFoundAFile)
{
    QTemporaryDir root;
    sys::PosixFileSystem files;
    RecordingFontResources resources;
    const QString folder = root.path() + "/";
    EXPECT_TRUE(manage::ensureFolder(files, folder + "made/in/turn/"));
    EXPECT_TRUE(QDir(folder + "made/in/turn").exists());
    EXPECT_FALSE(manage::ensureFolder(files, ""));
    testenv::writeFile(folder + "a.ttf", "a");
    testenv::writeFile(folder + "b.ttf", "b");
    QDir().mkpath(folder + "folder.ttf");

    EXPECT_FALSE(manage::deleteFontFile(files, folder, "gone.ttf"));
    EXPECT_FALSE(manage::deleteFontFile(files, folder, "folder.ttf"));
    EXPECT_TRUE(QDir(folder + "folder.ttf").exists());
    EXPECT_TRUE(manage::deleteFontFile(files, folder, "a.ttf"));
    EXPECT_FALSE(QFile::exists(folder + "a.ttf"));

    // No slot names an existing file: nothing is touched, not even announced.
    EXPECT_FALSE(manage::uninstallFace(files, resources, folder, {"", "gone.ttf", "a.ttf"}));
    EXPECT_TRUE(resources.calls.isEmpty());
    // Every slot in order, a file named twice unloaded twice and deleted once.
    testenv::writeFile(folder + "c.ttf", "c");
    EXPECT_TRUE(manage::uninstallFace(files, resources, folder, {"gone.ttf", "b.ttf", "", "c.ttf", "b.ttf"}));
    EXPECT_EQ(resources.calls, QStringList({"remove " + folder + "gone.ttf", "remove " + folder + "b.ttf",
                                            "remove " + folder + "c.ttf", "remove " + folder + "b.ttf",
                                            "broadcast"}));
    EXPECT_FALSE(QFile::exists(folder + "b.ttf"));
    EXPECT_FALSE(QFile::exists(folder + "c.ttf"));

    // A face with files inside and outside the font folder, one through a link: only
    // the file inside goes; the system's file and the link's target stay.
    QTemporaryDir system;
    const QString systemFile = testenv::writeFile(system.path() + "/sys.ttf", "system");
    const QString linkedFile = testenv::writeFile(system.path() + "/linked.ttf", "linked");
    QFile::link(linkedFile, folder + "link.ttf");
    testenv::writeFile(folder + "mine.ttf", "mine");
    resources.calls.clear();
    EXPECT_TRUE(manage::uninstallFace(files, resources, folder, {systemFile, "link.ttf", "mine.ttf"}));
    EXPECT_EQ(resources.calls, QStringList({"remove " + folder + "mine.ttf", "broadcast"}));
    EXPECT_EQ(contents(systemFile), "system");
    EXPECT_EQ(contents(linkedFile), "linked");
    EXPECT_FALSE(QFile::exists(folder + "mine.ttf"));
    // Only outside: nothing found, nothing touched.
    EXPECT_FALSE(manage::uninstallFace(files, resources, folder, {systemFile, "link.ttf"}));
    EXPECT_FALSE(manage::deleteFontFile(files, folder, "link.ttf"));
    EXPECT_EQ(contents(linkedFile), "linked");
}

TEST(FontFiles, BackUpNamesEachFailureAndKeepsWhatIsThere)
{
    QTemporaryDir root;
    sys::PosixFileSystem files;
    const QString folder = root.path() + "/fonts/";
    const QString backup = root.path() + "/backup";
    QDir().mkpath(folder + "sub");
    QDir().mkpath(backup);
    testenv::writeFile(folder + "same.ttf", "same");
    testenv::writeFile(backup + "/same.ttf", "same");
    testenv::writeFile(folder + "clash.ttf", "mine");
    testenv::writeFile(backup + "/clash.ttf", "theirs");
    testenv::writeFile(backup + "/longer.ttf", "same plus");
    testenv::writeFile(folder + "longer.ttf", "same");
    testenv::writeFile(folder + "sub/deep.ttf", "deep");

    const QStringList failures =
        manage::backupFiles(files, folder, backup, {"same.ttf", "clash.ttf", "longer.ttf", "gone.ttf", "sub/deep.ttf"});
    EXPECT_EQ(failures, QStringList({said::backupNameTaken.arg("clash.ttf"), said::backupNameTaken.arg("longer.ttf"),
                                     said::backupGone.arg("gone.ttf")}));
    EXPECT_EQ(contents(backup + "/clash.ttf"), "theirs");
    EXPECT_EQ(contents(backup + "/deep.ttf"), "deep");
    EXPECT_EQ(manage::backupFiles(files, folder, root.path() + "/no such folder", {"same.ttf"}),
              QStringList({said::backupNotCopied.arg("same.ttf")}));
    // A system font is registered by its full path: it is backed up from there.
    QTemporaryDir system;
    const QString systemFile = testenv::writeFile(system.path() + "/sys.ttf", "system");
    EXPECT_EQ(manage::backupFiles(files, folder, backup, {systemFile}), QStringList());
    EXPECT_EQ(contents(backup + "/sys.ttf"), "system");
}

// An install never writes over what has the target's name, a folder included.
TEST(FontFiles, InstallRefusesANameTakenByAFileOrFolder)
{
    QTemporaryDir root;
    sys::PosixFileSystem files;
    RecordingFontResources resources;
    const QString folder = root.path() + "/fonts/";
    const QString source = testenv::writeFile(root.path() + "/new.ttf", "font");
    QDir().mkpath(folder + "new.ttf");
    EXPECT_EQ(manage::installFont(files, resources, folder, source).outcome, manage::InstallResult::NameTaken);
    EXPECT_TRUE(QDir(folder + "new.ttf").isEmpty());
    QDir(folder + "new.ttf").removeRecursively();
    const manage::InstallResult installed = manage::installFont(files, resources, folder, source);
    EXPECT_TRUE(installed.installed());
    EXPECT_EQ(contents(installed.target), "font");
    EXPECT_EQ(resources.calls, QStringList({"add " + folder + "new.ttf", "broadcast"}));

    // A link is installed as a copy of the file it names, never as the link itself,
    // so the font stays when the link's target goes.
    QFile::link(source, root.path() + "/link.ttf");
    const manage::InstallResult linked = manage::installFont(files, resources, folder, root.path() + "/link.ttf");
    EXPECT_EQ(linked.target, folder + "link.ttf");
    EXPECT_TRUE(linked.installed());
    QFile::remove(source);
    EXPECT_EQ(QFileInfo(linked.target).isSymLink(), false);
    EXPECT_EQ(contents(linked.target), "font");
}

