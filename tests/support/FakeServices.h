#pragma once

#include "app/Services.h"
#include "tests/support/FakeFontsOff.h"
#include "system/FileSystem.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"
#include "tests/support/RecordingPrinter.h"

// Every service of the main window as a fake, but for real files: scripted fonts and
// registry, recorded font loads, shell opens, printing and dialogs.
struct FakeServices {
    FakeDialogs dialogs;
    FakeFontEnumeration fonts;
    MemoryRegistry registry;
    FakeShellFolders shellFolders{QString(), QString()};
    sys::PosixFileSystem files;
    RecordingFontResources resources;
    RecordingShell shell;
    RecordingPrinter printer;
    FakeFontFileCheck fontFiles;
    FakeFontsOff fontsOff;

    Services services()
    {
        return Services{fonts, registry, shellFolders, files, resources, shell, printer, fontFiles, &fontsOff};
    }
};
