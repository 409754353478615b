#include "print/SaveAsPdf.h"

#include "framework/Dialogs.h"

namespace print {

QString sheetFileName(const QString& face)
{
    QString name = face.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QStringLiteral("Glyphwell sheet "));
    return name.trimmed() + QStringLiteral(".pdf");
}

QString confirmReplaceFile(const QString& path)
{
    return QStringLiteral("%1 already exists.\r\nDo you want to replace it?").arg(path);
}

std::optional<QString> askPdfFile(const QString& folder, const QString& name,
                                  const std::function<bool(const QString& path)>& exists)
{
    QString proposed = folder;
    if (!proposed.isEmpty() && !proposed.endsWith(QLatin1Char('/')))
        proposed += QLatin1Char('/');
    const auto chosen = fw::dialogs().saveFile({pdfFilter, saveAsPdfCaption.chopped(1), proposed + name});
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    if (exists(*chosen) && !fw::ConfirmYes(confirmReplaceFile(*chosen)))
        return std::nullopt;
    return chosen;
}

} // namespace print
