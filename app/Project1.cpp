#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "framework/Application.h"
#include "manage/FontOffer.h"
#include "system/Display.h"

#include <QDir>
#include <cstdio>

namespace {

QList<QByteArray> arguments(int argc, char** argv)
{
    QList<QByteArray> list;
    for (int n = 1; n < argc; ++n)
        list << QByteArray(argv[n]);
    return list;
}

// Answers --help, --version and unknown options; true when the program ends there.
// Before Qt has taken its own options out, those are not unknown.
bool answered(const app::CommandLine& line, bool optionsAreOurs, int& exitCode)
{
    using Action = app::CommandLine::Action;
    if (line.action == Action::Help || line.action == Action::Version) {
        const QString text = line.action == Action::Help ? app::helpText() : app::versionText() + '\n';
        std::fputs(text.toLocal8Bit().constData(), stdout);
        exitCode = 0;
        return true;
    }
    if (line.action == Action::Usage && (optionsAreOurs || !app::isQtOption(line.unknownOption))) {
        std::fprintf(stderr, "%s\n", app::usageLine().toLocal8Bit().constData());
        exitCode = 2;
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    int exitCode = 0;
    // --help, --version and unknown options answer before a display is needed; Qt's
    // own options (-platform ...) are taken out by the application object.
    if (answered(app::parseCommandLine(arguments(argc, argv)), false, exitCode))
        return exitCode;
    // Qt aborts with its plugin message when it cannot open a window: say it plainly.
    if (!sys::displayUsable(sys::displaySettings(argc, argv), sys::localXServerAnswers)) {
        std::fputs("glyphwell: cannot open the display; set DISPLAY or WAYLAND_DISPLAY\n", stderr);
        return 1;
    }
    fw::TApplication application(argc, argv);
    const app::CommandLine line = app::parseCommandLine(arguments(argc, argv));
    if (answered(line, true, exitCode))
        return exitCode;

    application.setTitle(QStringLiteral("Glyphwell"));
    setDesktopIdentity();
    RealServices real;
    Windows windows = createWindows(real.services());
    windows.form1->show();
    windows.form1->offerFontFiles(manage::offeredFiles(line.files, QDir::currentPath()));
    return application.exec();
}
