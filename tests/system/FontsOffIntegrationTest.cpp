#include "app/Startup.h"
#include "app/Unit1.h"
#include "manage/TurnedOff.h"
#include "system/FilePaths.h"
#include "system/FontsOff.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const testenv::ExtraFonts collection{"NotoSansCJK-Regular.ttc"};

QByteArray fcList(const QStringList& arguments = {})
{
    QProcess list;
    list.start("fc-list", arguments);
    list.waitForFinished(60000);
    return list.readAllStandardOutput();
}

QStringList fcListFamilies()
{
    return QString::fromUtf8(fcList({":", "family"})).split('\n', Qt::SkipEmptyParts);
}

QString offFile()
{
    return testenv::home() + "/.config/fontconfig/conf.d/90-glyphwell-off.conf";
}

void select(TForm1& form, const QString& face)
{
    form.ListBox1->setItemIndex(int(form.ListBox1->Items().indexOf(face)));
    ASSERT_GE(form.ListBox1->ItemIndex(), 0) << face.toStdString();
}

QStringList offTail(TForm1& form)
{
    QStringList off;
    for (const QString& face : form.ListBox1->Items())
        if (form.installedFaces().isOff(face))
            off << face;
    return off;
}

} // namespace

TEST(FontsOffIntegration, TurnedOffFacesLeaveFcListStayInSightAndComeBackExactly)
{
    const QString serif = testenv::copyInto(testenv::debianFont("DejaVuSerif.ttf"), testenv::userFontFolder());
    const QByteArray before = fcList();
    ASSERT_TRUE(fcListFamilies().contains("DejaVu Serif"));
    FakeDialogs dialogs;
    RealServices real;
    Windows windows = createWindows(real.services());
    TForm1& form = *windows.form1;
    form.show();

    // A user font, then a system font of two files.
    for (const QString face : {"DejaVu Serif", "DejaVu Sans"}) {
        select(form, face);
        form.TurnOffClick();
    }
    EXPECT_EQ(dialogs.messages + dialogs.questions, QStringList()) << "nothing said or asked";
    EXPECT_EQ(testenv::contents(offFile()),
              "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
              "<!-- Fonts turned off in Glyphwell: fontconfig leaves out these files. -->\n<fontconfig>\n"
              "  <selectfont>\n    <rejectfont>\n      <glob>" +
                  serif.toUtf8() + "</glob>\n      <glob>" + testenv::systemFontFolder().toUtf8() +
                  "/DejaVuSans-Bold.ttf</glob>\n      <glob>" + testenv::systemFontFolder().toUtf8() +
                  "/DejaVuSans.ttf</glob>\n    </rejectfont>\n  </selectfont>\n</fontconfig>\n");
    const QStringList listed = fcListFamilies();
    EXPECT_FALSE(listed.contains("DejaVu Serif"));
    EXPECT_FALSE(listed.contains("DejaVu Sans"));
    EXPECT_TRUE(listed.contains("Liberation Sans"));
    EXPECT_TRUE(QFile::exists(serif) && QFile::exists(testenv::systemFontFolder() + "/DejaVuSans.ttf"));

    // Still in sight, after the others, the last one turned off still selected; it previews.
    const QStringList items = form.ListBox1->Items();
    EXPECT_EQ(items.mid(items.size() - 2), QStringList({"DejaVu Sans", "DejaVu Serif"}));
    EXPECT_EQ(offTail(form), QStringList({"DejaVu Sans", "DejaVu Serif"}));
    EXPECT_EQ(form.ListBox1->ItemIndex(), items.size() - 2);
    select(form, "DejaVu Serif");
    form.ListBox1Click();
    EXPECT_EQ(QFontInfo(form.Edit1->font()).family(), "DejaVu Serif");
    EXPECT_EQ(form.Panel4->text(), "DejaVu Serif");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"DejaVuSerif.ttf"}));
    EXPECT_EQ(form.ListBox4->Items().value(0), "ANSI_CHARSET");

    // Drawn in its own face, greyed halfway to the white fill, and marked after its name;
    // in the name view too, in the list's font.
    select(form, "Default");
    const QModelIndex serifRow = form.ListBox1->model()->index(int(form.ListBox1->Items().indexOf("DejaVu Serif")), 0);
    QFont serifItem = form.ListBox1->font();
    serifItem.setFamilies({"DejaVu Serif"});
    for (const QFont& drawnIn : {serifItem, form.ListBox1->font()}) {
        form.ListBox1->scrollTo(serifRow);
        form.ListBox1->viewport()->repaint();
        const QRect item = form.ListBox1->visualRect(serifRow);
        const QImage drawn = form.ListBox1->viewport()->grab(item).toImage();
        int darkest = 255;
        int inkRight = -1;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (const int grey = qGray(drawn.pixel(x, y)); grey < 200) {
                    darkest = std::min(darkest, grey);
                    inkRight = std::max(inkRight, x);
                }
        EXPECT_GE(darkest, 120);
        EXPECT_LE(darkest, 135);
        EXPECT_GT(inkRight, QFontMetrics(drawnIn).horizontalAdvance("DejaVu Serif") + 20);
        form.setFaceDrawing(false);
    }
    form.setFaceDrawing(true);
    select(form, "DejaVu Serif");

    // The menu offers what the face can do.
    form.ListBox1ContextPopup(form.ListBox1->visualRect(form.ListBox1->currentIndex()).center());
    EXPECT_TRUE(form.FaceMenu->isVisible());
    EXPECT_TRUE(form.TurnOn->isVisible());
    EXPECT_FALSE(form.TurnOff->isVisible());
    form.FaceMenu->close();

    // Started again, the program reads it back.
    {
        RealServices again;
        Windows second = createWindows(again.services());
        EXPECT_EQ(offTail(*second.form1), QStringList({"DejaVu Sans", "DejaVu Serif"}));
    }

    // A collection says which faces go with it and asks; "No" changes nothing.
    select(form, "Noto Sans CJK JP");
    dialogs.answers = {false};
    form.TurnOffClick();
    EXPECT_EQ(dialogs.questions,
              QStringList({"Turn off this Font : Noto Sans CJK JP ?\rIts files also hold Noto Sans CJK KR, Noto Sans "
                           "CJK SC, Noto Sans CJK TC, Noto Sans CJK HK, Noto Sans Mono CJK JP, Noto Sans Mono CJK "
                           "KR, Noto Sans Mono CJK SC, Noto Sans Mono CJK TC, Noto Sans Mono CJK HK, which are "
                           "turned off with it."}));
    EXPECT_TRUE(fcListFamilies().contains("Noto Sans CJK JP"));

    for (const QString face : {"DejaVu Sans", "DejaVu Serif"}) {
        select(form, face);
        form.TurnOnClick();
    }
    EXPECT_EQ(dialogs.messages, QStringList());
    EXPECT_EQ(fcList(), before);
    EXPECT_EQ(offTail(form), QStringList());
    EXPECT_EQ(form.ListBox1->itemText(form.ListBox1->ItemIndex()), "DejaVu Serif");
    QFile::remove(serif);
    QFile::remove(offFile());
    real.services().fontResources.broadcastFontChange();
}

TEST(FontsOffIntegration, OddFileNamesRoundTripAndAFailedWriteLosesNothing)
{
    // A name with XML's specials, and one whose bytes are not UTF-8.
    const QString specials = testenv::copyInto(testenv::debianFont("DejaVuSansMono.ttf"), testenv::userFontFolder(),
                                               "Mono & <Sons> \"q\".ttf");
    const QString plain = testenv::copyInto(testenv::debianFont("LiberationMono-Regular.ttf"), testenv::userFontFolder());
    const QString latin1 = sys::pathFromBytes(QFile::encodeName(testenv::userFontFolder()) + "/Libert\xE9.ttf");
    ASSERT_EQ(::rename(QFile::encodeName(plain).constData(), sys::pathBytes(latin1).constData()), 0);
    RealServices real;
    Services services = real.services();
    manage::FontsTurnedOff off(*services.fontsOff, services.fontResources);
    off.load();
    for (const QString face : {"DejaVu Sans Mono", "Liberation Mono"})
        EXPECT_EQ(off.turnOff(off.planOff(face, {"Tahoma"})), "");
    const QStringList listed = fcListFamilies();
    EXPECT_FALSE(listed.contains("DejaVu Sans Mono"));
    EXPECT_FALSE(listed.contains("Liberation Mono"));

    manage::FontsTurnedOff atStart(*services.fontsOff, services.fontResources);
    atStart.load();
    EXPECT_EQ(atStart.files(), QStringList({specials, latin1}));
    EXPECT_EQ(atStart.faces(), QStringList({"DejaVu Sans Mono", "Liberation Mono"}));

    // The file cannot be replaced: said, the old one as it was, no half-written file.
    const QByteArray written = testenv::contents(offFile());
    const QString blocked = testenv::home() + "/.config/fontconfig/conf.d";
    QDir(blocked).rename("90-glyphwell-off.conf", "aside");
    QDir().mkpath(offFile() + "/in-the-way");
    EXPECT_EQ(atStart.turnOn(atStart.planOn("Liberation Mono")),
              said::offWriteFailed.arg(offFile(), "Is a directory"));
    QDir(offFile()).removeRecursively();
    QDir(blocked).rename("aside", "90-glyphwell-off.conf");
    EXPECT_EQ(QDir(blocked).entryList(QDir::Files | QDir::Hidden), QStringList({"90-glyphwell-off.conf"}));
    EXPECT_EQ(testenv::contents(offFile()), written);

    for (const QString face : {"DejaVu Sans Mono", "Liberation Mono"})
        EXPECT_EQ(atStart.turnOn(atStart.planOn(face)), "");
    EXPECT_TRUE(fcListFamilies().contains("Liberation Mono") && fcListFamilies().contains("DejaVu Sans Mono"));
    EXPECT_EQ(atStart.files(), QStringList());
    QFile::remove(specials);
    ::unlink(sys::pathBytes(latin1).constData());
    QFile::remove(offFile());
    services.fontResources.broadcastFontChange();
}
