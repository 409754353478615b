#pragma once

#include "system/Printer.h"

#include <QStringList>
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
    void newPage() override
    {
        log << QStringLiteral("page");
        ++pages;
    }
    bool endJob(const sys::PageProgress& progress) override
    {
        log << QStringLiteral("end");
        open = false;
        for (int page = 1; page <= pages && progress; ++page)
            progress(page, pages);
        return accepts;
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
    QStringList log;         // start, page, end and abort in order
    std::vector<Text> texts; // of the last job started
};
