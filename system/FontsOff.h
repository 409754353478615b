#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sys {

class FontconfigSession;

// What reading the program's fontconfig file of fonts turned off found.
struct OffFileRead {
    enum State { Missing, Read, Unreadable };
    State state = Missing;
    QByteArray bytes;
    QString reason; // why it could not be read
};

// The program's own file in the user's fontconfig folder, which rejects the files
// of the fonts turned off, and what fontconfig and the font files say about faces.
class FontsOff {
public:
    virtual ~FontsOff() = default;
    // $XDG_CONFIG_HOME/fontconfig/conf.d/90-glyphwell-off.conf
    virtual QString configurationPath() = 0;
    virtual OffFileRead readConfiguration() = 0;
    // Replaces the file whole or not at all (temporary file, fsync, rename); false
    // with the reason when it could not.
    virtual bool writeConfiguration(const QByteArray& bytes, QString* reason) = 0;
    // Copies the file beside itself under a name no file has and fontconfig never
    // reads; the copy's path, or empty with the reason.
    virtual QString keepCopy(QString* reason) = 0;
    // The files fontconfig lists for a face now.
    virtual QStringList filesOfFace(const QString& face) = 0;
    // The faces a font file holds, read from the file itself (fontconfig may be told
    // to reject it): its families, then a variable font's named instances.
    virtual QStringList facesInFile(const QString& path) = 0;
    // The existing files whose path a fontconfig glob matches.
    virtual QStringList filesMatching(const QByteArray& glob) = 0;
};

class FontconfigFontsOff : public FontsOff {
public:
    explicit FontconfigFontsOff(FontconfigSession& session) : session(session) {}
    QString configurationPath() override;
    OffFileRead readConfiguration() override;
    bool writeConfiguration(const QByteArray& bytes, QString* reason) override;
    QString keepCopy(QString* reason) override;
    QStringList filesOfFace(const QString& face) override;
    QStringList facesInFile(const QString& path) override;
    QStringList filesMatching(const QByteArray& glob) override;

private:
    FontconfigSession& session;
};

// fontconfig's glob: "*" any run of bytes ("/" too), "?" one byte, nothing else special.
bool globMatches(const QByteArray& glob, const QByteArray& path);

} // namespace sys
