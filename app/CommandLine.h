#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the program's command line asks for. Arguments are the raw bytes the program
// was given (without the program name), so file names reach the file system as
// they are.
namespace app {

struct CommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    QList<QByteArray> files; // font files to offer, in the order given
    QByteArray unknownOption; // for Usage: the option that was not understood
};

// "--help" and "--version" answer at once; "--" makes every later argument a file;
// any other argument that starts with "-" is an unknown option.
CommandLine parseCommandLine(const QList<QByteArray>& arguments);

// True for the options Qt's application object takes for itself (-platform, -style,
// -display, ...), with one dash or two.
bool isQtOption(const QByteArray& argument);

QString usageLine();
QString helpText();
QString versionText();

} // namespace app
