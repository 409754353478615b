#pragma once

#include "app/Services.h"

#include <memory>

class QIcon;

class TForm1;
class TForm2;
class TForm3;

namespace sys {
class FontconfigSession;
class XdgShellFolders;
class PosixFileSystem;
class FontconfigEnumeration;
class FontconfigRegistry;
class FontconfigResources;
class DesktopShell;
class QtPrinter;
class RasterFaces;
class FreeTypeFontFileCheck;
class FontconfigFontsOff;
} // namespace sys

// The real operating-system services of the program.
class RealServices {
public:
    RealServices();
    ~RealServices();
    Services services();

private:
    std::unique_ptr<sys::FontconfigSession> session;
    std::unique_ptr<sys::XdgShellFolders> folders;
    std::unique_ptr<sys::PosixFileSystem> files;
    std::unique_ptr<sys::FontconfigEnumeration> fonts;
    std::unique_ptr<sys::FontconfigRegistry> registry;
    std::unique_ptr<sys::FontconfigResources> resources;
    std::unique_ptr<sys::DesktopShell> shell;
    std::unique_ptr<sys::QtPrinter> printer;
    std::unique_ptr<sys::FreeTypeFontFileCheck> fontFiles;
    std::unique_ptr<sys::RasterFaces> rasterFaces;
    std::unique_ptr<sys::FontconfigFontsOff> fontsOff;
};

// The program's three windows, made in this order: the main window, the zoom
// overlay, the About window. Only the main window is shown.
struct Windows {
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    Windows();
    Windows(Windows&&) noexcept;
    Windows& operator=(Windows&&) noexcept;
    ~Windows();
};

Windows createWindows(Services services);

// Names the program to the desktop: its application id, which finds its desktop
// entry, and its icon, which every window shows.
void setDesktopIdentity();
QIcon applicationIcon();
