#pragma once

#include <QString>

namespace sys {

// What a file handed to the program is: a font FreeType can open, or why not.
enum class FileKind { Font, Missing, Folder, Unreadable, NotFont };

struct FontFileFacts {
    FileKind kind = FileKind::Missing;
    QString family; // a font's first face, named as the installed face list names it
};

// Looks at a file before the program offers to install it.
class FontFileCheck {
public:
    virtual ~FontFileCheck() = default;
    virtual FontFileFacts inspect(const QString& path) = 0;
};

// FreeType opens the file's first face; fontconfig names its family.
class FreeTypeFontFileCheck : public FontFileCheck {
public:
    FontFileFacts inspect(const QString& path) override;
};

} // namespace sys
