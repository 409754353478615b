#include "catalogue/FileBrowser.h"
#include "system/FilePaths.h"
#include "system/FileSystem.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using testenv::contents;

TEST(FileSystem, CopiesNeverReplaceAndLeaveNothingHalfDone)
{
    QTemporaryDir folder;
    sys::PosixFileSystem files;
    const QString source = testenv::writeFile(folder.path() + "/a font.ttf", QByteArray(300000, 'f'));
    const QString target = folder.path() + "/copy.ttf";
    EXPECT_TRUE(files.copyFile(source, target));
    EXPECT_EQ(contents(target), contents(source));
    EXPECT_TRUE(files.sameContents(source, target));

    testenv::writeFile(target, "kept");
    EXPECT_FALSE(files.copyFile(source, target));
    EXPECT_EQ(contents(target), "kept");
    EXPECT_FALSE(files.copyFile(folder.path() + "/missing.ttf", folder.path() + "/new.ttf"));
    EXPECT_FALSE(QFile::exists(folder.path() + "/new.ttf"));
    EXPECT_FALSE(files.copyFile(source, folder.path() + "/no such folder/x.ttf"));
    EXPECT_FALSE(files.copyFile(folder.path(), folder.path() + "/folder-copy")) << "folders are not files";
    // A file that fails while it is read (reading this process's memory from address 0).
    EXPECT_FALSE(files.copyFile("/proc/self/mem", folder.path() + "/unreadable.ttf"));
    EXPECT_FALSE(files.copyFile("/dev/null", folder.path() + "/device.ttf")) << "devices are not files";
    // No temporaries are left behind.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"a font.ttf", "copy.ttf"}));
}

// A file system without hard links, whose disk may fill up once the copy starts.
class NoHardLinks : public sys::PosixFileSystem {
public:
    rlim_t roomAfterLink = RLIM_INFINITY;

protected:
    int hardLink(const QByteArray&, const QByteArray&) override
    {
        rlimit limit{roomAfterLink, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        return EPERM;
    }
};

TEST(FileSystem, CopiesWithoutHardLinksAreWholeOrAbsent)
{
    QTemporaryDir folder;
    const QByteArray bytes(300000, 'f');
    const QString source = testenv::writeFile(folder.path() + "/a font.ttf", bytes);
    const QString target = folder.path() + "/copy.ttf";
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const struct {
        const char* what;
        rlim_t room;
        QByteArray before, after;
        bool copied;
    } cases[] = {
        {"copied", RLIM_INFINITY, "<missing>", bytes, true},
        {"an existing file is kept", RLIM_INFINITY, "kept", "kept", false},
        {"a disk full half-way leaves nothing", 100000, "<missing>", "<missing>", false},
    };
    for (const auto& c : cases) {
        QFile::remove(target);
        if (c.before != "<missing>")
            testenv::writeFile(target, c.before);
        NoHardLinks files;
        files.roomAfterLink = c.room;
        QString reason;
        EXPECT_EQ(files.copyFile(source, target, &reason), c.copied) << c.what;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(contents(target), c.after) << c.what;
        EXPECT_EQ(reason.isEmpty(), c.copied) << c.what << ": " << reason.toStdString();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), c.after == "<missing>" ? 1 : 2)
            << c.what << ": no temporary is left";
    }
    std::signal(SIGXFSZ, oldHandler);
}

TEST(FileSystem, SizesExistenceAndResolvedPaths)
{
    QTemporaryDir folder;
    sys::PosixFileSystem files;
    const QString file = testenv::writeFile(folder.path() + "/f.ttf", "12345");
    EXPECT_EQ(files.fileSize(file), 5);
    EXPECT_EQ(files.fileSize(folder.path() + "/gone.ttf"), -1);
    EXPECT_TRUE(files.fileExists(file));
    EXPECT_FALSE(files.fileExists(folder.path()));
    EXPECT_TRUE(files.folderExists(folder.path()));
    EXPECT_TRUE(files.createFolder(folder.path() + "/sub"));
    EXPECT_FALSE(files.createFolder(folder.path() + "/a/b")) << "one folder at a time";

    QFile::link(file, folder.path() + "/sub/link.ttf");
    const QString real = QDir(folder.path()).canonicalPath();
    EXPECT_EQ(files.resolvedPath(folder.path() + "/sub/link.ttf"), real + "/f.ttf");
    EXPECT_EQ(files.resolvedPath(folder.path() + "/sub/../f.ttf"), real + "/f.ttf");
    EXPECT_EQ(files.resolvedPath(folder.path() + "/sub/not yet/x.ttf"), real + "/sub/not yet/x.ttf");

    EXPECT_TRUE(files.deleteFile(folder.path() + "/sub/link.ttf"));
    EXPECT_TRUE(QFile::exists(file)) << "deleting a link leaves its target";
    EXPECT_FALSE(files.deleteFile(folder.path() + "/sub"));
    EXPECT_FALSE(files.deleteFile("/proc/self/status")) << "a file that cannot be deleted";
    // A linked folder with a path below it that does not exist yet.
    QFile::link(folder.path() + "/sub", folder.path() + "/linked");
    EXPECT_EQ(files.resolvedPath(folder.path() + "/linked/not yet/x.ttf"), real + "/sub/not yet/x.ttf");

    // Past 2 and 4 GiB (sparse files, no disk taken): the size is not cut to 32 bits.
    QFile big(folder.path() + "/big.ttf");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    for (const qint64 size : {qint64(1) << 31, (qint64(1) << 32) + 1}) {
        ASSERT_TRUE(big.resize(size));
        big.flush();
        EXPECT_EQ(files.fileSize(big.fileName()), size);
    }
    EXPECT_EQ(catalogue::fileSizeField(files, big.fileName()), "4294967.297 KB");
}

TEST(FileSystem, FileNamesKeepTheirBytesThroughText)
{
    // Valid UTF-8 reads as its text; any other byte is kept and shown as U+FFFD.
    const struct {
        QByteArray bytes;
        QString shown;
    } names[] = {
        {"plain.ttf", "plain.ttf"},
        {"caf\xc3\xa9.ttf", QString::fromUtf8("caf\xc3\xa9.ttf")},
        {"caf\xe9.ttf", QStringLiteral("caf\uFFFD.ttf")},
        {"\xc2\xa9 \xdf\xbf.ttf", QStringLiteral("\u00A9 \u07FF.ttf")}, // the first and last two-byte leads
        {"\xf0\x9f\x98\x80.otf", QString::fromUtf8("\xf0\x9f\x98\x80.otf")},
        {"end\xf0\x9f\x98\x80", QString::fromUtf8("end\xf0\x9f\x98\x80")}, // a pair that ends the name
        {"over\xc0\xaflong", QStringLiteral("over\uFFFD\uFFFDlong")},   // overlong "/"
        {"sur\xed\xa0\x80gate", QStringLiteral("sur\uFFFD\uFFFD\uFFFDgate")}, // an encoded surrogate
        {"cut\xe2\x82", QStringLiteral("cut\uFFFD\uFFFD")},
        {"\xff\xfe", QStringLiteral("\uFFFD\uFFFD")},
    };
    QTemporaryDir folder;
    const QByteArray base = sys::pathBytes(folder.path()) + '/';
    for (const auto& name : names) {
        const QString path = sys::pathFromBytes(name.bytes);
        EXPECT_EQ(sys::pathBytes(path), name.bytes) << name.bytes.toHex().toStdString();
        EXPECT_EQ(sys::displayPath(path), name.shown) << name.bytes.toHex().toStdString();
        ::close(::open((base + name.bytes).constData(), O_WRONLY | O_CREAT, 0644));
    }
    // Listed, each name turns back into the bytes of its file.
    sys::PosixFileSystem files;
    QList<QByteArray> listed;
    for (const sys::FolderEntry& entry : files.listFolder(folder.path()))
        listed << sys::pathBytes(entry.name);
    std::sort(listed.begin(), listed.end());
    QList<QByteArray> made;
    for (const auto& name : names)
        made << name.bytes;
    std::sort(made.begin(), made.end());
    EXPECT_EQ(listed, made);
}
