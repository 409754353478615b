#pragma once

#include <QString>
#include <optional>
#include <vector>

// The words of a PDF file with their boxes, as poppler's pdftotext -bbox reads them.
// Boxes are in points from the top-left corner of the page.
namespace pdftext {

struct Word {
    int page = 0; // 1 for the first page
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct Document {
    int pages = 0;
    std::vector<Word> words;

    // The words equal to the text, in reading order.
    std::vector<Word> find(const QString& text) const;
};

// True when pdftotext can be run.
bool available();
// The words of the file; nothing when pdftotext fails on it.
std::optional<Document> read(const QString& pdf);

// Device pixels at 600 per inch, in points.
constexpr double points(int pixels) { return pixels * 72.0 / 600.0; }

} // namespace pdftext
