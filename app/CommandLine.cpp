#include "app/CommandLine.h"

namespace app {

CommandLine parseCommandLine(const QList<QByteArray>& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (const QByteArray& argument : arguments) {
        if (optionsEnded || !argument.startsWith('-')) {
            line.files << argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return {CommandLine::Action::Help, {}, {}};
        } else if (argument == "--version") {
            return {CommandLine::Action::Version, {}, {}};
        } else {
            return {CommandLine::Action::Usage, {}, argument};
        }
    }
    return line;
}

bool isQtOption(const QByteArray& argument)
{
    static const QList<QByteArray> names{
        "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
        "qwindowicon", "qwindowtitle", "reverse", "session", "style", "stylesheet", "widgetcount",
        "testability", "display", "geometry", "title", "icon", "name", "visual", "ncols", "cmap",
        "nograb", "dograb", "sync"};
    QByteArray name = argument.startsWith("--") ? argument.mid(2) : argument.mid(1);
    name = name.left(name.indexOf('=') < 0 ? name.size() : name.indexOf('='));
    return argument.startsWith('-') && names.contains(name);
}

QString usageLine()
{
    return QStringLiteral("Usage: glyphwell [--help] [--version] [FONT-FILE...]");
}

QString helpText()
{
    return usageLine() + QStringLiteral("\n"
                                        "Preview, install, back up and print fonts.\n"
                                        "\n"
                                        "Each FONT-FILE is previewed and offered for installation into your\n"
                                        "font folder, one after the other.\n"
                                        "\n"
                                        "  --help     print this text and exit\n"
                                        "  --version  print the version and exit\n"
                                        "  --         every later argument is a file\n");
}

QString versionText()
{
    return QStringLiteral("Glyphwell " GLYPHWELL_VERSION);
}

} // namespace app
