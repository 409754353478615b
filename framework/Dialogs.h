#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace fw {

// What the open-file dialog is asked for: the filter in the windows' form
// ("Description|patterns|Description|patterns", patterns separated by ";").
struct OpenFileRequest {
    QString filter;
    int filterIndex = 1; // 1-based, the choice active when the dialog opens
    QString title;
    QString initialFolder;
};

// What the save-file dialog is asked for: the filter in the same form, the title and
// the proposed file (its folder is where the dialog opens).
struct SaveFileRequest {
    QString filter;
    QString title;
    QString proposedFile;
};

// The standard dialogs and message boxes. The program reaches them through
// dialogs(), so tests can script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Plain message box: the application title, no icon, one "OK" button.
    virtual void showMessage(const QString& text) = 0;
    // Confirmation box: "Confirm", question icon, "&Yes" and "&No". True only for Yes.
    virtual bool confirm(const QString& text) = 0;
    // The chosen full path, or nothing when cancelled. Typed names need not exist.
    virtual std::optional<QString> openFile(const OpenFileRequest& request) = 0;
    // The chosen full path, or nothing when cancelled. It does not ask before an
    // existing file is chosen: the caller does, with its own words.
    virtual std::optional<QString> saveFile(const SaveFileRequest& request) = 0;
    // The chosen colour, or nothing when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& current) = 0;
};

// The real dialogs, parented to the active window.
class QtDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> openFile(const OpenFileRequest& request) override;
    std::optional<QString> saveFile(const SaveFileRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& current) override;
};

Dialogs& dialogs();

// Replaces the dialogs for its lifetime (tests).
class ScopedDialogs {
public:
    explicit ScopedDialogs(Dialogs& replacement);
    ~ScopedDialogs();
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    Dialogs* previous;
};

inline void ShowMessage(const QString& text) { dialogs().showMessage(text); }
inline bool ConfirmYes(const QString& text) { return dialogs().confirm(text); }

// "Desc|a;b|Desc2|c" -> the Qt name filters, the descriptions kept as they are.
QStringList qtNameFilters(const QString& filter);

} // namespace fw
