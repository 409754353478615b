#include "app/Startup.h"

#include "app/Unit1.h"
#include "app/Unit3.h"

#include <QApplication>
#include <QIcon>
#include "preview/Unit2.h"
#include "system/FileSystem.h"
#include "system/FontFileCheck.h"
#include "system/FontFactory.h"
#include "system/FontEnumeration.h"
#include "system/FontRegistry.h"
#include "system/FontResources.h"
#include "system/FontsOff.h"
#include "system/Fontconfig.h"
#include "system/Printer.h"
#include "system/RasterFaces.h"
#include "system/Shell.h"
#include "system/ShellFolders.h"

RealServices::RealServices()
    : session(std::make_unique<sys::FontconfigSession>()), folders(std::make_unique<sys::XdgShellFolders>()),
      files(std::make_unique<sys::PosixFileSystem>()),
      fonts(std::make_unique<sys::FontconfigEnumeration>(*session)),
      registry(std::make_unique<sys::FontconfigRegistry>(*session, [this] { return folders->fonts(); })),
      resources(std::make_unique<sys::FontconfigResources>(*session)), shell(std::make_unique<sys::DesktopShell>()),
      printer(std::make_unique<sys::QtPrinter>()), fontFiles(std::make_unique<sys::FreeTypeFontFileCheck>()),
      rasterFaces(std::make_unique<sys::RasterFaces>(*session)),
      fontsOff(std::make_unique<sys::FontconfigFontsOff>(*session))
{
    sys::setRasterFaces(rasterFaces.get());
    // Dialogs and message boxes draw in the interface face: name its installed family.
    QFont interface = QApplication::font();
    interface.setFamilies({sys::installedFamily(interface.family())});
    QApplication::setFont(interface);
}

RealServices::~RealServices()
{
    sys::setRasterFaces(nullptr);
}

Services RealServices::services()
{
    return Services{*fonts, *registry, *folders, *files, *resources, *shell, *printer, *fontFiles, fontsOff.get()};
}

Windows::Windows() = default;
Windows::Windows(Windows&&) noexcept = default;
Windows& Windows::operator=(Windows&&) noexcept = default;

Windows::~Windows()
{
    // The main window goes first; the others outlive nothing that refers to them.
    form1.reset();
    form2.reset();
    form3.reset();
}

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(GLYPHWELL_APP_ID));
    QGuiApplication::setWindowIcon(applicationIcon());
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/resources/icons/glyphwell-%1.png").arg(size), QSize(size, size));
    return icon;
}

Windows createWindows(Services services)
{
    Windows windows;
    windows.form1 = std::make_unique<TForm1>(services);
    windows.form2 = std::make_unique<TForm2>();
    windows.form3 = std::make_unique<TForm3>();
    windows.form1->setOverlay(windows.form2.get());
    windows.form1->setAbout(windows.form3.get());
    if (auto* application = fw::TApplication::instance())
        application->setMainForm(windows.form1.get());
    return windows;
}
