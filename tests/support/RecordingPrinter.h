#pragma once

#include "system/Printer.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// A printer that records its jobs: every text with its page, position, rectangle
// and font. It can stand for a machine with no default printer or a printer that
// refuses the finished job.
class RecordingPrinter : public sys::Printer {
public:
    struct Text {
        int page = 0; // 1 for the first page of the job
        int x = 0;
        int y = 0;
        QString text;
        sys::PrinterFont font;
        std::optional<QRect> rect; // set for a text in a rectangle
    };

    Start startJob(const QString& title) override
    {
        if (!hasDefaultPrinter)
            return Start::NoDefaultPrinter;
        log << QStringLiteral("start ") + title;
        open = true;
        pages = 1;
        texts.clear();
        return Start::Started;
    }
    Start startPdfJob(const QString& title, const QString& file) override
    {
        log << QStringLiteral("start ") + title + QStringLiteral(" to ") + file;
        open = true;
        pages = 1;
        texts.clear();
        return Start::Started;
    }
    void newPage() override
    {
        log << QStringLiteral("page");
        ++pages;
        if (onNewPage)
            onNewPage(pages);
    }
    End endJob(const sys::PageProgress& progress) override
    {
        open = false;
        for (int page = 1; page <= pages && progress; ++page) {
            if (onDrawn)
                onDrawn(page);
            if (!progress(page, pages)) {
                log << QStringLiteral("cancelled");
                return End::Cancelled;
            }
        }
        log << QStringLiteral("end");
        return accepts ? End::Printed : End::Refused;
    }
    void abortJob() override
    {
        log << QStringLiteral("abort");
        open = false;
    }
    bool jobOpen() const override { return open; }
    void textOut(int x, int y, const QString& text, const sys::PrinterFont& font) override
    {
        texts.push_back({pages, x, y, text, font, std::nullopt});
    }
    void textRect(const QRect& rect, int x, int y, const QString& text, const sys::PrinterFont& font) override
    {
        texts.push_back({pages, x, y, text, font, rect});
    }
    // Every character is as wide as five device pixels per point of the font's size.
    int textWidth(const QString& text, const sys::PrinterFont& font) const override
    {
        return int(text.size()) * 5 * font.size;
    }

    // The recorded texts equal to the given one, in drawing order.
    std::vector<Text> find(const QString& text) const
    {
        std::vector<Text> found;
        for (const Text& recorded : texts)
            if (recorded.text == text)
                found.push_back(recorded);
        return found;
    }
    // The first recorded text equal to the given one; a default Text when none.
    Text first(const QString& text) const
    {
        const auto found = find(text);
        return found.empty() ? Text{-1, -1, -1, QStringLiteral("<not printed>"), {}, {}} : found.front();
    }

    bool hasDefaultPrinter = true;
    bool accepts = true;
    bool open = false;
    int pages = 0;
    // Called on the job's thread as each new page opens, and as each page is drawn.
    std::function<void(int page)> onNewPage;
    std::function<void(int page)> onDrawn;
    QStringList log;         // start, page, end, cancelled and abort in order
    std::vector<Text> texts; // of the last job started
};
