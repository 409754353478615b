// Faces beyond Latin in the window, on Debian's script, CJK, emoji, icon and symbol
// fonts with the real fontconfig: how the face list writes their names, which page the
// character map opens on, what the zoom and a screen reader say, and the sample.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "preview/CharacterMap.h"
#include "preview/FaceScript.h"
#include "preview/OwnerDrawList.h"
#include "preview/Unit2.h"
#include "system/FaceCoverage.h"
#include "system/FontFactory.h"
#include "tests/support/Choose.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Printers.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

namespace {

const testenv::ExtraFonts scriptFonts{"NotoSansArabic-Regular.ttf", "NotoSansDevanagari-Regular.ttf",
                                      "NotoSansCJK-Regular.ttc",    "NotoColorEmoji.ttf",
                                      "fontawesome-webfont.ttf",    "symbol.ttf",
                                      "wingding.ttf"};

QSet<QString> scriptsOf(const QString& text)
{
    QSet<QString> scripts;
    for (const char32_t c : text.toUcs4()) {
        UErrorCode error = U_ZERO_ERROR;
        scripts << QString::fromLatin1(uscript_getName(uscript_getScript(UChar32(c), &error)));
    }
    return scripts;
}

struct ScriptFaces : ::testing::Test {
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;

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

TEST_F(ScriptFaces, TheListWritesANameItsFaceLacksPlainlyWithAFewCharactersOfTheFace)
{
    const struct {
        const char* face;
        const char* scripts; // of the specimen; nullptr: the face writes its own name
        int block;           // for a face without an alphabet: the block of its specimen
    } cases[] = {
        {"DejaVu Sans", nullptr, 0},
        {"Symbol", nullptr, 0}, // a symbol face with glyphs at its name's codes draws its symbols
        {"Noto Sans CJK JP", nullptr, 0},
        {"Noto Sans Arabic", "Arabic", 0},
        {"Noto Sans Devanagari", "Devanagari", 0},
        {"Noto Color Emoji", "Common", UBLOCK_MISCELLANEOUS_SYMBOLS_AND_PICTOGRAPHS},
        {"FontAwesome", "Unknown", UBLOCK_PRIVATE_USE_AREA}, // a few icons sit at Æ and Ø
        {"Wingdings", nullptr, -1},
    };
    const QRect item(0, 0, 200, 25);
    const auto drawn = [&](const std::function<void(QPainter&)>& draw) {
        QImage image(item.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        draw(painter);
        return image;
    };
    const QFont list = form.ListBox1->font();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto* loading = form.findChild<QTimer*>(QStringLiteral("ListFontsTimer"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        const sys::FaceCoverage coverage = sys::faceCoverage(c.face);
        const std::optional<QString> specimen = preview::nameSpecimen(c.face, coverage);
        EXPECT_EQ(specimen.has_value(), c.scripts != nullptr || c.block < 0);
        if (specimen) {
            EXPECT_EQ(specimen->toUcs4().size(), preview::nameSpecimenLength);
            EXPECT_TRUE(coverage.hasAll(*specimen)) << specimen->toStdString();
            if (c.scripts)
                EXPECT_EQ(scriptsOf(*specimen), QSet<QString>{c.scripts});
            if (c.block > 0)
                EXPECT_EQ(u_getIntPropertyValue(UChar32(specimen->toUcs4()[0]), UCHAR_BLOCK), c.block);
        }
        // The row as the list draws it, once the list has loaded the fonts of the rows in
        // view (a paint loads them for a few milliseconds, the rest right after).
        chooseFace(form, c.face);
        form.ListBox1->viewport()->repaint();
        EXPECT_SOON_WITHIN(!loading->isActive(), 30000);
        QFont own = list;
        sys::setFace(own, c.face, sys::Fallback::None);
        const int index = int(form.ListBox1->Items().indexOf(c.face));
        const QImage row = drawn([&](QPainter& p) { form.ListBox1DrawItem(p, index, item, Qt::white); });
        // The name's ink on the left; a specimen's in the row's last third.
        const auto inked = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = 0; y < item.height(); ++y)
                    if (row.pixelColor(x, y) != Qt::white)
                        return true;
            return false;
        };
        EXPECT_TRUE(inked(0, 40));
        if (specimen)
            EXPECT_TRUE(inked(150, 200));
        EXPECT_EQ(row, drawn([&](QPainter& p) {
                      if (specimen)
                          preview::drawSpecimenItem(p, item, Qt::white, list, own, c.face, *specimen);
                      else
                          preview::drawFaceItem(p, item, Qt::white, own, c.face);
                  }));
    }
    // A family's coverage is its regular face's, the one Qt draws the bare family with.
    int regular = 0;
    FcPattern* query = FcFreeTypeQuery(
        reinterpret_cast<const FcChar8*>(qPrintable(testenv::systemFontFolder() + "/DejaVuSans.ttf")), 0, nullptr, &regular);
    FcCharSet* set = nullptr;
    ASSERT_EQ(FcPatternGetCharSet(query, FC_CHARSET, 0, &set), FcResultMatch);
    EXPECT_EQ(sys::faceCoverage("DejaVu Sans").characters.size(), qsizetype(FcCharSetCount(set)));
    FcPatternDestroy(query);
    // Japanese shows kana before kanji.
    const preview::Specimen japanese = preview::faceSpecimen(sys::faceCoverage("Noto Sans CJK JP").characters, 4);
    EXPECT_EQ(japanese.script, "Hiragana and Han");
    EXPECT_EQ(scriptsOf(japanese.text.left(2)), QSet<QString>{"Hiragana"});
    EXPECT_EQ(scriptsOf(japanese.text.mid(2)), QSet<QString>{"Han"});

    // The specimen keeps its third of the row: a long name is cut short before it.
    const QFontMetrics metrics(list);
    const QString longName(40, QLatin1Char('W'));
    const int room = item.width() - preview::specimenGap - metrics.horizontalAdvance("xyz");
    const QImage cut = drawn([&](QPainter& p) { preview::drawSpecimenItem(p, item, Qt::white, list, list, longName, "xyz"); });
    const QImage name = drawn([&](QPainter& p) {
        preview::drawFaceItem(p, item, Qt::white, list, metrics.elidedText(longName, Qt::ElideRight, room));
    });
    EXPECT_EQ(cut.copy(0, 0, 100, 25), name.copy(0, 0, 100, 25));
    EXPECT_NE(cut.copy(160, 0, 40, 25), name.copy(160, 0, 40, 25));
}

TEST_F(ScriptFaces, EachFaceOpensItsMapOnCharactersItHasAndTheZoomNamesThem)
{
    const struct {
        const char* face;
        const char* opening;
        const char* zoom;   // the first cell's line
        const char* spoken; // a screen reader's name of the first cell
    } cases[] = {
        {"DejaVu Sans", "8-bit page (Windows-1252)", "ASCII-code is #33", "!, code 33"},
        {"Noto Sans CJK JP", "8-bit page (Windows-1252)", "ASCII-code is #33", "!, code 33"},
        {"Noto Sans Arabic", "Arabic", "Unicode U+0606 ARABIC-INDIC CUBE ROOT", "؆, U+0606 ARABIC-INDIC CUBE ROOT"},
        {"Noto Sans Devanagari", "Devanagari", "Unicode U+0900 DEVANAGARI SIGN INVERTED CANDRABINDU", nullptr},
        {"Noto Color Emoji", "Miscellaneous Symbols and Pictographs", "Unicode U+1F300 CYCLONE", "🌀, U+1F300 CYCLONE"},
        {"FontAwesome", "Private Use Area", "Unicode U+F000", "\uF000, U+F000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        chooseFace(form, c.face);
        EXPECT_EQ(form.ComboBox2->currentText(), c.opening);
        // Ten to a row, every cell of a block a character the face has, none twice; the
        // 8-bit page holds its 223 codes.
        const sys::FaceCoverage coverage = sys::faceCoverage(c.face);
        const bool eightBit = QString(c.opening).startsWith("8-bit");
        QSet<QString> cells;
        int filled = 0;
        for (int row = 0; row < form.SortableGrid1->RowCount(); ++row)
            for (const QString& cell : form.SortableGrid1->Rows(row))
                if (!cell.isEmpty() && ++filled && (eightBit || coverage.has(cell.toUcs4().value(0))))
                    cells << cell;
        EXPECT_EQ(cells.size(), eightBit ? 223 : filled);
        EXPECT_EQ(form.SortableGrid1->RowCount(), (filled + 9) / 10);
        EXPECT_TRUE(form.SortableGrid1->Cells((filled - 1) % 10, (filled - 1) / 10).size() > 0);
        EXPECT_EQ(zoomLine(0, 0), c.zoom);
        if (c.spoken)
            EXPECT_EQ(form.SortableGrid1->accessibleCellName(0, 0), QString::fromUtf8(c.spoken));
        EXPECT_EQ(windows.form2->Label2->text(), "Unknown ASCII Code");
    }

    // Another block of a Latin face, chosen from the keyboard: its characters from the
    // top, named by Unicode; Home goes back to the 8-bit page and its codes.
    chooseFace(form, "DejaVu Sans");
    EXPECT_EQ(form.ComboBox2->toolTip(), "Select the characters to show");
    form.ComboBox2->setCurrentIndex(form.ComboBox2->findText("Latin Extended-A") - 1);
    QTest::keyClick(form.ComboBox2, Qt::Key_Down);
    EXPECT_EQ(form.SortableGrid1->RowCount(), 13); // 128 characters
    form.SortableGrid1MouseDown(Qt::RightButton, {}, 0, 0); // zooms the current cell, the first
    EXPECT_EQ(windows.form2->Label2->text(), "Unicode U+0100 LATIN CAPITAL LETTER A WITH MACRON");
    form.SortableGrid1MouseUp(Qt::RightButton, {}, 0, 0);
    EXPECT_EQ(zoomLine(1, 0), "Unicode U+0101 LATIN SMALL LETTER A WITH MACRON");
    EXPECT_EQ(form.SortableGrid1->accessibleCellName(1, 0), QString::fromUtf8("ā, U+0101 LATIN SMALL LETTER A WITH MACRON"));
    QTest::keyClick(form.ComboBox2, Qt::Key_Home);
    EXPECT_EQ(form.SortableGrid1->RowCount(), preview::mapRows);
    EXPECT_EQ(zoomLine(2, 22), "ASCII-code is #255");
}

TEST_F(ScriptFaces, AFaceWithoutTheSamplesLettersShowsItsOwnScriptAndGivesTheTextBack)
{
    form.ComboBox1->setEditText("The quick brown fox");
    chooseFace(form, "DejaVu Sans");
    EXPECT_EQ(form.Edit1->toPlainText(), "The quick brown fox");
    EXPECT_EQ(form.Edit1->toolTip(), "Type your sample text here");

    chooseFace(form, "Noto Sans Arabic");
    const QString line = form.Edit1->toPlainText();
    EXPECT_GE(line.size(), 20);
    EXPECT_EQ(scriptsOf(line), QSet<QString>{"Arabic"});
    EXPECT_TRUE(sys::faceCoverage("Noto Sans Arabic").hasAll(line));
    EXPECT_EQ(form.Edit1->toolTip(), "Sample in Arabic: the face has no Latin letters");
    chooseFace(form, "Noto Color Emoji");
    EXPECT_EQ(form.Edit1->toolTip(), "Sample of the face's own characters: the face has no Latin letters");

    // The user's text comes back with the next face that can draw it.
    chooseFace(form, "Noto Sans CJK JP");
    EXPECT_EQ(form.Edit1->toPlainText(), "The quick brown fox");
    EXPECT_EQ(form.Edit1->toolTip(), "Type your sample text here");

    // Typed text is shown as typed, in the face, and stays the user's.
    chooseFace(form, "Noto Sans Devanagari");
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, "abc");
    EXPECT_EQ(form.Edit1->toPlainText(), "abc");
    chooseFace(form, "Noto Sans Devanagari");
    EXPECT_NE(form.Edit1->toPlainText(), "abc"); // chosen again: its own script once more
    chooseFace(form, "DejaVu Sans");
    EXPECT_EQ(form.Edit1->toPlainText(), "abc");
}
