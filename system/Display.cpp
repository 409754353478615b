#include "system/Display.h"

#include <QList>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sys {

DisplaySettings displaySettings(int argc, char** argv)
{
    DisplaySettings settings{qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
    for (int n = 1; n + 1 < argc; ++n) {
        if (std::strcmp(argv[n], "-platform") == 0 || std::strcmp(argv[n], "--platform") == 0)
            settings.platform = argv[n + 1];
    }
    return settings;
}

bool displayUsable(const DisplaySettings& settings, const std::function<bool(int number)>& localXServerAnswers)
{
    // The first platform of a list such as "wayland;xcb", without its options.
    const QByteArray platform = settings.platform.split(';').first().split(':').first().trimmed();
    const bool wayland = !settings.waylandDisplay.isEmpty();
    const auto xUsable = [&] {
        const QByteArray display = settings.display.trimmed();
        // ":N", ":N.S" or "unix:N" is a server on this machine; any other is left to Qt.
        qsizetype colon = display.lastIndexOf(':');
        if (colon < 0)
            return false;
        const QByteArray host = display.left(colon);
        if (!host.isEmpty() && host != "unix")
            return true;
        bool number = false;
        const int n = display.mid(colon + 1).split('.').first().toInt(&number);
        return number && n >= 0 && localXServerAnswers(n);
    };
    if (platform.isEmpty())
        return wayland || xUsable();
    if (platform == "xcb")
        return xUsable();
    if (platform.startsWith("wayland"))
        return wayland;
    return true;
}

bool localXServerAnswers(int number)
{
    // The server listens on /tmp/.X11-unix/XN, and on Linux also on the abstract
    // socket of that name.
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
    for (const bool abstract : {true, false}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(address.sun_path + offset, path.constData(), std::size_t(path.size()));
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + std::size_t(path.size()) + (abstract ? 0 : 1));
        const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        ::close(fd);
        if (answered)
            return true;
    }
    return false;
}

} // namespace sys
