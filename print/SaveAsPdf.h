#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace print {

inline const QString saveAsPdfCaption = QStringLiteral("Save as PDF\u2026");
inline const QString pdfFilter = QStringLiteral("PDF document|*.pdf");
inline const QString catalogueFileName = QStringLiteral("Glyphwell catalogue.pdf");
// Print All's entries while the face list shows only the faces found.
inline const QString printFoundCaption = QStringLiteral("Print the faces found");
inline const QString saveFoundPdfCaption = QStringLiteral("Save the faces found as PDF\u2026");
inline const QString foundFileName = QStringLiteral("Glyphwell faces found.pdf");

// The file name proposed for a face's sheet: the face name with ".pdf", a slash
// (which cannot be in a file name) replaced by a dash.
QString sheetFileName(const QString& face);

QString confirmReplaceFile(const QString& path);

// Asks where to save a PDF, proposing the name in the folder, and asks again before
// an existing file would be replaced. Nothing when the user cancels or says No.
std::optional<QString> askPdfFile(const QString& folder, const QString& name,
                                  const std::function<bool(const QString& path)>& exists);

} // namespace print
