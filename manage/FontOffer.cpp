#include "manage/FontOffer.h"

#include "manage/FontFiles.h"
#include "manage/Messages.h"

#include <QStringDecoder>
#include <algorithm>

namespace manage {

namespace {

// A name as it can be shown: undecodable bytes and line breaks made visible.
QString shownName(const QByteArray& bytes)
{
    QString name = QString::fromUtf8(bytes);
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = QChar(0xFFFD);
    }
    return name;
}

} // namespace

QList<OfferedFile> offeredFiles(const QList<QByteArray>& paths, const QString& workingFolder)
{
    QList<OfferedFile> offers;
    for (const QByteArray& bytes : paths) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString path = utf8(bytes);
        const bool hasBreak =
            std::any_of(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
        if (bytes.isEmpty()) {
            offers << OfferedFile{{}, noFileNameMessage};
        } else if (utf8.hasError() || hasBreak) {
            offers << OfferedFile{{}, unusableFileNameMessage(shownName(bytes))};
        } else {
            if (!path.startsWith(QLatin1Char('/')))
                path = workingFolder + QLatin1Char('/') + path;
            offers << OfferedFile{path, {}};
        }
    }
    return offers;
}

QList<QByteArray> droppedFiles(const QList<QUrl>& urls)
{
    QList<QByteArray> paths;
    for (const QUrl& url : urls) {
        if (!url.isValid() || !url.isLocalFile() || (!url.host().isEmpty() && url.host() != QLatin1String("localhost")))
            continue; // another machine's file is not ours to open
        // The path's own bytes, percent-decoded: a name need not be valid UTF-8.
        const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
        const QByteArray path = QByteArray::fromPercentEncoding(encoded);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

OfferDecision decideOffer(sys::FontFileCheck& check, sys::FileSystem& files, const QString& fontFolder,
                          const QStringList& installedFiles, const QString& path)
{
    using Verdict = OfferDecision::Verdict;
    const sys::FontFileFacts facts = check.inspect(path);
    switch (facts.kind) {
    case sys::FileKind::Missing:
        return {Verdict::Refused, {}, offerMissingMessage(path)};
    case sys::FileKind::Folder:
        return {Verdict::Refused, {}, offerFolderMessage(path)};
    case sys::FileKind::Unreadable:
        return {Verdict::Refused, {}, offerUnreadableMessage(path)};
    case sys::FileKind::NotFont:
        return {Verdict::Refused, {}, offerNotFontMessage(path)};
    case sys::FileKind::Font:
        break;
    }
    const QString family = facts.family.isEmpty() ? fileNamePart(path) : facts.family;
    const QString resolved = files.resolvedPath(path);
    const QString sameName = fontFolder + fileNamePart(path);
    const bool installed = installedFiles.contains(path) || installedFiles.contains(resolved) ||
                           pathInFontFolder(files, fontFolder, path).has_value() ||
                           (files.fileExists(sameName) && files.sameContents(path, sameName));
    if (installed)
        return {Verdict::Installed, family, offerInstalledMessage(family, path)};
    return {Verdict::Ask, family, {}};
}

} // namespace manage
