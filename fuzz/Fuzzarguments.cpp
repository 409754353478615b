// The command line and dropped URLs: what a file manager or another program hands us.
// Every file argument becomes one offer, with its path bytes kept or a refusal to say.
#include "fuzz/FuzzSupport.h"

#include "app/CommandLine.h"
#include "manage/FontOffer.h"
#include "system/FilePaths.h"

#include <QUrl>

namespace {

const QString workingFolder = QStringLiteral("/work/folder");

void checkOffers(const QList<QByteArray>& paths)
{
    const QList<manage::OfferedFile> offers = manage::offeredFiles(paths, workingFolder);
    fuzz::require(offers.size() == paths.size(), "one offer a file");
    for (qsizetype i = 0; i < offers.size(); ++i) {
        const manage::OfferedFile& offer = offers[i];
        fuzz::require(offer.path.isEmpty() != offer.refusal.isEmpty(), "a path or a refusal");
        if (offer.path.isEmpty())
            continue;
        const QByteArray expected =
            paths[i].startsWith('/') ? paths[i] : workingFolder.toUtf8() + '/' + paths[i];
        fuzz::require(sys::pathBytes(offer.path) == expected, "the offered path names the very file");
    }
}

} // namespace

// Arguments are separated by NUL bytes, as the kernel hands them over. The same bytes
// are also read as the lines of a drop's URL list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> arguments = input.split('\0');
    const app::CommandLine line = app::parseCommandLine(arguments);
    if (line.action == app::CommandLine::Action::Run) {
        fuzz::require(line.files.size() <= arguments.size(), "files come from the arguments");
        checkOffers(line.files);
    }
    for (const QByteArray& argument : arguments)
        app::isQtOption(argument);

    QList<QUrl> urls;
    for (const QByteArray& text : input.split('\n')) {
        urls << QUrl::fromEncoded(text) << QUrl(QString::fromUtf8(text));
        // A local file's URL as a file manager writes it gives back the file's bytes.
        if (text.startsWith('/') && !text.startsWith("//")) {
            const QList<QByteArray> one = manage::droppedFiles({QUrl::fromEncoded("file://" + text.toPercentEncoding("/"))});
            fuzz::require(one == QList<QByteArray>{text}, "a local file's URL gives its path bytes");
        }
    }
    const QList<QByteArray> dropped = manage::droppedFiles(urls);
    for (const QByteArray& path : dropped)
        fuzz::require(!path.isEmpty(), "no empty path from a drop");
    checkOffers(dropped);
    return 0;
}
