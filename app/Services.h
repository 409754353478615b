#pragma once

namespace sys {
class FontEnumeration;
class FontRegistry;
class ShellFolders;
class FileSystem;
class FontResources;
class Shell;
class Printer;
class FontFileCheck;
class FontsOff;
} // namespace sys

// The operating-system services the main window works through, handed to it when
// it is made: the real ones in the program, fakes in tests.
struct Services {
    sys::FontEnumeration& fonts;
    sys::FontRegistry& registry;
    sys::ShellFolders& folders;
    sys::FileSystem& files;
    sys::FontResources& fontResources;
    sys::Shell& shell;
    sys::Printer& printer;
    sys::FontFileCheck& fontFiles;
    sys::FontsOff* fontsOff = nullptr; // none: fonts cannot be turned off
};
