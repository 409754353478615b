#pragma once

#include <QString>
#include <memory>

namespace sys {

// A file being written that has no name until it is whole: an unnamed file in the
// target's folder (O_TMPFILE), so that a job stopped or killed at any moment leaves
// nothing behind. Where the file system has no unnamed files, a part file
// "<target>.XXXXXX.part" beside the target stands in, locked while it is written.
class SpoolFile {
public:
    // Made in the folder of the target; nothing when the folder cannot take a file.
    static std::unique_ptr<SpoolFile> create(const QString& target);
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // A name under which this process, and a child started with the descriptor kept
    // open (see inheritable()), opens the file for writing or reading.
    QString path() const;
    int descriptor() const { return fd; }
    bool unnamed() const { return part.isEmpty(); }
    // Puts the file in the target's place at once, readable as a new file would be; an
    // existing target is replaced whole. False when that failed: the target is as it was.
    bool commit(const QString& target);

    // Makes the descriptor survive the exec of a child: call in the child only.
    static void inheritable(int descriptor);

private:
    SpoolFile() = default;
    int fd = -1;
    QString part; // the stand-in part file's name, while it has one
};

// Removes the part files of the target whose writers are gone (killed mid-way): those
// of a live writer stay locked.
void removeStaleParts(const QString& target);

} // namespace sys
