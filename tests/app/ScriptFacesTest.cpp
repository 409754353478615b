// Faces beyond Latin in the window, on Debian's script, CJK, emoji, icon and symbol
// fonts with the real fontconfig: how the face list writes their names, which page the
// character map opens on, what the zoom and a screen reader say, and the sample.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "preview/CharacterMap.h"
#include "preview/FaceSpecimen.h"
#include "preview/OwnerDrawList.h"
#include "preview/UnicodeBlocks.h"
#include "preview/Unit2.h"
#include "system/FaceCoverage.h"
#include "system/FontFactory.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

namespace {

const testenv::ExtraFonts scriptFonts{"NotoSansArabic-Regular.ttf", "NotoSansDevanagari-Regular.ttf",
                                      "NotoSansCJK-Regular.ttc",    "NotoColorEmoji.ttf",
                                      "fontawesome-webfont.ttf",    "symbol.ttf",
                                      "wingding.ttf"};

QString scriptOf(char32_t c)
{
    UErrorCode error = U_ZERO_ERROR;
    return QString::fromLatin1(uscript_getName(uscript_getScript(UChar32(c), &error)));
}

QSet<QString> scriptsOf(const QString& text)
{
    QSet<QString> scripts;
    for (const char32_t c : text.toUcs4())
        scripts << scriptOf(c);
    return scripts;
}

struct Window {
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

    void select(const QString& face)
    {
        const int index = int(form.ListBox1->Items().indexOf(face));
        ASSERT_GE(index, 0) << face.toStdString();
        form.ListBox1->setItemIndex(index);
        form.ListBox1Click();
    }
    QString zoomLine(int column, int row)
    {
        form.SortableGrid1->setSelection({column, row, column, row});
        form.SortableGrid1MouseDown(Qt::LeftButton, {}, 0, 0);
        const QString line = windows.form2->Label2->text();
        form.SortableGrid1MouseUp(Qt::LeftButton, {}, 0, 0);
        return line;
    }
};

} // namespace

TEST(ScriptFaces, FacesThatCannotWriteTheirNamesShowAFewCharactersOfTheirOwn)
{
    const struct {
        const char* face;
        bool writesName;
        const char* script; // of the specimen's letters; "" for symbols and icons
        char32_t firstBlockChar; // for a face without letters: a character of its main block
    } cases[] = {
        {"DejaVu Sans", true, "Latin", 0},
        {"Symbol", true, "", 0}, // a symbol face with glyphs at its name's codes draws its symbols
        {"Noto Sans CJK JP", true, "Hiragana and Han", 0},
        {"Noto Sans Arabic", false, "Arabic", 0},
        {"Noto Sans Devanagari", false, "Devanagari", 0},
        {"Noto Color Emoji", false, "", 0x1F300},
        {"FontAwesome", false, "", 0xE000},
        {"Wingdings", false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        const sys::FaceCoverage coverage = sys::faceCoverage(c.face);
        ASSERT_TRUE(coverage.known);
        const std::optional<QString> specimen = preview::nameSpecimen(c.face, coverage);
        EXPECT_EQ(!specimen.has_value(), c.writesName);
        const preview::Specimen own = preview::faceSpecimen(coverage.characters, 6);
        if (*c.script)
            EXPECT_EQ(own.script, c.script);
        if (!specimen)
            continue;
        ASSERT_EQ(specimen->size() > 0, true);
        EXPECT_TRUE(coverage.hasAll(*specimen)) << specimen->toStdString();
        if (QString(c.script) == QLatin1String("Arabic") || QString(c.script) == QLatin1String("Devanagari"))
            EXPECT_EQ(scriptsOf(*specimen), QSet<QString>{c.script}) << specimen->toStdString();
        if (c.firstBlockChar) {
            const char32_t first = specimen->toUcs4().value(0);
            EXPECT_EQ(u_getIntPropertyValue(UChar32(first), UCHAR_BLOCK),
                      u_getIntPropertyValue(UChar32(c.firstBlockChar), UCHAR_BLOCK))
                << std::hex << uint(first);
        }
    }
    // Japanese shows kana before kanji.
    const QList<uint> japanese = preview::faceSpecimen(sys::faceCoverage("Noto Sans CJK JP").characters, 6).text.toUcs4();
    ASSERT_EQ(japanese.size(), 6);
    EXPECT_EQ(scriptOf(japanese.first()), "Hiragana");
    EXPECT_EQ(scriptOf(japanese.last()), "Han");
    EXPECT_TRUE(sys::isColourFace("Noto Color Emoji"));
    EXPECT_FALSE(sys::isColourFace("Noto Sans Arabic"));
}

TEST(ScriptFaces, TheFaceListWritesANameItsFaceLacksPlainlyWithTheSpecimenAfterIt)
{
    Window window;
    TForm1& form = window.form;
    const QRect item(0, 0, 200, 25);
    const auto drawn = [&](const std::function<void(QPainter&)>& draw) {
        QImage image(item.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        draw(painter);
        return image;
    };
    const QFont list = form.ListBox1->font();
    for (const char* face : {"DejaVu Sans", "Noto Sans Arabic", "Noto Color Emoji"}) {
        SCOPED_TRACE(face);
        const int index = int(form.ListBox1->Items().indexOf(face));
        const QImage row = drawn([&](QPainter& p) { form.ListBox1DrawItem(p, index, item, Qt::white); });
        QFont own = list;
        sys::setFace(own, face, sys::Fallback::None);
        const std::optional<QString> specimen = preview::nameSpecimen(face, sys::faceCoverage(face));
        const QImage expected = drawn([&](QPainter& p) {
            if (specimen)
                preview::drawSpecimenItem(p, item, Qt::white, list, own, face, *specimen);
            else
                preview::drawFaceItem(p, item, Qt::white, own, face);
        });
        EXPECT_EQ(row, expected);
        EXPECT_EQ(specimen.has_value(), QString(face) != QLatin1String("DejaVu Sans"));
    }
    // The specimen keeps its third of the row: a long name is cut short before it.
    const QImage cut = drawn([&](QPainter& p) {
        preview::drawSpecimenItem(p, item, Qt::white, list, list, QString(40, QLatin1Char('W')), "xyz");
    });
    const QFontMetrics metrics(list);
    const int room = item.width() - preview::specimenGap - metrics.horizontalAdvance("xyz");
    const QImage name = drawn([&](QPainter& p) {
        preview::drawFaceItem(p, item, Qt::white, list, metrics.elidedText(QString(40, 'W'), Qt::ElideRight, room));
    });
    EXPECT_EQ(cut.copy(0, 0, 100, 25), name.copy(0, 0, 100, 25));
    EXPECT_NE(cut.copy(160, 0, 40, 25), name.copy(160, 0, 40, 25)); // "xyz" drawn at the end
}

TEST(ScriptFaces, EachFaceOpensItsMapOnCharactersItHasAndTheZoomNamesThem)
{
    Window window;
    TForm1& form = window.form;
    const struct {
        const char* face;
        const char* opening;
        const char* zoom;   // the first cell's line
        const char* spoken; // a screen reader's name of the first cell
    } cases[] = {
        {"DejaVu Sans", "8-bit page (Windows-1252)", "ASCII-code is #33", "!, code 33"},
        {"Noto Sans CJK JP", "8-bit page (Windows-1252)", "ASCII-code is #33", "!, code 33"},
        {"Noto Sans Arabic", "Arabic", "Unicode U+0606 ARABIC-INDIC CUBE ROOT", nullptr},
        {"Noto Sans Devanagari", "Devanagari", "Unicode U+0900 DEVANAGARI SIGN INVERTED CANDRABINDU", nullptr},
        {"Noto Color Emoji", "Miscellaneous Symbols and Pictographs", "Unicode U+1F300 CYCLONE", "🌀, U+1F300 CYCLONE"},
        {"FontAwesome", "Private Use Area", "Unicode U+F000", "\uF000, U+F000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        window.select(c.face);
        EXPECT_EQ(form.ComboBox2->currentText(), c.opening);
        const sys::FaceCoverage coverage = sys::faceCoverage(c.face);
        const int rows = form.SortableGrid1->RowCount();
        if (QString(c.opening) != preview::eightBitPageName) {
            // Every cell but the last row's tail holds a character the face has, in order.
            int filled = 0;
            char32_t previous = 0;
            for (int row = 0; row < rows; ++row)
                for (int column = 0; column < preview::mapColumns; ++column) {
                    const QString cell = form.SortableGrid1->Cells(column, row);
                    if (cell.isEmpty())
                        continue;
                    const char32_t c32 = cell.toUcs4().value(0);
                    EXPECT_TRUE(coverage.has(c32)) << std::hex << uint(c32);
                    EXPECT_GT(c32, previous);
                    previous = c32;
                    ++filled;
                }
            EXPECT_EQ(rows, (filled + 9) / 10);
            EXPECT_EQ(form.SortableGrid1->Cells(filled % 10 ? filled % 10 : 9, rows - 1).isEmpty(), filled % 10 != 0);
        } else {
            EXPECT_EQ(rows, preview::mapRows);
            EXPECT_EQ(form.SortableGrid1->Cells(2, 22), QString(QChar(0xFF)));
        }
        EXPECT_EQ(window.zoomLine(0, 0), c.zoom);
        if (c.spoken)
            EXPECT_EQ(form.SortableGrid1->accessibleCellName(0, 0), QString::fromUtf8(c.spoken));
        EXPECT_EQ(window.windows.form2->Label2->text(), "Unknown ASCII Code");
    }

    // Another block of a Latin face: its characters from the top, named by Unicode.
    window.select("DejaVu Sans");
    const int extendedA = form.ComboBox2->findText("Latin Extended-A");
    ASSERT_GT(extendedA, 0);
    form.ComboBox2->setCurrentIndex(extendedA);
    form.ComboBox2Change();
    EXPECT_EQ(form.SortableGrid1->Cells(0, 0), QString(QChar(0x100)));
    EXPECT_EQ(form.SortableGrid1->RowCount(), 13); // 128 characters
    EXPECT_EQ(window.zoomLine(1, 0), "Unicode U+0101 LATIN SMALL LETTER A WITH MACRON");
    EXPECT_EQ(form.SortableGrid1->accessibleCellName(1, 0), QString::fromUtf8("ā, U+0101 LATIN SMALL LETTER A WITH MACRON"));
    // Back on the 8-bit page, the Part's grid and line again.
    form.ComboBox2->setCurrentIndex(0);
    form.ComboBox2Change();
    EXPECT_EQ(form.SortableGrid1->RowCount(), preview::mapRows);
    EXPECT_EQ(window.zoomLine(2, 22), "ASCII-code is #255");
    EXPECT_TRUE(form.SortableGrid1->Cells(3, 22).isEmpty());
}

TEST(ScriptFaces, AFaceWithoutTheSamplesLettersShowsItsOwnScriptAndGivesTheTextBack)
{
    Window window;
    TForm1& form = window.form;
    form.ComboBox1->setEditText("The quick brown fox");
    window.select("DejaVu Sans");
    EXPECT_EQ(form.Edit1->toPlainText(), "The quick brown fox");
    EXPECT_EQ(form.Edit1->toolTip(), "Type your sample text here");

    window.select("Noto Sans Arabic");
    const QString line = form.Edit1->toPlainText();
    EXPECT_GE(line.size(), 20);
    EXPECT_EQ(scriptsOf(line), QSet<QString>{"Arabic"});
    EXPECT_TRUE(sys::faceCoverage("Noto Sans Arabic").hasAll(line));
    EXPECT_EQ(form.Edit1->toolTip(), "Sample in Arabic: the face has no Latin letters");
    window.select("Noto Color Emoji");
    EXPECT_EQ(form.Edit1->toolTip(), "Sample of the face's own characters: the face has no Latin letters");

    // The user's text comes back with the next face that can draw it.
    window.select("Noto Sans CJK JP");
    EXPECT_EQ(form.Edit1->toPlainText(), "The quick brown fox");
    EXPECT_EQ(form.Edit1->toolTip(), "Type your sample text here");

    // Typed text is shown as typed, in the face, and stays the user's.
    window.select("Noto Sans Devanagari");
    form.Edit1->setFocus();
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, "abc");
    EXPECT_EQ(form.Edit1->toPlainText(), "abc");
    window.select("Noto Sans Devanagari");
    EXPECT_NE(form.Edit1->toPlainText(), "abc"); // chosen again: its own script once more
    window.select("DejaVu Sans");
    EXPECT_EQ(form.Edit1->toPlainText(), "abc");
}
