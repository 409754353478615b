#pragma once

#include <QByteArray>
#include <functional>

namespace sys {

// What the program is to be shown on: the Qt platform asked for (the -platform
// argument, else QT_QPA_PLATFORM; empty for Qt's default) and the display variables.
struct DisplaySettings {
    QByteArray platform;
    QByteArray display;        // DISPLAY
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
};

// The settings of this process, from its arguments and environment.
DisplaySettings displaySettings(int argc, char** argv);

// Whether a window can be opened, decided before Qt tries (it aborts when it cannot).
// A local X display (":N") counts only when its server answers on its socket; a
// remote one and a Wayland display are left to Qt; platforms without a display
// (offscreen, minimal, vnc, ...) always can.
bool displayUsable(const DisplaySettings& settings, const std::function<bool(int number)>& localXServerAnswers);

// Whether the X server of display number N answers on its local socket.
bool localXServerAnswers(int number);

} // namespace sys
