#pragma once

#include "framework/Dialogs.h"

#include <QStringList>
#include <deque>

// Scripted dialogs: records every message and question, answers from a queue.
class FakeDialogs : public fw::Dialogs {
public:
    FakeDialogs() : scope(*this) {}

    void showMessage(const QString& text) override { messages << text; }
    bool confirm(const QString& text) override
    {
        questions << text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> openFile(const fw::OpenFileRequest& request) override
    {
        openRequests.push_back(request);
        if (chosenFiles.empty())
            return std::nullopt;
        auto chosen = chosenFiles.front();
        chosenFiles.pop_front();
        return chosen;
    }
    std::optional<QString> saveFile(const fw::SaveFileRequest& request) override
    {
        saveRequests.push_back(request);
        if (savedFiles.empty())
            return std::nullopt;
        auto chosen = savedFiles.front();
        savedFiles.pop_front();
        return chosen;
    }
    std::optional<QColor> chooseColor(const QColor& current) override
    {
        colorAsked.push_back(current);
        if (chosenColors.empty())
            return std::nullopt;
        auto chosen = chosenColors.front();
        chosenColors.pop_front();
        return chosen;
    }

    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> chosenFiles;
    std::deque<std::optional<QColor>> chosenColors;
    std::deque<std::optional<QString>> savedFiles;
    std::vector<fw::SaveFileRequest> saveRequests;
    std::vector<fw::OpenFileRequest> openRequests;
    std::vector<QColor> colorAsked;

private:
    fw::ScopedDialogs scope;
};
