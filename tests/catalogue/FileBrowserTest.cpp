#include "catalogue/FileBrowser.h"
#include "catalogue/ListViews.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileBrowser, ListsMatchingFilesSortedWithoutFoldersOrHiddenFiles)
{
    QTemporaryDir folder;
    for (const char* name : {"b.ttf", "A.TTF", "c.fon", "notes.txt", ".hidden.ttf", "x.ttfx", "my font, 'q' #1.ttf",
                             "Ünïcode.ttf", "a b.fon"})
        testenv::writeFile(folder.path() + "/" + name, "x");
    QDir(folder.path()).mkdir("folder.ttf");
    QFile::link(folder.path() + "/missing-target.ttf", folder.path() + "/broken link.ttf");
    sys::PosixFileSystem files;

    const QStringList listed = catalogue::listFolder(files, folder.path(), "*.ttf;*.fon");
    EXPECT_EQ(listed, QStringList({"a b.fon", "A.TTF", "b.ttf", "broken link.ttf", "c.fon", "my font, 'q' #1.ttf",
                                   "Ünïcode.ttf"}));
    EXPECT_TRUE(catalogue::listFolder(files, folder.path() + "/none", "*.ttf").isEmpty());
    EXPECT_TRUE(catalogue::matchesPattern("Font.TTF", "*.ttf"));
    EXPECT_FALSE(catalogue::matchesPattern("font.ttf.bak", "*.ttf"));
}

TEST(FileBrowser, SizeTextInKilobytesOfAThousandBytes)
{
    const std::pair<std::int64_t, const char*> sizes[] = {
        {12345, "12.345 KB"}, {1500, "1.5 KB"},   {1024, "1.024 KB"}, {1000, "1 KB"},
        {0, "0 KB"},          {-1, "-0.001 KB"}, {999, "0.999 KB"},   {2048, "2.048 KB"},
        // Sizes past 32 bits keep every byte.
        {5000000123LL, "5000000.123 KB"},
    };
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(catalogue::kilobytesText(bytes), QString::fromLatin1(text)) << bytes;

    QTemporaryDir folder;
    sys::PosixFileSystem files;
    testenv::writeFile(folder.path() + "/f.ttf", QByteArray(2048, 'x'));
    EXPECT_EQ(catalogue::FileSizeText(files, folder.path() + "/f.ttf"), "2048");
    EXPECT_EQ(catalogue::fileSizeField(files, folder.path() + "/gone.ttf"), "-0.001 KB");
}

TEST(ListViews, FollowTheOtherView)
{
    const QStringList entries{"Alpha", "Beta", "beta", "Gamma"};
    EXPECT_EQ(catalogue::followIndex(entries, "beta", catalogue::noFaceFound), 2);
    EXPECT_EQ(catalogue::followIndex(entries, "Alpha", catalogue::noFaceFound), 0);
    EXPECT_EQ(catalogue::followIndex(entries, "Delta", catalogue::noFaceFound), 3) << "not found: last entry";
    EXPECT_EQ(catalogue::followIndex(entries, "", catalogue::noFaceFound), 3);
    EXPECT_EQ(catalogue::followIndex(entries, catalogue::noFaceFound, catalogue::noFaceFound), 0);
    EXPECT_EQ(catalogue::followIndex({}, "Alpha", catalogue::noFaceFound), -1);
}
