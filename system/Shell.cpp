#include "system/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace sys {

bool DesktopShell::open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace sys
