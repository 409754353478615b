#include "system/ShellFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace sys {

QString XdgShellFolders::personal()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString XdgShellFolders::fonts()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/fonts"));
}

} // namespace sys
