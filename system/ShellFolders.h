#pragma once

#include <QString>

namespace sys {

// The user's shell folders: "Personal" (documents) and "Fonts". An empty text
// stands for a value that is missing.
class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    virtual QString personal() = 0;
    virtual QString fonts() = 0;
};

// The XDG folders: the documents folder and $XDG_DATA_HOME/fonts, which fontconfig
// scans by default. Neither needs to exist.
class XdgShellFolders : public ShellFolders {
public:
    QString personal() override;
    QString fonts() override;
};

} // namespace sys
