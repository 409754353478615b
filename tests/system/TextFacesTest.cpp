#include "system/FontFactory.h"
#include "system/TextFaces.h"

#include <QRawFont>
#include <gtest/gtest.h>

namespace {

// Every character of the text is in the face the font draws with.
bool drawsWhole(const QFont& font, const QString& text)
{
    const QRawFont raw = QRawFont::fromFont(font);
    for (char32_t c : text.toUcs4())
        if (c != ' ' && !raw.supportsCharacter(c))
            return false;
    return true;
}

} // namespace

// The test ground has Liberation Sans (Latin, Greek) and DejaVu Sans (also Arabic),
// and no face with Japanese.
TEST(TextFaces, NamesInOtherScriptsTakeOneFaceThatHoldsThemWhole)
{
    QFont base("Liberation Sans");
    base.setFamilies({"Liberation Sans"});
    base.setPixelSize(16);
    struct Case {
        QString text;
        QString family; // empty: the font is unchanged
        bool merging;
    };
    const Case cases[] = {
        {"Liberation Sans", "", true},
        {QString::fromUtf8("Ελληνικά"), "", true},
        {QString::fromUtf8("خط عربي"), "DejaVu Sans", true},
        {QString::fromUtf8("Font خط 12"), "DejaVu Sans", true}, // Latin and Arabic in one face
        {QString::fromUtf8("明朝体 Font"), "Liberation Sans", false}, // no face has it: boxes, no search
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QFont font = sys::fontForText(base, c.text);
        if (c.family.isEmpty()) {
            EXPECT_EQ(font, base);
            continue;
        }
        EXPECT_EQ(font.families(), QStringList({c.family}));
        EXPECT_EQ(font.pixelSize(), 16);
        EXPECT_EQ(bool(font.styleStrategy() & QFont::NoFontMerging), !c.merging);
        if (c.merging)
            EXPECT_TRUE(drawsWhole(font, c.text));
    }

    // One face is decided per family, style and script, however many names follow.
    const int decided = sys::fallbackFaceCount();
    QFont bold = base;
    bold.setBold(true);
    for (char16_t letter = 0x0628; letter < 0x0648; ++letter) {
        const QString name = QString::fromUtf8("خط ") + QChar(letter);
        EXPECT_EQ(sys::fontForText(base, name).families(), QStringList({"DejaVu Sans"}));
        EXPECT_EQ(sys::fontForText(bold, name).families(), QStringList({"DejaVu Sans"}));
    }
    EXPECT_LE(sys::fallbackFaceCount() - decided, 1); // the bold one
    EXPECT_EQ(sys::fallbackFace("Liberation Sans", false, false, QString(QChar(0x0628))), "DejaVu Sans");
    EXPECT_EQ(sys::fallbackFace("Liberation Sans", false, false, QString(QChar(0x660e))), "");
}

TEST(TextFaces, InstalledFamiliesAreThemselvesAndOthersTakeASubstitute)
{
    EXPECT_EQ(sys::installedFamily("DejaVu Sans"), "DejaVu Sans");
    EXPECT_EQ(sys::installedFamily("LIBERATION SERIF"), "LIBERATION SERIF") << "installed in another letter case";
    for (const QString name : {"Arial", "DejaVuSans", "No Such Family Anywhere"}) {
        const QString substitute = sys::installedFamily(name);
        EXPECT_TRUE(substitute == "DejaVu Sans" || substitute.startsWith("Liberation")) << substitute.toStdString();
    }
}
