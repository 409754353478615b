#pragma once

#include <QString>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <initializer_list>

// Every test process runs on a private ground made by its main(): a temporary HOME
// with XDG folders, and FONTCONFIG_FILE pointing at a fonts.conf whose font folders
// are a temporary "system" folder (filled with a few Debian fonts) and the user's
// font folder, and which reads the user's fontconfig folder as a desktop's does.
// Nothing a test does reaches the real user's fonts or documents.
namespace testenv {

// Fonts a test file wants in the private "system" folder besides the usual few, linked
// there from Debian's font packages: a static object of the test file asks for them
// before main() builds the ground (`static const testenv::ExtraFonts fonts{...};`).
struct ExtraFonts {
    ExtraFonts(std::initializer_list<const char*> fileNames);
};

// Makes the private ground and points the environment at it; removeGround deletes it.
void buildGround();
void removeGround();

QString root();               // the temporary root of this process
QString home();               // $HOME
QString userFontFolder();     // $XDG_DATA_HOME/fonts, no trailing "/"
QString documentsFolder();    // $HOME/Documents, no trailing "/"
QString systemFontFolder();   // the private "system" font folder

// A font file from Debian's font packages, or an empty string when missing.
QString debianFont(const QString& fileName);

// Copies a file into a folder (created when missing); returns the new path.
QString copyInto(const QString& source, const QString& folder, const QString& newName = QString());

// Points fontconfig (and so Qt, when done before the application starts) at a folder
// of fonts instead of the private "system" folder, with the system's usual matching
// rules (aliases such as Arial -> Liberation Sans). False when there is no such folder.
bool useFontTree(const QString& folder);

// Writes bytes to a file, creating its folder; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray contents(const QString& path);
// The files of a folder by name, hidden ones included.
QStringList entries(const QString& folder);

} // namespace testenv

// Runs the event loop until the condition holds, within the time given (5 s by
// default); a test failure naming the condition when it never does. QtTest's QTRY_
// macros report to QtTest, which a GoogleTest test never reads.
#define EXPECT_SOON_WITHIN(condition, ms) \
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, ms)) << "never: " #condition
#define EXPECT_SOON(condition) EXPECT_SOON_WITHIN(condition, 5000)
