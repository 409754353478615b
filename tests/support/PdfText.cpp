#include "tests/support/PdfText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace pdftext {

std::vector<Word> Document::find(const QString& text) const
{
    std::vector<Word> found;
    for (const Word& word : words)
        if (word.text == text)
            found.push_back(word);
    return found;
}

bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

std::optional<Document> read(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    Document document;
    QXmlStreamReader xml(tool.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++document.pages;
        } else if (xml.name() == QLatin1String("word")) {
            const QXmlStreamAttributes box = xml.attributes();
            Word word;
            word.page = document.pages;
            word.xMin = box.value(QLatin1String("xMin")).toDouble();
            word.yMin = box.value(QLatin1String("yMin")).toDouble();
            word.xMax = box.value(QLatin1String("xMax")).toDouble();
            word.yMax = box.value(QLatin1String("yMax")).toDouble();
            word.text = xml.readElementText();
            document.words.push_back(word);
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return document;
}

} // namespace pdftext
