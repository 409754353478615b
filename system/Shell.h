#pragma once

#include <QString>

namespace sys {

// Opens a file with the desktop's program for its type, without waiting for it.
class Shell {
public:
    virtual ~Shell() = default;
    // True when the desktop accepted the request.
    virtual bool open(const QString& path) = 0;
};

class DesktopShell : public Shell {
public:
    bool open(const QString& path) override;
};

// The full path of the running executable.
QString executablePath();

} // namespace sys
