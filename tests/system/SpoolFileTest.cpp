// The spool file a PDF is written into: nameless until whole, then in the target's
// place in one step; and the part files of writers that were killed, cleared away.
#include "system/SpoolFile.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using testenv::entries;

TEST(SpoolFile, HasNoNameUntilWholeThenTakesTheTargetsPlaceAtOnce)
{
    // The temporary folder, the source tree's and a memory file system (tmpfs).
    const QString bases[] = {QDir::tempPath(), QStringLiteral(GLYPHWELL_SOURCE_DIR), QStringLiteral("/dev/shm")};
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const QString& base : bases) {
        if (!QFileInfo(base).isWritable())
            continue;
        QTemporaryDir folder(base + "/spool-test-XXXXXX");
        ASSERT_TRUE(folder.isValid()) << base.toStdString();
        const QString target = folder.path() + "/catalogue.pdf";
        for (const bool replacing : {false, true}) {
            if (replacing)
                ASSERT_EQ(testenv::contents(testenv::writeFile(target, "old")), "old");
            const auto spool = sys::SpoolFile::create(target);
            ASSERT_TRUE(spool) << base.toStdString();
            EXPECT_TRUE(spool->unnamed()) << base.toStdString() << ": the file system takes nameless files";
            // Written the way Qt's engines write: opened again by its name.
            ASSERT_EQ(testenv::contents(testenv::writeFile(spool->path(), "%PDF whole")), "%PDF whole");
            EXPECT_EQ(entries(folder.path()), replacing ? QStringList{"catalogue.pdf"} : QStringList{})
                << base.toStdString();
            ASSERT_TRUE(spool->commit(target)) << base.toStdString();
            EXPECT_EQ(entries(folder.path()), QStringList{"catalogue.pdf"});
            EXPECT_EQ(testenv::contents(target), "%PDF whole");
            struct stat status {};
            ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << "readable as any new file";
            QFile::remove(target);
        }
    }
}

TEST(SpoolFile, PartFilesOfGoneWritersAreRemovedOthersKept)
{
    QTemporaryDir folder;
    const QString target = folder.path() + "/sheet [1].pdf";
    const QStringList names = {
        "sheet [1].pdf",              // the target itself
        "sheet [1].pdf.Ab3xYz.part",  // a killed writer's
        "sheet [1].pdf.Live00.part",  // a writer still at work
        "sheet [1].pdf.notes.part",   // not a name of ours
        "sheet 1.pdf.Ab3xYz.part",    // another target's
        "sheet [1].pdf.Ab3xYz.part~", // not a part file
    };
    for (const QString& name : names)
        ASSERT_EQ(testenv::contents(testenv::writeFile(folder.path() + "/" + name, "")), "") << name.toStdString();
    const QByteArray live = QFile::encodeName(folder.path() + "/sheet [1].pdf.Live00.part");
    const int writer = ::open(live.constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

    sys::removeStaleParts(target);
    QStringList left = names;
    left.removeAll("sheet [1].pdf.Ab3xYz.part");
    left.sort();
    EXPECT_EQ(entries(folder.path()), left);
    ::close(writer);
    const qsizetype descriptors = QDir("/dev/fd").entryList(QDir::System | QDir::Files).size();
    sys::removeStaleParts(target);
    EXPECT_EQ(QDir("/dev/fd").entryList(QDir::System | QDir::Files).size(), descriptors) << "none left open";
    left.removeAll("sheet [1].pdf.Live00.part");
    EXPECT_EQ(entries(folder.path()), left) << "once its writer is gone";
}

// A target that cannot be replaced (a folder holding files): the commit says so and
// leaves no part file behind.
TEST(SpoolFile, ACommitThatCannotReplaceTheTargetFailsAndLeavesNothing)
{
    QTemporaryDir folder;
    const QString target = folder.path() + "/catalogue.pdf";
    ASSERT_TRUE(QDir().mkpath(target + "/inside"));
    const auto spool = sys::SpoolFile::create(target);
    ASSERT_TRUE(spool);
    ASSERT_EQ(testenv::contents(testenv::writeFile(spool->path(), "%PDF")), "%PDF");
    EXPECT_FALSE(spool->commit(target));
    EXPECT_EQ(entries(folder.path()), QStringList());
    EXPECT_TRUE(QFileInfo(target).isDir());
}
