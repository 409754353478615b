#include "manage/TurnedOff.h"

#include "manage/Messages.h"
#include "system/FilePaths.h"

#include <QXmlStreamReader>

namespace manage {

namespace {

void addOnce(QStringList& list, const QString& name)
{
    if (!list.contains(name, Qt::CaseInsensitive))
        list << name;
}

bool anyMatches(const QList<QByteArray>& globs, const QString& file)
{
    const QByteArray bytes = sys::pathBytes(file);
    return std::any_of(globs.begin(), globs.end(), [&](const QByteArray& glob) { return sys::globMatches(glob, bytes); });
}

// The <glob> elements of a file that is not XML (a broken or cut-short one).
QList<QByteArray> scanGlobs(const QByteArray& bytes)
{
    QList<QByteArray> globs;
    for (qsizetype start = bytes.indexOf("<glob>"); start >= 0; start = bytes.indexOf("<glob>", start)) {
        start += 6;
        const qsizetype end = bytes.indexOf("</glob>", start);
        if (end < 0)
            break;
        QByteArray glob = bytes.mid(start, end - start);
        glob.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
        glob.replace("&amp;", "&");
        if (!glob.isEmpty() && !globs.contains(glob))
            globs << glob;
    }
    return globs;
}

} // namespace

QByteArray globOf(const QString& path)
{
    QString glob;
    glob.reserve(path.size());
    for (const QChar c : path) {
        const char16_t unit = c.unicode();
        const bool keptByte = unit >= 0xDC80 && unit <= 0xDCFF;
        glob += keptByte || unit < 0x20 || unit == '*' || unit == '?' ? QChar('?') : c;
    }
    return glob.toUtf8();
}

QByteArray offConfiguration(const QList<QByteArray>& globs)
{
    QByteArray text = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                      "<!-- Fonts turned off in Glyphwell: fontconfig leaves out these files. -->\n"
                      "<fontconfig>\n";
    if (!globs.isEmpty()) {
        text += "  <selectfont>\n    <rejectfont>\n";
        for (const QByteArray& glob : globs)
            text += "      <glob>" + QString::fromUtf8(glob).toHtmlEscaped().toUtf8() + "</glob>\n";
        text += "    </rejectfont>\n  </selectfont>\n";
    }
    return text + "</fontconfig>\n";
}

OffRules readOffRules(const QByteArray& bytes)
{
    OffRules rules;
    QXmlStreamReader xml(bytes);
    int rejecting = 0; // depth inside <rejectfont>
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("rejectfont"))
            ++rejecting;
        else if (xml.isEndElement() && xml.name() == QLatin1String("rejectfont"))
            --rejecting;
        else if (xml.isStartElement() && xml.name() == QLatin1String("glob") && rejecting > 0) {
            const QByteArray glob = xml.readElementText().toUtf8();
            if (!glob.isEmpty() && !rules.globs.contains(glob))
                rules.globs << glob;
        }
    }
    if (xml.hasError())
        rules.globs = scanGlobs(bytes);
    rules.ours = bytes == offConfiguration(rules.globs);
    return rules;
}

void FontsTurnedOff::load()
{
    read = system.readConfiguration();
    const OffRules rules = readOffRules(read.bytes);
    globs = rules.globs;
    ours = read.state != sys::OffFileRead::Read || rules.ours;
    offFiles.clear();
    fileFaces.clear();
    for (const QByteArray& glob : globs)
        for (const QString& file : system.filesMatching(glob))
            if (!offFiles.contains(file))
                offFiles << file;
    for (const QString& file : offFiles) {
        if (!loadedForRun.contains(file)) {
            resources.addFontResource(file);
            loadedForRun.insert(file);
        }
    }
}

const QStringList& FontsTurnedOff::facesOf(const QString& file)
{
    auto known = fileFaces.find(file);
    if (known == fileFaces.end())
        known = fileFaces.insert(file, system.facesInFile(file));
    return *known;
}

QStringList FontsTurnedOff::faces()
{
    QStringList all;
    for (const QString& file : offFiles)
        for (const QString& face : facesOf(file))
            addOnce(all, face);
    // A family whose other files are on stays on.
    all.removeIf([&](const QString& face) {
        const QStringList listed = system.filesOfFace(face);
        return std::any_of(listed.begin(), listed.end(), [&](const QString& file) { return !offFiles.contains(file); });
    });
    return all;
}

OffChange FontsTurnedOff::planOff(const QString& face, const QStringList& controlFaces)
{
    OffChange change{face, system.filesOfFace(face), {}, {}};
    if (change.files.isEmpty()) {
        change.refusal = noFileToTurnOff(face);
        return change;
    }
    QStringList leaving{face};
    for (const QString& file : change.files)
        for (const QString& other : facesOf(file))
            addOnce(leaving, other);
    change.others = leaving.mid(1);
    // Faces turned off before count as gone too: one at a time they would all go.
    for (const QString& gone : faces())
        addOnce(leaving, gone);
    const bool takesAll = !controlFaces.isEmpty() && std::all_of(controlFaces.begin(), controlFaces.end(),
                                                                 [&](const QString& control) {
                                                                     return leaving.contains(control, Qt::CaseInsensitive);
                                                                 });
    if (takesAll)
        change.refusal = turnOffRefusal(face);
    return change;
}

OffChange FontsTurnedOff::planOn(const QString& face)
{
    OffChange change{face, {}, {}, {}};
    QList<QByteArray> lifted;
    for (const QString& file : offFiles) {
        if (!facesOf(file).contains(face, Qt::CaseInsensitive))
            continue;
        for (const QByteArray& glob : globs)
            if (sys::globMatches(glob, sys::pathBytes(file)) && !lifted.contains(glob))
                lifted << glob;
    }
    // A wider glob brings back every file it rejects, and their faces with them.
    QStringList back{face};
    for (const QString& file : offFiles) {
        if (!anyMatches(lifted, file))
            continue;
        change.files << file;
        for (const QString& other : facesOf(file))
            addOnce(back, other);
    }
    change.others = back.mid(1);
    if (change.files.isEmpty())
        change.refusal = noFileToTurnOn(face);
    return change;
}

bool FontsTurnedOff::rewrite(const QList<QByteArray>& newGlobs, QString& message)
{
    const QString path = sys::displayPath(system.configurationPath());
    QString reason;
    if (read.state == sys::OffFileRead::Unreadable) {
        message = offUnreadable(path, read.reason);
        return false;
    }
    if (read.state == sys::OffFileRead::Read && !ours) {
        const QString copy = system.keepCopy(&reason);
        if (copy.isEmpty()) {
            message = offCopyFailed(path, reason);
            return false;
        }
        message = offKeptCopy(path, sys::displayPath(copy));
    }
    if (!system.writeConfiguration(offConfiguration(newGlobs), &reason)) {
        message = offWriteFailed(path, reason);
        return false;
    }
    globs = newGlobs;
    ours = true;
    read = {sys::OffFileRead::Read, offConfiguration(newGlobs), {}};
    resources.broadcastFontChange();
    return true;
}

QString FontsTurnedOff::turnOff(const OffChange& change)
{
    QList<QByteArray> newGlobs = globs;
    for (const QString& file : change.files)
        if (!anyMatches(newGlobs, file))
            newGlobs << globOf(file);
    QString message;
    if (!rewrite(newGlobs, message))
        return message;
    // Listed still, before its files are loaded for this program: the user's
    // configuration does not read our file.
    if (!system.filesOfFace(change.face).isEmpty())
        message = offNotRead(change.face, sys::displayPath(system.configurationPath()));
    load();
    return message;
}

QString FontsTurnedOff::turnOn(const OffChange& change)
{
    QList<QByteArray> newGlobs;
    for (const QByteArray& glob : globs) {
        const bool lifted = std::any_of(change.files.begin(), change.files.end(), [&](const QString& file) {
            return sys::globMatches(glob, sys::pathBytes(file));
        });
        if (!lifted)
            newGlobs << glob;
    }
    QString message;
    if (rewrite(newGlobs, message))
        load();
    return message;
}

} // namespace manage
