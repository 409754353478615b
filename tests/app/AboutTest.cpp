#include "tests/support/FormFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using About = FormFixture;

TEST_F(About, OneWindowCentredOnTheDesktopKeepingItsPlace)
{
    TForm1& form = start();
    TForm3& about = *windows.form3;
    EXPECT_TRUE(about.isHidden());
    EXPECT_EQ(about.size(), QSize(417, 258));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);

    QTest::mouseClick(form.GradientButton9, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    const QPoint centred = QGuiApplication::primaryScreen()->geometry().center() - about.rect().center();
    EXPECT_EQ(about.pos(), centred);
    form.GradientButton9Click();
    const auto forms = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(forms.begin(), forms.end(), [](QWidget* w) { return w->objectName() == "Form3"; }), 1);

    about.move(10, 10); // where the window is, it stays after "X"
    QTest::mouseClick(about.GradientButton5, Qt::LeftButton);
    EXPECT_TRUE(about.isHidden());
    form.GradientButton9Click();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.pos(), QPoint(10, 10));
    EXPECT_TRUE(form.isEnabled()) << "not modal";

    for (const auto& [name, at] : {std::pair<const char*, QPoint>{"Image1", {0, 0}}, {"Image2", {9, 11}},
                                   {"Label4", {52, 16}}, {"GradientButton5", {388, 7}}, {"GrainPanel4", {0, 50}},
                                   {"Label1", {14, 8}}, {"Label3", {16, 36}}, {"Label6", {16, 44}},
                                   {"Label2", {16, 72}}}) {
        auto* widget = about.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->pos(), at) << name;
    }
    EXPECT_EQ(about.findChild<QWidget*>("Image2")->size(), QSize(33, 33)) << "the icon, whole";
    EXPECT_EQ(about.Label3->text(), "Version 1.0");
    EXPECT_EQ(about.Label1->text(), "Glyphwell");
    EXPECT_EQ(about.Label6->text(), QString(56, '_') + ' ');
    EXPECT_EQ(about.Label6->width(), 396);
    EXPECT_EQ(about.GrainPanel4->size(), QSize(417, 208));
}

TEST_F(About, HelpOpensThePageBesideTheExecutableElseTheInstalledOne)
{
    // Which pages exist -> the page opened.
    const auto only = [](QStringList existing) {
        return [existing](const QString& path) { return existing.contains(path); };
    };
    const QString beside = "/opt/tools/bin/Glyphwell Help.html";
    const QString installed = "/opt/tools/share/glyphwell/Glyphwell Help.html";
    EXPECT_EQ(helpFilePath("/opt/tools/bin/glyphwell", only({beside, installed})), beside);
    EXPECT_EQ(helpFilePath("/opt/tools/bin/glyphwell", only({installed})), installed);
    EXPECT_EQ(helpFilePath("/opt/tools/bin/glyphwell", only({})), beside);
    EXPECT_EQ(helpFilePath("/glyphwell", only({})), "/Glyphwell Help.html");
    TForm1& form = start();
    QDir::setCurrent(QDir::tempPath());
    QTest::mouseClick(form.GradientButton8, Qt::LeftButton);
    EXPECT_EQ(shell.opened, QStringList({QCoreApplication::applicationDirPath() + "/Glyphwell Help.html"}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
