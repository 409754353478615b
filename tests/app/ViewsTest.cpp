#include "tests/support/Choose.h"
#include "tests/support/FormFixture.h"

#include <QTest>

using Views = FormFixture;

namespace {

void clickEntry(fw::TListBox* list, int index)
{
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

} // namespace

TEST_F(Views, ClickingAFileShowsItsFourFields)
{
    testenv::writeFile(fontFolder + "/alpha.ttf", QByteArray(999, 'a'));
    testenv::writeFile(fontFolder + "/shared.ttf", QByteArray(2048, 's'));
    testenv::writeFile(fontFolder + "/raster.fon", "r");
    testenv::writeFile(fontFolder + "/Upper.ttf", "u");
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Beta (TrueType)", "shared.ttf");
    registry.set("Gamma bold (TrueType)", "shared.ttf");
    registry.set("Delta (TrueType)", "upper.ttf");
    TForm1& form = start({"Alpha", "Beta", "Gamma", "Delta"});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Button5, Qt::LeftButton);
    ASSERT_EQ(form.FileListBox1->Items(), QStringList({"alpha.ttf", "raster.fon", "shared.ttf", "Upper.ttf"}));

    // Each click fills the four fields and the title; a file without a face leaves the sample in its face.
    const struct {
        int entry;
        const char* face; // in the face field and the title
        const char* size;
        const char* sample; // the sample's face after the click
        const char* what;
    } clicks[] = {
        {2, "Gamma", "2.048 KB", "Gamma", "registered under two faces: the later face in the list"},
        {2, "Gamma", "2.048 KB", "Gamma", "the same entry again"},
        {3, "Cannot found facename", "0.001 KB", "Gamma", "data differing in letter case"},
        {1, "Cannot found facename", "0.001 KB", "Gamma", "a raster font"},
        {0, "Alpha", "0.999 KB", "Alpha", "a face of its own"},
    };
    for (const auto& c : clicks) {
        clickEntry(form.FileListBox1, c.entry);
        const QString file = form.FileListBox1->Items().at(c.entry);
        EXPECT_EQ(fileFields(form), QStringList({file, fontFolder + "/", c.face, c.size}).join(" | ")) << c.what;
        EXPECT_EQ(form.Panel4->text(), c.face) << c.what;
        EXPECT_EQ(form.Edit1->font().family(), c.sample) << c.what;
    }

    // A file that vanished after listing: size -1. The face view's fields were not touched.
    QFile::remove(fontFolder + "/alpha.ttf");
    clickEntry(form.FileListBox1, 0);
    EXPECT_EQ(fileFields(form), "alpha.ttf | " + fontFolder + "/ | Alpha | -0.001 KB");
    EXPECT_EQ(form.Edit2->text(), "Alpha");
}

TEST_F(Views, SwitchingViewsFollowsTheOtherView)
{
    testenv::writeFile(fontFolder + "/alpha.ttf", "a");
    testenv::writeFile(fontFolder + "/beta.ttf", "b");
    testenv::writeFile(fontFolder + "/zeta.ttf", "z");
    registry.set("Alpha (TrueType)", "alpha.ttf");
    registry.set("Gamma (TrueType)", "beta.ttf");
    registry.set("Beta (TrueType)", "BETA.TTF");
    TForm1& form = start({"Alpha", "Beta", "Gamma"});

    // Before any file click Edit5 is empty: the name view previews, then the last entry ends selected.
    form.ListBox1->setItemIndex(1);
    form.Button6Click();
    EXPECT_FALSE(form.ListBox1->isOwnerDrawn());
    EXPECT_EQ(form.Panel4->text(), "Beta");
    EXPECT_EQ(form.ListBox1->ItemIndex(), 3);
    EXPECT_TRUE(form.Button6->Current());
    EXPECT_FALSE(form.Button7->Current());
    EXPECT_FALSE(form.Button5->Current());

    // From a face whose file differs in letter case: the file view ends on its last file.
    form.ListBox1->setItemIndex(1);
    form.ListBox1Click();
    form.Button5Click();
    EXPECT_TRUE(form.FileListBox1->isVisibleTo(&form));
    EXPECT_TRUE(form.ListBox1->isHidden());
    EXPECT_TRUE(form.Panel3->isVisibleTo(&form));
    EXPECT_TRUE(form.Panel1->isHidden());
    EXPECT_EQ(form.Edit3->text(), "alpha.ttf") << "the first file is shown";
    EXPECT_EQ(form.FileListBox1->ItemIndex(), 2);
    EXPECT_TRUE(form.Button5->Current());

    // A file whose face is found: the face view highlights it, the preview stays on the old face.
    form.FileListBox1->setItemIndex(1);
    form.FileListBox1Click();
    EXPECT_EQ(form.Edit5->text(), "Gamma");
    form.ListBox1->setItemIndex(0);
    form.Button7Click();
    EXPECT_TRUE(form.ListBox1->isOwnerDrawn());
    EXPECT_EQ(form.Panel4->text(), "Alpha");
    EXPECT_EQ(form.ListBox1->ItemIndex(), 3);
    EXPECT_EQ(form.ListBox1->itemText(3), "Gamma");

    // From a face with a file: the file view selects that file.
    form.ListBox1->setItemIndex(0);
    form.ListBox1Click();
    form.Button5Click();
    EXPECT_EQ(form.FileListBox1->ItemIndex(), 0);
    // From a face without files: the first file.
    form.ListBox1->setItemIndex(2);
    form.Button7Click();
    EXPECT_EQ(form.ListBox3->Items(), QStringList({"cannot identified file"}));
    form.Button5Click();
    EXPECT_EQ(form.FileListBox1->ItemIndex(), 0);

    // After a file without a face, both face views select the first entry.
    form.FileListBox1->setItemIndex(2);
    form.FileListBox1Click();
    EXPECT_EQ(form.Edit5->text(), "Cannot found facename");
    form.Button6Click();
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    // With no face selected, a face view previews the first.
    form.ListBox1->setItemIndex(3);
    form.ListBox1Click();
    form.ListBox1->setItemIndex(-1);
    form.Button7Click();
    EXPECT_EQ(form.Panel4->text(), "Alpha");
}

TEST_F(Views, EmptyFolderAndEmptySelectionActOnNothing)
{
    TForm1& form = start();
    form.Button5Click();
    EXPECT_EQ(form.FileListBox1->Count(), 0);
    EXPECT_EQ(form.Edit3->text(), "");
    EXPECT_EQ(form.FileListBox1->ItemIndex(), -1);
    form.Timer1Timer();
    form.Button7Click();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Views, AutoViewStepsTheVisibleListAtTheTrackBarsPace)
{
    for (const char* name : {"a.ttf", "b.ttf", "c.ttf"})
        testenv::writeFile(fontFolder + "/" + name, "x");
    TForm1& form = start({"A", "B", "C", "D"}); // with Default: five items
    EXPECT_EQ(form.ListBox1->Count(), 5);
    form.ListBox1->setItemIndex(2);

    form.CheckBox1->click();
    EXPECT_TRUE(form.Timer1->isActive());
    for (const auto& [pace, interval] : {std::pair{15, 667}, {32, 312}, {1, 10000}}) {
        form.TrackBar1->setValue(pace);
        EXPECT_EQ(form.Timer1->interval(), interval) << pace;
    }

    QStringList previewed;
    for (int tick = 0; tick < 7; ++tick) {
        form.Timer1Timer();
        previewed << form.Panel4->text();
    }
    // Items 3, 4, 1, 2, 3, 4, 1 of "A", "B", "C", "D", "Default".
    EXPECT_EQ(previewed, QStringList({"D", "Default", "B", "C", "D", "Default", "B"}));

    // Switching views while it runs steps the other list.
    form.Button5Click();
    form.Timer1Timer();
    EXPECT_EQ(form.Edit3->text(), "b.ttf");
    EXPECT_EQ(form.Panel4->text(), "Cannot found facename");
    EXPECT_EQ(form.ListBox1->ItemIndex(), 1);

    form.CheckBox1->click();
    EXPECT_FALSE(form.Timer1->isActive());
    form.CheckBox1->setChecked(true); // ticked by program: the handler runs all the same
    EXPECT_TRUE(form.Timer1->isActive());
    form.CheckBox1->setChecked(false);
    form.TrackBar1->setValue(50);
    EXPECT_EQ(form.Timer1->interval(), 200);
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(Views, TheFileListFollowsTheFontFolderKeepingItsSelection)
{
    shellFolders.fontFolder = folders.path() + "/new/fonts"; // made by the first install
    QTemporaryDir elsewhere;
    TForm1& form = start();
    dialogs.chosenFiles = {testenv::writeFile(elsewhere.path() + "/d.ttf", "d")};
    form.Button4Click(); // from the face view
    form.Button5Click();
    ASSERT_EQ(form.FileListBox1->Items(), QStringList{"d.ttf"});
    form.FileListBox1->setItemIndex(0);

    // Another program adds and removes files: the list follows, the selection stays on
    // its file, or at its place when the file is gone.
    testenv::writeFile(shellFolders.fontFolder + "/a.ttf", "a");
    testenv::writeFile(shellFolders.fontFolder + "/e.ttf", "e");
    EXPECT_SOON(form.FileListBox1->Items() == QStringList({"a.ttf", "d.ttf", "e.ttf"}));
    EXPECT_EQ(form.FileListBox1->ItemIndex(), 1);
    QFile::remove(shellFolders.fontFolder + "/d.ttf");
    EXPECT_SOON(form.FileListBox1->Items() == QStringList({"a.ttf", "e.ttf"}));
    EXPECT_EQ(form.FileListBox1->ItemIndex(), 1);
}
