#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace testenv {

namespace {

std::unique_ptr<QTemporaryDir> ground;

const char* const fontSearchPath[] = {
    "/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation", "/usr/share/wine/fonts",
    "/usr/share/fonts/truetype/noto",   "/usr/share/fonts/opentype/noto",       "/usr/share/fonts/truetype/font-awesome",
    "/usr/share/fonts/opentype/font-awesome",
};

QStringList& extraFonts()
{
    static QStringList files;
    return files;
}

// The fonts of the private "system" folder: a few families with several styles, and
// Windows raster fonts, which the registry view tags so the probe never finds them.
const char* const systemFonts[] = {
    "DejaVuSans.ttf",         "DejaVuSans-Bold.ttf",           "LiberationSans-Regular.ttf",
    "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",    "LiberationSans-BoldItalic.ttf",
    "LiberationSerif-Regular.ttf", "tahoma.ttf",               "tahomabd.ttf",
    "sserife.fon",
};

void setEnv(const char* name, const QString& value)
{
    qputenv(name, QFile::encodeName(value));
}

} // namespace

ExtraFonts::ExtraFonts(std::initializer_list<const char*> fileNames)
{
    for (const char* name : fileNames)
        extraFonts() << QString::fromLatin1(name);
}

void buildGround()
{
    ground = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/glyphwell-test-XXXXXX"));
    const QString base = ground->path();
    QDir().mkpath(base + "/home/.local/share/fonts");
    QDir().mkpath(base + "/home/.config");
    QDir().mkpath(base + "/home/.cache");
    QDir().mkpath(base + "/home/Documents");
    QDir().mkpath(base + "/runtime");
    QFile::setPermissions(base + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(base + "/sysfonts");
    setEnv("HOME", base + "/home");
    setEnv("XDG_DATA_HOME", base + "/home/.local/share");
    setEnv("XDG_CONFIG_HOME", base + "/home/.config");
    setEnv("XDG_CACHE_HOME", base + "/home/.cache");
    setEnv("XDG_RUNTIME_DIR", base + "/runtime");
    // fontconfig also scans the fonts folder of every XDG data dir.
    setEnv("XDG_DATA_DIRS", base + "/xdgdata");
    qunsetenv("XDG_DOCUMENTS_DIR");
    for (const char* font : systemFonts) {
        const QString source = debianFont(QString::fromLatin1(font));
        if (!source.isEmpty())
            QFile::copy(source, base + "/sysfonts/" + font);
    }
    // Large fonts (CJK collections, colour emoji) are linked rather than copied.
    for (const QString& font : extraFonts()) {
        const QString source = debianFont(font);
        if (!source.isEmpty())
            QFile::link(source, base + "/sysfonts/" + font);
    }
    const QString conf = QStringLiteral(
                             "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                             "  <dir>%1/sysfonts</dir>\n  <dir prefix=\"xdg\">fonts</dir>\n"
                             "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n"
                             "  <include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/conf.d</include>\n"
                             "</fontconfig>\n")
                             .arg(base);
    writeFile(base + "/fonts.conf", conf.toUtf8());
    setEnv("FONTCONFIG_FILE", base + "/fonts.conf");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString root() { return ground->path(); }
QString home() { return root() + "/home"; }
QString userFontFolder() { return home() + "/.local/share/fonts"; }
QString documentsFolder() { return home() + "/Documents"; }
QString systemFontFolder() { return root() + "/sysfonts"; }

QString debianFont(const QString& fileName)
{
    for (const char* folder : fontSearchPath) {
        const QString path = QString::fromLatin1(folder) + '/' + fileName;
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

QString copyInto(const QString& source, const QString& folder, const QString& newName)
{
    QDir().mkpath(folder);
    const QString target = folder + '/' + (newName.isEmpty() ? QFileInfo(source).fileName() : newName);
    QFile::copy(source, target);
    return target;
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

bool useFontTree(const QString& folder)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return false;
    const QString conf = writeFile(root() + "/tree-fonts.conf",
                                   QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir>"
                                                  "<cachedir prefix=\"xdg\">fontconfig</cachedir>"
                                                  "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"
                                                  "</fontconfig>\n")
                                       .arg(QDir(folder).absolutePath())
                                       .toUtf8());
    setEnv("FONTCONFIG_FILE", conf);
    return true;
}

void removeGround()
{
    ground.reset();
}

} // namespace testenv
