#include "app/CommandLine.h"
#include "tests/support/UserTexts.h"
#include "manage/FontOffer.h"
#include "manage/Messages.h"
#include "tests/support/FormFixture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QTest>

using Desktop = FormFixture;
using Action = app::CommandLine::Action;
using sys::FileKind;

namespace {

// A drag of local files carrying the given paths, as a file manager sends it.
std::unique_ptr<QMimeData> draggedFiles(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << (path.contains("://") ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

bool dragEnterAccepted(TForm1& form, const QMimeData& data)
{
    QDragEnterEvent enter(QPoint(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    return enter.isAccepted();
}

void drop(TForm1& form, const QMimeData& data)
{
    ASSERT_TRUE(dragEnterAccepted(form, data));
    QDropEvent dropped(QPointF(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &dropped);
}

} // namespace

TEST(CommandLine, OptionsAndFiles)
{
    struct Case {
        QList<QByteArray> arguments;
        Action action;
        QList<QByteArray> files;
    };
    const Case cases[] = {
        {{}, Action::Run, {}},
        {{"a.ttf", "dir/b.otf"}, Action::Run, {"a.ttf", "dir/b.otf"}},
        {{"a.ttf", "--help", "-x"}, Action::Help, {}},
        {{"-h"}, Action::Help, {}},
        {{"--version", "--help"}, Action::Version, {}},
        {{"a.ttf", "-x", "--help"}, Action::Usage, {}},
        {{"-"}, Action::Usage, {}},
        {{"--", "--help", "-x.ttf"}, Action::Run, {"--help", "-x.ttf"}},
        {{"\xff\xfe.ttf"}, Action::Run, {"\xff\xfe.ttf"}},
    };
    for (const Case& c : cases) {
        const app::CommandLine line = app::parseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.files, c.files) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(app::parseCommandLine({"a", "--bogus"}).unknownOption, "--bogus");
    for (const QByteArray qt : {"-platform", "--platform", "-style=Fusion", "-reverse"})
        EXPECT_TRUE(app::isQtOption(qt)) << qt.constData();
    for (const QByteArray ours : {"--bogus", "-platformx", "platform", "--", "-"})
        EXPECT_FALSE(app::isQtOption(ours)) << ours.constData();
}

TEST(CommandLine, TheProgramAnswersItsOptionsAndExits)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        QString out;
        QString error;
    };
    const Case cases[] = {
        {{"--version"}, 0, "Glyphwell 1.0\n", ""},
        {{"--help"}, 0, said::help, ""},
        {{"--bogus", "a.ttf"}, 2, "", said::usage + "\n"},
        {{"-platform", "offscreen", "--bogus"}, 2, "", said::usage + "\n"},
        {{"-platform", "offscreen", "--version"}, 0, "Glyphwell 1.0\n", ""},
    };
    for (const Case& c : cases) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No display: the answers come before one is needed.
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("XDG_RUNTIME_DIR", testenv::root()); // keeps Qt quiet about it
        program.setProcessEnvironment(environment);
        program.start(GLYPHWELL_BINARY, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()), c.error);
    }
}

TEST(OfferedFiles, NamesAreTakenAsBytesAndUnusableOnesRefused)
{
    const QList<manage::OfferedFile> offers =
        manage::offeredFiles({"a.ttf", "/fonts/b c.otf", "\xff.ttf", "two\nlines.ttf", ""}, "/home/me");
    ASSERT_EQ(offers.size(), 5);
    const QString replaced = QChar(0xFFFD); // what a byte that is not UTF-8 reads as
    const std::pair<QString, QString> pathOrRefusal[] = {
        {"/home/me/a.ttf", ""}, {"/fonts/b c.otf", ""}, {"", said::unusableFileName.arg(replaced + ".ttf")},
        {"", said::unusableFileName.arg("two" + replaced + "lines.ttf")}, {"", said::noFileName}};
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(std::pair(offers[n].path, offers[n].refusal), pathOrRefusal[n]) << n;

    // Drops: local files only, with the bytes of their names.
    const QList<QUrl> urls{QUrl::fromLocalFile("/fonts/b c.otf"), QUrl("https://example.org/x.ttf"),
                           QUrl("file://elsewhere/x.ttf"), QUrl("file://localhost/fonts/y.ttf"),
                           QUrl::fromEncoded("file:///fonts/%FF%FE.ttf"), QUrl("mailto:someone")};
    EXPECT_EQ(manage::droppedFiles(urls),
              QList<QByteArray>({"/fonts/b c.otf", "/fonts/y.ttf", "/fonts/\xff\xfe.ttf"}));
}

TEST_F(Desktop, YesInstallsAsInstallFontDoesAndNoLeavesNothingOnDisk)
{
    QTemporaryDir downloads;
    const QString delta = testenv::writeFile(downloads.path() + "/delta.ttf", "delta font");
    const QString epsilon = testenv::writeFile(downloads.path() + "/epsilon.ttf", "epsilon font");
    fontFiles.facts[delta] = {FileKind::Font, "Delta"};
    fontFiles.facts[epsilon] = {FileKind::Font, "Epsilon"};
    TForm1& form = start({"Alpha", "Beta"});
    form.ListBox1->setItemIndex(1);
    dialogs.answers = {true, false};

    form.offerFontFiles(manage::offeredFiles({delta.toUtf8(), epsilon.toUtf8()}, "/"));
    EXPECT_TRUE(dialogs.questions.isEmpty()); // asked once the window runs
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);

    EXPECT_EQ(dialogs.questions, QStringList({said::confirmInstall.arg("Delta", delta),
                                              said::confirmInstall.arg("Epsilon", epsilon)}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // "Yes": copied, loaded from the font folder instead, announced, face list refilled.
    EXPECT_EQ(testenv::entries(fontFolder), QStringList({"delta.ttf"}));
    EXPECT_EQ(resources.calls, QStringList({"add " + delta, "remove " + delta, "add " + fontFolder + "/delta.ttf",
                                            "broadcast", "add " + epsilon}));
    EXPECT_EQ(form.ListBox1->ItemIndex(), 0);
    EXPECT_EQ(fonts.enumerations, 2);
    // "No": the face stays in view, loaded for this run only.
    EXPECT_EQ(form.Panel4->text(), "Epsilon");
    EXPECT_EQ(form.Edit2->text(), "Epsilon");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({epsilon}));
    EXPECT_EQ(form.Edit1->font().families(), QStringList({"Epsilon"}));
    EXPECT_EQ(form.SortableGrid1->font().families(), QStringList({"Epsilon"}));
    EXPECT_EQ(testenv::entries(downloads.path()), QStringList({"delta.ttf", "epsilon.ttf"}));
}

TEST_F(Desktop, FilesThatAreNotOfferedSayWhyAndChangeNothing)
{
    QTemporaryDir downloads;
    const QString missing = downloads.path() + "/missing.ttf";
    const QString folder = downloads.path();
    const QString locked = downloads.path() + "/locked.ttf";
    const QString text = testenv::writeFile(downloads.path() + "/text.ttf", "just text");
    const QString copy = testenv::writeFile(downloads.path() + "/zeta.ttf", "zeta font");
    const QString inFolder = testenv::writeFile(fontFolder + "/zeta.ttf", "zeta font");
    const QString system = "/usr/share/fonts/eta.ttf";
    fontFiles.facts[folder] = {FileKind::Folder, {}};
    fontFiles.facts[locked] = {FileKind::Unreadable, {}};
    fontFiles.facts[text] = {FileKind::NotFont, {}};
    fontFiles.facts[copy] = {FileKind::Font, "Zeta"};
    fontFiles.facts[inFolder] = {FileKind::Font, "Zeta"};
    fontFiles.facts[system] = {FileKind::Font, "Eta"};
    registry.set("Eta (TrueType)", system);
    registry.set("Zeta (TrueType)", "zeta.ttf");
    TForm1& form = start();
    const QStringList before = testenv::entries(fontFolder);

    form.offerFontFiles(manage::offeredFiles(
        {missing.toUtf8(), folder.toUtf8(), locked.toUtf8(), text.toUtf8(), "bad\xff.ttf", copy.toUtf8(),
         inFolder.toUtf8(), system.toUtf8()},
        "/"));
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);

    EXPECT_EQ(dialogs.messages,
              QStringList({said::offerMissing.arg(missing), said::offerFolder.arg(folder),
                           said::offerUnreadable.arg(locked), said::offerNotFont.arg(text),
                           said::unusableFileName.arg(QString("bad") + QChar(0xFFFD) + ".ttf"),
                           said::offerInstalled.arg("Zeta", copy), said::offerInstalled.arg("Zeta", inFolder),
                           said::offerInstalled.arg("Eta", system)}));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_TRUE(resources.calls.isEmpty()); // installed fonts are not loaded again
    EXPECT_EQ(testenv::entries(fontFolder), before);
    // An installed font is still shown.
    EXPECT_EQ(form.Panel4->text(), "Eta");
    EXPECT_EQ(form.ListBox3->Items(), QStringList({system}));
}

TEST_F(Desktop, DropsOfFontsAreOfferedOneAtATimeAndAnythingElseIsRefused)
{
    QTemporaryDir downloads;
    const QString text = testenv::writeFile(downloads.path() + "/notes.txt", "notes");
    fontFiles.facts[text] = {FileKind::NotFont, {}};
    QStringList fonts500;
    for (int n = 0; n < 500; ++n) {
        fonts500 << downloads.path() + QString("/f%1.ttf").arg(n);
        fontFiles.facts[fonts500.last()] = {FileKind::Font, QString("F%1").arg(n)};
    }
    TForm1& form = start();

    EXPECT_FALSE(dragEnterAccepted(form, *draggedFiles({text})));
    EXPECT_FALSE(dragEnterAccepted(form, *draggedFiles({"https://example.org/f0.ttf"})));
    auto noUrls = std::make_unique<QMimeData>();
    noUrls->setText(fonts500[0]);
    EXPECT_FALSE(dragEnterAccepted(form, *noUrls));
    // Dropped on the sample text, a file goes to the window too.
    EXPECT_FALSE(form.Edit1->acceptDrops() || form.Edit1->viewport()->acceptDrops());

    // A mixed drop is taken: the fonts are offered and the rest named.
    auto mixed = draggedFiles({text, fonts500[0]});
    drop(form, *mixed);
    EXPECT_SOON_WITHIN(!form.isOffering(), 30000);
    EXPECT_EQ(dialogs.messages, QStringList({said::offerNotFont.arg(text)}));
    EXPECT_EQ(dialogs.questions, QStringList({said::confirmInstall.arg("F0", fonts500[0])}));

    // 500 files: the window handles its events between one question and the next.
    dialogs.questions.clear();
    auto many = draggedFiles(fonts500);
    drop(form, *many);
    qsizetype askedWhenEventsRan = -1;
    QTimer::singleShot(0, &form, [&] { askedWhenEventsRan = dialogs.questions.size(); });
    EXPECT_SOON_WITHIN(!form.isOffering(), 60000);
    EXPECT_EQ(dialogs.questions.size(), 500);
    EXPECT_EQ(dialogs.questions.last(), said::confirmInstall.arg("F499", fonts500.last()));
    EXPECT_GE(askedWhenEventsRan, 0);
    EXPECT_LT(askedWhenEventsRan, 5);
    EXPECT_TRUE(testenv::entries(fontFolder).isEmpty());
}

TEST_F(Desktop, TheProgramNamesItsDesktopEntryAndShowsItsIcon)
{
    setDesktopIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), "io.github.glyphwell.Glyphwell");
    const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    TForm1& form = start();
    EXPECT_EQ(form.windowIcon().cacheKey(), QGuiApplication::windowIcon().cacheKey());
    // Its blue body, not an empty picture.
    const QImage icon = form.windowIcon().pixmap(QSize(48, 48)).toImage();
    EXPECT_GT(qBlue(icon.pixel(24, 8)), 200);
}
