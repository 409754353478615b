#pragma once

#include <QString>
#include <stdexcept>

namespace fw {

// An error raised inside a handler. The application's default handler shows its
// text in a plain message box; the handler stops and the window goes on.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), message(text) {}
    const QString& text() const { return message; }

private:
    QString message;
};

// The whole text as a whole number, or the framework's conversion error.
int StrToInt(const QString& text);

} // namespace fw
