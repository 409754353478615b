#include "app/Unit1.h"

#include "app/Unit3.h"
#include "catalogue/Charsets.h"
#include "catalogue/FileBrowser.h"
#include "catalogue/ListViews.h"
#include "framework/Colors.h"
#include "framework/Dialogs.h"
#include "framework/Errors.h"
#include "manage/FontFiles.h"
#include "manage/Messages.h"
#include "preview/AutoView.h"
#include "preview/CharacterMap.h"
#include "preview/FontsAhead.h"
#include "preview/OwnerDrawList.h"
#include "preview/Sample.h"
#include "preview/Unit2.h"
#include "print/SaveAsPdf.h"
#include "system/FileSystem.h"
#include "system/FontFactory.h"
#include "system/FontResources.h"
#include "system/Shell.h"
#include "system/TextFaces.h"
#include "system/ShellFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QAccessible>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr TColor formColor = fw::RGB(74, 147, 255);
constexpr TColor panelColor = 0x00FF5959;
constexpr int faceItemHeight = 25;
// How long one paint of the face list may spend loading its items' fonts.
constexpr int listPaintLoadBudgetMs = 16;
// Milliseconds between a change in the face list and the first font made ahead.
constexpr int fontsAheadDelay = 30;

QFont tahoma(int pixels, bool bold = false)
{
    return sys::faceFont(QStringLiteral("Tahoma"), pixels, bold);
}

// The title label shows a name in any script in one face that holds it whole.
void showTitle(QLabel* title, const QString& text)
{
    const QFont font = sys::fontForText(tahoma(24), text);
    if (font != title->font()) {
        title->clear(); // the old text is never laid out in the new face
        title->setFont(font);
    }
    title->setText(text);
}

// Names and paths come in every script: the field takes a face that holds the text
// whole before it lays the text out.
void showName(QLineEdit* field, const QString& text)
{
    const QFont font = sys::fontForText(QApplication::font(field), text);
    if (font != field->font()) {
        field->clear(); // the old text is never laid out in the new face
        field->setFont(font);
    }
    field->setText(text);
}

void setTextColor(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, fw::toQColor(color));
    palette.setColor(QPalette::Text, fw::toQColor(color));
    widget->setPalette(palette);
}

// Every control carries its name as object name, so tests can find it; its
// accessible name stays its text.
template <typename Control> Control* named(Control* control, const char* name, const QString& hint = QString())
{
    control->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        control->setToolTip(hint);
    return control;
}

QLabel* picture(QWidget* parent, const char* name, const QString& resource, const QRect& bounds)
{
    auto* label = named(new QLabel(parent), name);
    label->setPixmap(QPixmap(resource));
    label->setScaledContents(true);
    label->setGeometry(bounds);
    return label;
}

QLabel* caption(QWidget* parent, const char* name, const QString& text, const QPoint& at, TColor color = clWhite)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, color);
    label->move(at);
    label->adjustSize();
    return label;
}

// A texture panel in the program's blue, coloured noise, default bevels.
TGrainPanel* panel(QWidget* parent, const char* name, const QRect& bounds, int noiseAmount = 48)
{
    auto* grain = named(new TGrainPanel(parent), name);
    grain->setGeometry(bounds);
    grain->setColor(panelColor);
    grain->setNoiseAmount(noiseAmount);
    return grain;
}

// A gradient button in the look every button of the program shares.
TGradientButton* button(QWidget* parent, const char* name, const QString& text, const QRect& bounds,
                        const QString& hint, bool handCursor = true)
{
    auto* control = named(new TGradientButton(parent), name, hint);
    control->applyProgramLook();
    control->setCaption(text);
    control->setGeometry(bounds);
    if (handCursor)
        control->setCursor(Qt::PointingHandCursor);
    return control;
}

QLineEdit* field(QWidget* parent, const char* name, const QRect& bounds)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setGeometry(bounds);
    edit->setReadOnly(true);
    return edit;
}

// A split button (menu arrow beside it) is one before it joins the bar.
QToolButton* toolButton(QToolBar* bar, const char* name, const QString& icon, const QString& hint, bool toggle,
                        bool split = false)
{
    auto* tool = named(new QToolButton(bar), name, hint);
    tool->setIcon(QIcon(icon));
    tool->setCheckable(toggle);
    if (split) {
        tool->setPopupMode(QToolButton::MenuButtonPopup);
        // Naming it may have made its accessible interface already, as a plain button.
        if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(tool))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    tool->setAutoRaise(true);
    tool->setText(QString::fromLatin1(name));
    bar->addWidget(tool);
    return tool;
}

} // namespace

TGlyphwellHint::TGlyphwellHint()
{
    hintFont = sys::faceFont(QStringLiteral("Arial Narrow"), 1, true);
    hintFont.setPointSize(10);
    hintColor = QColor(0, 0, 255);
}

TForm1::TForm1(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services(services), faces(services.fonts),
      registryNames(services.registry), faceFonts(std::make_unique<preview::FaceFontCache>()),
      listFonts(std::make_unique<preview::ListItemFonts>(*faceFonts, listPaintLoadBudgetMs)),
      fontsAhead(std::make_unique<preview::FontsAhead>())
{
    installAccessibleWindows();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Glyphwell"));
    setFixedSize(799, 601);
    setFont(tahoma(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, fw::toQColor(formColor));
    setPalette(palette);
    setAutoFillBackground(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The program's own notice of a font change drops the installed face list.
    QPointer<TForm1> self(this);
    services.fontResources.onFontChange([self] {
        if (self) {
            self->faces.invalidate();
            self->finderStale = true;
            self->nameSpecimens.clear();
            self->FileListBox1->Update(); // an install or uninstall from the face view
        }
    });

    createControls();
    createFindBar();
    wireHandlers();
    createOffControls();
    prepareForKeyboardAndReaders();
    // Font files dropped anywhere on the window reach the window itself.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);
    setAcceptDrops(true);
    offerTimer = new QTimer(this);
    offerTimer->setSingleShot(true);
    connect(offerTimer, &QTimer::timeout, this, [this] { offerNextFontFile(); });
    fw::guard([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::setOverlay(TForm2* overlay)
{
    Form2 = overlay;
}

void TForm1::setAbout(TForm3* about)
{
    Form3 = about;
}

void TForm1::createControls()
{
    // Title area
    Image1 = picture(this, "Image1", QStringLiteral(":/resources/title.jpg"), QRect(0, 0, 799, 45));
    Image2 = picture(this, "Image2", QStringLiteral(":/resources/icon.bmp"), QRect(12, 5, 33, 33));
    Label4 = caption(this, "Label4", QStringLiteral("Glyphwell"), QPoint(53, 7));
    Label4->setFont(sys::faceFont(QStringLiteral("Book Antiqua"), 24));
    Label4->adjustSize();
    Panel4 = caption(this, "Panel4", QStringLiteral("Panel4"), QPoint(283, 11));
    Panel4->setFont(tahoma(24));
    Panel4->setGeometry(283, 11, 409, 29);
    Panel4->setAlignment(Qt::AlignCenter);
    GradientButton6 = button(this, "GradientButton6", QStringLiteral("_"), QRect(739, 4, 21, 21),
                             QStringLiteral("Minimize"), false);
    GradientButton5 = button(this, "GradientButton5", QStringLiteral("X"), QRect(763, 4, 21, 21),
                             QStringLiteral("Exit Program"), false);

    // Lists
    GrainPanel5 = panel(this, "GrainPanel5", QRect(1, 45, 218, 307));
    ListBox1 = named(new fw::TListBox(GrainPanel5), "ListBox1", QStringLiteral("Click to view font"));
    ListBox1->setGeometry(4, 4, 208, 302);
    ListBox1->setFont(tahoma(21));
    FileListBox1 = named(new fw::TFileListBox(GrainPanel5), "FileListBox1", QStringLiteral("Click to view font"));
    FileListBox1->setGeometry(4, 4, 208, 302);
    FileListBox1->setLister([this](const QString& folder, const QString& mask) { return listFontFolder(folder, mask); });
    FileListBox1->setMask(catalogue::fontFileMask);
    // Files another program adds to the font folder or takes from it show at once.
    FileListBox1->setFollowing(true);
    FileListBox1->hide();
    Button7 = button(this, "Button7", QStringLiteral("FaceFont"), QRect(2, 351, 75, 25),
                     QStringLiteral("Click to sort by facefont"));
    Button6 = button(this, "Button6", QStringLiteral("FontName"), QRect(73, 351, 75, 25),
                     QStringLiteral("Click to sort by fontname"));
    Button5 = button(this, "Button5", QStringLiteral("FileName"), QRect(144, 351, 74, 25),
                     QStringLiteral("Click to sort by filename"));

    // Auto view
    GrainPanel4 = panel(this, "GrainPanel4", QRect(1, 376, 218, 48));
    CheckBox1 = named(new QCheckBox(QStringLiteral("Auto View"), GrainPanel4), "CheckBox1",
                      QStringLiteral("Select to autoview"));
    CheckBox1->setGeometry(8, 4, 97, 17);
    setTextColor(CheckBox1, clWhite);
    TrackBar1 = named(new QSlider(Qt::Horizontal, GrainPanel4), "TrackBar1", QStringLiteral("Delay auto view"));
    TrackBar1->setGeometry(8, 24, 201, 9);
    TrackBar1->setRange(1, 50);
    TrackBar1->setValue(15);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    fontsAheadTimer = new QTimer(this);
    fontsAheadTimer->setSingleShot(true);
    listFontsTimer = new QTimer(this);
    listFontsTimer->setObjectName(QStringLiteral("ListFontsTimer"));
    listFontsTimer->setSingleShot(true);

    // Information panels; the face views' panel is made last and covers the other.
    Panel3 = panel(this, "Panel3", QRect(2, 424, 216, 175));
    caption(Panel3, "Label11", QStringLiteral("Filename :"), QPoint(6, 12));
    caption(Panel3, "Label12", QStringLiteral("Filepath :"), QPoint(6, 40));
    caption(Panel3, "Label13", QStringLiteral("Facename :"), QPoint(6, 68));
    caption(Panel3, "Label14", QStringLiteral("File Size :"), QPoint(6, 96));
    Edit3 = field(Panel3, "Edit3", QRect(68, 8, 141, 21));
    Edit4 = field(Panel3, "Edit4", QRect(68, 36, 141, 21));
    Edit5 = field(Panel3, "Edit5", QRect(68, 64, 141, 21));
    Edit6 = field(Panel3, "Edit6", QRect(68, 92, 141, 21));
    GradientButton2 = button(Panel3, "GradientButton2", QStringLiteral("Detail Font Information"),
                             QRect(6, 138, 203, 28), QStringLiteral("Click to show font information detail"));
    Panel1 = panel(this, "Panel1", QRect(2, 424, 217, 175));
    caption(Panel1, "Label1", QStringLiteral("Facename :"), QPoint(6, 10));
    caption(Panel1, "Label2", QStringLiteral("Sourcefile :"), QPoint(6, 36));
    caption(Panel1, "Label3", QStringLiteral("Charset :"), QPoint(6, 86));
    Edit2 = field(Panel1, "Edit2", QRect(68, 6, 142, 21));
    ListBox3 = named(new fw::TListBox(Panel1), "ListBox3");
    ListBox3->setGeometry(68, 32, 142, 46);
    ListBox4 = named(new fw::TListBox(Panel1), "ListBox4");
    ListBox4->setGeometry(68, 82, 142, 50);
    GradientButton1 = button(Panel1, "GradientButton1", QStringLiteral("Detail Font Information"),
                             QRect(6, 138, 204, 28), QStringLiteral("Click to show font information detail"));
    // Covered by the face views' panel at start; hidden, so Tab never stops on it.
    Panel3->hide();

    // Preview
    GrainPanel2 = panel(this, "GrainPanel2", QRect(219, 45, 579, 305));
    Edit1 = named(new QPlainTextEdit(QStringLiteral("Type Sample Text Here"), GrainPanel2), "Edit1",
                  QStringLiteral("Type your sample text here"));
    Edit1->setGeometry(6, 5, 568, 260);
    Edit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Edit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont sample = Edit1->font();
    sample.setPointSize(24);
    Edit1->setFont(sample);
    ComboBox1 = named(new QComboBox(GrainPanel2), "ComboBox1", QStringLiteral("Select existed sample text"));
    ComboBox1->setEditable(true);
    ComboBox1->setCompleter(nullptr); // the sample shows exactly what is typed
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setFont(tahoma(13));
    ComboBox1->addItems({QStringLiteral("Sample"), QStringLiteral("Alphabets"),
                         QStringLiteral("The quick brown fox jumps over the lazy dog. 1234567890"),
                         QStringLiteral("Jackdaws love my big sphinx of quartz. 0123456789")});
    ComboBox1->setEditText(QStringLiteral("Sample Text"));
    ComboBox1->setGeometry(8, 272, 385, 24);
    StandardToolBar = named(new QToolBar(GrainPanel2), "StandardToolBar");
    StandardToolBar->setIconSize(QSize(16, 16));
    StandardToolBar->setMovable(false);
    // Tight spacing: the print button's menu arrow has to fit beside the colour button.
    StandardToolBar->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: none; spacing: 0px; }"));
    FontSize = named(new QLineEdit(StandardToolBar), "FontSize", QStringLiteral("Font Size|Select font size"));
    FontSize->setFixedWidth(30);
    StandardToolBar->addWidget(FontSize);
    UpDown1 = named(new fw::TUpDown(StandardToolBar), "UpDown1", QStringLiteral("Click to resize font"));
    UpDown1->setFixedSize(15, 22);
    UpDown1->setRange(0, 100);
    UpDown1->setPosition(24);
    UpDown1->setAssociate(FontSize);
    StandardToolBar->addWidget(UpDown1);
    BoldButton = toolButton(StandardToolBar, "BoldButton", QStringLiteral(":/resources/bold.png"),
                            QStringLiteral("Bold style"), true);
    ItalicButton = toolButton(StandardToolBar, "ItalicButton", QStringLiteral(":/resources/italic.png"),
                              QStringLiteral("Italic style"), true);
    UnderlineButton = toolButton(StandardToolBar, "UnderlineButton", QStringLiteral(":/resources/underline.png"),
                                 QStringLiteral("Underline style"), true);
    StandardToolBar->addSeparator();
    ToolButton1 = toolButton(StandardToolBar, "ToolButton1", QStringLiteral(":/resources/print.png"),
                             QStringLiteral("Print current font detail"), false, true);
    // One click prints, as ever; the arrow beside it offers the PDF file as well.
    PrintSheet = new QAction(QStringLiteral("Print"), ToolButton1);
    SaveSheetPdf = new QAction(print::saveAsPdfCaption, ToolButton1);
    PrintSheet->setObjectName(QStringLiteral("PrintSheet"));
    SaveSheetPdf->setObjectName(QStringLiteral("SaveSheetPdf"));
    auto* printMenu = new QMenu(ToolButton1);
    printMenu->addActions({PrintSheet, SaveSheetPdf});
    ToolButton1->setMenu(printMenu);
    ToolButton3 = toolButton(StandardToolBar, "ToolButton3", QStringLiteral(":/resources/color.png"),
                             QStringLiteral("Click to select color"), false);
    StandardToolBar->setGeometry(392, 269, 186, 30);

    // Character map
    Image3 = picture(this, "Image3", QStringLiteral(":/resources/header.jpg"), QRect(218, 351, 444, 26));
    Label8 = caption(Image3, "Label8", QStringLiteral("Character Map"), QPoint(0, 0));
    Label8->setFont(tahoma(16, true));
    Label8->setGeometry(Image3->rect());
    Label8->setAlignment(Qt::AlignCenter);
    GrainPanel1 = panel(this, "GrainPanel1", QRect(219, 375, 441, 224), 40);
    SortableGrid1 = named(new TSortableGrid(GrainPanel1), "SortableGrid1",
                          QStringLiteral("Hold mouse down to zoom character"));
    SortableGrid1->setGeometry(4, 6, 436, 210);
    SortableGrid1->setColCount(preview::mapColumns);
    SortableGrid1->setRowCount(preview::mapRows);
    SortableGrid1->setFixedCols(0);
    SortableGrid1->setFixedRows(0);
    SortableGrid1->setDefaultColWidth(40);
    SortableGrid1->setDefaultRowHeight(40);
    SortableGrid1->setFont(tahoma(24));
    SortableGrid1->setFixedColor(0x00FFD9D9);
    SortableGrid1->setAlignmentHorz(taCenter);
    SortableGrid1->setAlignmentVert(taMiddle);
    SortableGrid1->setBevelStyle(cbNone);
    SortableGrid1->setProportionalScrollBars(true);
    SortableGrid1->setClickSorting(false);
    createMapChooser();

    // Main tool
    Image4 = picture(this, "Image4", QStringLiteral(":/resources/header.jpg"), QRect(662, 351, 136, 26));
    Label10 = caption(Image4, "Label10", QStringLiteral("Main Tool"), QPoint(0, 0));
    Label10->setFont(tahoma(16, true));
    Label10->setGeometry(Image4->rect());
    Label10->setAlignment(Qt::AlignCenter);
    GrainPanel3 = panel(this, "GrainPanel3", QRect(660, 375, 139, 226));
    Button4 = button(GrainPanel3, "Button4", QStringLiteral("Install Font"), QRect(4, 12, 131, 28),
                     QStringLiteral("Click to install new font"));
    Button3 = button(GrainPanel3, "Button3", QStringLiteral("Uninstall Font"), QRect(4, 46, 131, 28),
                     QStringLiteral("Click to uninstall current font"));
    GradientButton7 = button(GrainPanel3, "GradientButton7", QStringLiteral("BackUp Font"), QRect(4, 80, 131, 28),
                             QStringLiteral("Click to backup or copy current font"));
    GradientButton10 = button(GrainPanel3, "GradientButton10", QStringLiteral("Print All"), QRect(4, 115, 131, 28),
                              QStringLiteral("Click to print all font"));
    SaveCataloguePdf = new QAction(print::saveAsPdfCaption, GradientButton10);
    SaveCataloguePdf->setObjectName(QStringLiteral("SaveCataloguePdf"));
    GradientButton10->addAction(SaveCataloguePdf);
    GradientButton10->setContextMenuPolicy(Qt::ActionsContextMenu);
    GradientButton8 = button(GrainPanel3, "GradientButton8", QStringLiteral("Help"), QRect(4, 151, 131, 28),
                             QStringLiteral("Click to show help file"));
    GradientButton9 = button(GrainPanel3, "GradientButton9", QStringLiteral("About"), QRect(4, 186, 131, 28),
                             QStringLiteral("Click to show about the program"));

    // Hidden, in a window that is never shown, so that assistive tools do not
    // offer them among the window's controls.
    auto* scratch = new QWidget(this, Qt::Window);
    scratch->setObjectName(QStringLiteral("Scratch"));
    ListBox2 = named(new fw::TListBox(scratch), "ListBox2");
    ListBox5 = named(new fw::TListBox(scratch), "ListBox5");
    ListBox6 = named(new fw::TListBox(scratch), "ListBox6");
    dirfont = named(new QLineEdit(QStringLiteral("dirfont"), scratch), "dirfont");
    dirdoc = named(new QLineEdit(QStringLiteral("Edit7"), scratch), "dirdoc");
    for (QWidget* hidden : {static_cast<QWidget*>(ListBox2), static_cast<QWidget*>(ListBox5),
                            static_cast<QWidget*>(ListBox6), static_cast<QWidget*>(dirfont),
                            static_cast<QWidget*>(dirdoc)})
        hidden->hide();
    dirfont->setEnabled(false);
    dirdoc->setEnabled(false);

    // The title picture, its icon and its text are the drag handles.
    for (QWidget* handle : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2),
                            static_cast<QWidget*>(Label4)})
        handle->installEventFilter(this);
    // The face label over the title picture takes its presses for itself.
    Panel4->setAttribute(Qt::WA_NoMousePropagation);
}

void TForm1::wireHandlers()
{
    fw::connectHandler(GradientButton5, &TGradientButton::OnClick, this, [this] { GradientButton5Click(); });
    fw::connectHandler(GradientButton6, &TGradientButton::OnClick, this, [this] { GradientButton6Click(); });
    fw::connectHandler(ListBox1, &fw::TListBox::OnClick, this, [this] { ListBox1Click(); });
    fw::connectHandler(FileListBox1, &fw::TListBox::OnClick, this, [this] { FileListBox1Click(); });
    fw::connectHandler(Button7, &TGradientButton::OnClick, this, [this] { Button7Click(); });
    fw::connectHandler(Button6, &TGradientButton::OnClick, this, [this] { Button6Click(); });
    fw::connectHandler(Button5, &TGradientButton::OnClick, this, [this] { Button5Click(); });
    fw::connectHandler(BoldButton, &QToolButton::clicked, this, [this] { BoldButtonClick(); });
    fw::connectHandler(ItalicButton, &QToolButton::clicked, this, [this] { ItalicButtonClick(); });
    fw::connectHandler(UnderlineButton, &QToolButton::clicked, this, [this] { UnderlineButtonClick(); });
    fw::connectHandler(FontSize, &QLineEdit::textChanged, this, [this] { FontSizeChange(); });
    fw::connectHandler(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
    fw::connectHandler(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
    fw::connectHandler(ComboBox1, &QComboBox::textActivated, this, [this] { ComboBox1Change(); });
    fw::connectHandler(Edit1, &QPlainTextEdit::textChanged, this, [this] { Edit1Change(); });
    fw::connectHandler(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    fw::connectHandler(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    fw::connectHandler(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    fw::connectHandler(fontsAheadTimer, &QTimer::timeout, this, [this] { makeFontsAheadStep(); });
    fw::connectHandler(listFontsTimer, &QTimer::timeout, this, [this] { loadWaitingListFonts(); });
    ListBox1->viewport()->installEventFilter(this);
    fw::connectHandler(ListBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { planFontsAhead(); });
    fw::connectHandler(SortableGrid1, &TSortableGrid::OnMouseDown, this,
                       [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                           SortableGrid1MouseDown(button, shift, x, y);
                       });
    fw::connectHandler(SortableGrid1, &TSortableGrid::OnMouseUp, this,
                       [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                           SortableGrid1MouseUp(button, shift, x, y);
                       });
    fw::connectHandler(Button4, &TGradientButton::OnClick, this, [this] { Button4Click(); });
    fw::connectHandler(Button3, &TGradientButton::OnClick, this, [this] { Button3Click(); });
    fw::connectHandler(GradientButton7, &TGradientButton::OnClick, this, [this] { GradientButton7Click(); });
    fw::connectHandler(GradientButton1, &TGradientButton::OnClick, this, [this] { GradientButton1Click(); });
    fw::connectHandler(GradientButton2, &TGradientButton::OnClick, this, [this] { GradientButton2Click(); });
    fw::connectHandler(GradientButton8, &TGradientButton::OnClick, this, [this] { GradientButton8Click(); });
    fw::connectHandler(GradientButton9, &TGradientButton::OnClick, this, [this] { GradientButton9Click(); });
    fw::connectHandler(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    fw::connectHandler(GradientButton10, &TGradientButton::OnClick, this, [this] { GradientButton10Click(); });
    fw::connectHandler(PrintSheet, &QAction::triggered, this, [this] { ToolButton1Click(); });
    fw::connectHandler(SaveSheetPdf, &QAction::triggered, this, [this] { SaveSheetPdfClick(); });
    fw::connectHandler(SaveCataloguePdf, &QAction::triggered, this, [this] { SaveCataloguePdfClick(); });
}

// ---- Start and title area -------------------------------------------------------

void TForm1::FormCreate()
{
    if (auto* application = fw::TApplication::instance()) {
        application->setHintWindowClass<TGlyphwellHint>();
        application->setHintPause(10);
    }
    ListBox1->setItems(faces.faces());
    setFaceDrawing(true);
    if (ListBox1->ItemIndex() < 0)
        ListBox1->setItemIndex(0);
    const QString face = faces.at(ListBox1->ItemIndex());
    setSampleFace(face);
    SortableGrid1->setFont(characterMapFont(face));
    ListBox1Click();
    markCurrentView(Button7);
    ListBox1->setItemIndex(0);
    FileListBox1->setItemIndex(0);
    dirdoc->setText(services.folders.personal() + QLatin1Char('/'));
    dirfont->setText(services.folders.fonts() + QLatin1Char('/'));
    FileListBox1->setDirectory(dirfont->text());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListBox1->viewport()) {
        if (event->type() == QEvent::Paint)
            listFonts->startPaint();
        return QWidget::eventFilter(watched, event);
    }
    if (watched == Edit1 || watched == SortableGrid1)
        return keyboardEvent(watched, event);
    if (watched == FindEdit || watched == ListBox1 || watched == FileListBox1)
        return (event->type() == QEvent::KeyPress && findKeyEvent(watched, static_cast<QKeyEvent*>(event))) ||
               QWidget::eventFilter(watched, event);
    // Presses, moves and releases on the three drag handles.
    auto type = event->type();
    if (type == QEvent::MouseButtonDblClick)
        type = QEvent::MouseButtonPress; // a quick second press still starts a drag
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        fw::guard([&] {
            if (type == QEvent::MouseButtonPress)
                watched == Image2 ? FormMouseDown(mouse->button(), at.x(), at.y())
                                  : Image1MouseDown(mouse->button(), at.x(), at.y());
            else if (type == QEvent::MouseMove)
                Image1MouseMove(at.x(), at.y());
            else
                Image1MouseUp(mouse->button(), at.x(), at.y());
        });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::FormMouseDown(Qt::MouseButton button, int, int)
{
    if (button != Qt::LeftButton)
        return;
    // Where the platform moves windows itself (Wayland, where a window cannot place
    // itself), the move is handed to it.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && windowHandle() &&
        windowHandle()->startSystemMove())
        return;
    dragging = true;
    dragOrigin = QCursor::pos() - QPoint(x(), y());
}

void TForm1::FormMouseMove(int, int)
{
    if (!dragging)
        return;
    const QPoint cursor = QCursor::pos();
    move(cursor.x() - dragOrigin.x(), cursor.y() - dragOrigin.y());
}

void TForm1::FormMouseUp(Qt::MouseButton button, int, int)
{
    if (button == Qt::LeftButton)
        dragging = false;
}

void TForm1::GradientButton5Click()
{
    if (auto* application = fw::TApplication::instance())
        application->Terminate();
    else
        QCoreApplication::quit();
}

void TForm1::GradientButton6Click()
{
    if (auto* application = fw::TApplication::instance(); application && application->MainForm())
        application->Minimize();
    else
        showMinimized();
}

// ---- Face list and preview --------------------------------------------------------

void TForm1::setFaceDrawing(bool ownFace)
{
    if (ownFace)
        ListBox1->setOwnerDraw([this](QPainter& canvas, int index, const QRect& rect,
                                      const QColor& fill) { ListBox1DrawItem(canvas, index, rect, fill); },
                               faceItemHeight);
    else
        ListBox1->setPlainDraw();
}

void TForm1::ListBox1DrawItem(QPainter& canvas, int index, const QRect& rect, const QColor& fill)
{
    const QStringList& all = finding ? ListBox1->Items() : faces.faces();
    if (index < 0 || index >= all.size())
        return;
    const QString face = all.at(index);
    // A face turned off is greyed (its text halfway to the fill) and says so.
    QString name = face;
    if (faces.isOff(face)) {
        const QColor text = canvas.pen().color();
        canvas.setPen(QColor((text.red() + fill.red()) / 2, (text.green() + fill.green()) / 2,
                             (text.blue() + fill.blue()) / 2));
        name += manage::offMark;
    }
    if (listFonts->holdingPaint() && !nameSpecimens.contains(face)) {
        // Right after a keystroke a face not drawn before shows its name plainly; the
        // paint after its font is loaded looks at what it can write.
        listFonts->font(ListBox1->font(), face);
        preview::drawFaceItem(canvas, rect, fill, sys::fontForText(ListBox1->font(), name), name);
        if (!listFontsTimer->isActive())
            listFontsTimer->start(0);
        return;
    }
    const std::optional<QString>& specimen = nameSpecimenOf(face);
    if (!specimen)
        preview::drawFaceItem(canvas, rect, fill, listFonts->font(ListBox1->font(), face), name);
    else if (specimen->isEmpty())
        preview::drawFaceItem(canvas, rect, fill, ListBox1->font(), name);
    else
        preview::drawSpecimenItem(canvas, rect, fill, ListBox1->font(), listFonts->font(ListBox1->font(), face), name,
                                  *specimen);
    if (listFonts->hasWaiting() && !listFontsTimer->isActive())
        listFontsTimer->start(0);
}

void TForm1::loadWaitingListFonts()
{
    const int top = ListBox1->TopIndex();
    const int bottom = ListBox1->BottomIndex();
    const QStringList all = finding ? ListBox1->Items() : faces.faces();
    const bool done = listFonts->loadWaiting(ListBox1->font(), [&](const QString& face) {
        for (int row = std::max(top, 0); row <= bottom && row < all.size(); ++row)
            if (all.at(row) == face)
                return true;
        return false;
    });
    ListBox1->viewport()->update();
    if (!done)
        listFontsTimer->start(0);
}

void TForm1::ListBox1Click()
{
    const int index = ListBox1->ItemIndex();
    if (index < 0)
        return; // nothing selected: nothing to preview
    const QString face = ListBox1->itemText(index);
    setSampleFace(faceAt(index));
    showSampleFor(faceAt(index));

    const catalogue::ProbeResult result = registryNames.probe(face);
    ListBox2->setItems(QStringList(result.begin(), result.end()));
    QStringList sources = catalogue::sourceFiles(result);
    if (sources.isEmpty())
        sources << catalogue::noFileFound;
    ListBox3->setItems(sources);
    showName(Edit2, face);
    QStringList charsets;
    catalogue::appendCharsets(services.fonts, face, charsets);
    ListBox4->setItems(charsets);

    SortableGrid1->setFont(characterMapFont(faceAt(index)));
    showFaceMap(faceAt(index));
    showTitle(Panel4, face);
}

QFont TForm1::characterMapFont(const QString& face) const
{
    // The face in the map's own size and plain style.
    QFont grid = SortableGrid1->font();
    grid.setWeight(QFont::Normal);
    grid.setItalic(false);
    sys::setFace(grid, face, sys::Fallback::None);
    return grid;
}

QList<QFont> TForm1::previewFontsOf(const QString& face) const
{
    // The fonts ListBox1Click gives the sample and the character map.
    QFont sample = Edit1->font();
    sys::setFace(sample, face, sys::Fallback::None);
    return {sample, characterMapFont(face)};
}

QList<QFont> TForm1::fontsAheadOf(const QString& face)
{
    QList<QFont> fonts = previewFontsOf(face);
    // The face's own item in the list, for when it scrolls into view.
    if (ListBox1->isOwnerDrawn())
        fonts << faceFonts->font(ListBox1->font(), face);
    return fonts;
}

void TForm1::planFontsAhead()
{
    if (!ListBox1->isVisibleTo(this))
        return;
    const int count = ListBox1->Count();
    QStringList likely;
    // The arrow keys and the auto view go to the neighbours, a click to a face in view.
    const int selected = ListBox1->ItemIndex();
    for (const int row : {selected + 1, selected - 1}) {
        if (selected >= 0 && row >= 0 && row < count)
            likely << ListBox1->itemText(row);
    }
    // Then the faces in view, and the pages below and above it for scrolling.
    const int top = ListBox1->TopIndex();
    const int bottom = ListBox1->BottomIndex();
    if (top >= 0 && bottom >= top) {
        const int page = bottom - top + 1;
        const auto add = [&](int from, int to) {
            for (int row = std::max(0, from); row <= std::min(to, count - 1); ++row)
                likely << ListBox1->itemText(row);
        };
        add(top, bottom);
        add(bottom + 1, bottom + page);
        add(top - page, top - 1);
    }
    // Everything except the face that decides which fonts Qt loads. Underlining is
    // drawn over the same font, so it is left out.
    QString settings = ListBox1->isOwnerDrawn() ? QStringLiteral("items") : QString();
    for (QFont font : previewFontsOf(QString())) {
        font.setUnderline(false);
        settings += font.key();
    }
    fontsAhead->plan(likely, settings);
    // A moment later, so what the user just did is drawn first.
    fontsAheadTimer->start(fontsAheadDelay);
}

void TForm1::makeFontsAheadStep()
{
    if (!ListBox1->isVisibleTo(this))
        return; // the file view: the next face view plans afresh
    if (fontsAhead->step([this](const QString& face) { return fontsAheadOf(face); }))
        fontsAheadTimer->start(0);
}

void TForm1::setSampleFace(const QString& face)
{
    sampleFace = face;
    changeSample([](QFont&) {});
}

template <typename Change> void TForm1::changeSample(Change&& change)
{
    QFont sample = Edit1->font();
    change(sample);
    // The style buttons say what the user asked for; the face adds its own.
    sample.setBold(BoldButton->isChecked());
    sample.setItalic(ItalicButton->isChecked());
    if (!sampleFace.isEmpty())
        sys::setFace(sample, sampleFace, sys::Fallback::None);
    Edit1->setFont(sample);
    // What is made ahead follows the sample's face, size and style.
    planFontsAhead();
}

void TForm1::BoldButtonClick()
{
    changeSample([this](QFont& sample) { sample.setBold(BoldButton->isChecked()); });
}

void TForm1::ItalicButtonClick()
{
    changeSample([this](QFont& sample) { sample.setItalic(ItalicButton->isChecked()); });
}

void TForm1::UnderlineButtonClick()
{
    changeSample([this](QFont& sample) { sample.setUnderline(UnderlineButton->isChecked()); });
}

void TForm1::FontSizeChange()
{
    const int size = preview::sampleSize(fw::StrToInt(FontSize->text()));
    changeSample([size](QFont& sample) { sample.setPointSize(size); });
}

void TForm1::ToolButton3Click()
{
    const QColor current = Edit1->palette().color(QPalette::Text);
    if (const auto chosen = fw::dialogs().chooseColor(current)) {
        QPalette palette = Edit1->palette();
        palette.setColor(QPalette::Text, *chosen);
        Edit1->setPalette(palette);
    }
}

void TForm1::ComboBox1Change()
{
    Edit1->setPlainText(preview::sampleText(ComboBox1->currentText()));
}

// ---- Character map zoom -------------------------------------------------------------

void TForm1::SortableGrid1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (!Form2)
        return;
    Form2->showOver(frameGeometry());
    // The map's face at the zoom's own size: a bitmap face picks its strike for it.
    QFont big = Form2->Label1->font();
    sys::setFace(big, sampleFace, sys::Fallback::None);
    Form2->Label1->setFont(big);
    // The selection is read, not the press: the bottom-right cell ends on the label.
    const fw::TGridRect selection = SortableGrid1->Selection();
    for (int row = selection.Top; row <= selection.Bottom; ++row) {
        for (int column = selection.Left; column <= selection.Right; ++column)
            Form2->Label1->setText(SortableGrid1->Cells(column, row));
        if (!Form2->Label1->text().isEmpty())
            Form2->setCodeLine(preview::zoomCodeLine(Form2->Label1->text(), mapEightBit));
    }
}

void TForm1::SortableGrid1MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (!Form2)
        return;
    Form2->close();
    Form2->setCodeLine(QStringLiteral("Unknown ASCII Code"));
}

// ---- File view and list views -------------------------------------------------------

QString TForm1::selectedFileName() const
{
    return FileListBox1->itemText(FileListBox1->ItemIndex());
}

void TForm1::FileListBox1Click()
{
    if (FileListBox1->ItemIndex() < 0)
        return; // no file to describe
    const QString name = selectedFileName();
    Edit5->clear();
    ListBox5->setItems(faces.faces());
    registryNames.faceForFile(ListBox5->Items(), name, [this](const QString& face) { showName(Edit5, face); });
    ListBox5->setItemIndex(ListBox5->Count() - 1);
    if (Edit5->text().isEmpty())
        showName(Edit5, catalogue::noFaceFound);
    showName(Edit3, name);
    showName(Edit4, dirfont->text());
    showName(Edit6, catalogue::fileSizeField(services.files, dirfont->text() + name));
    if (Edit5->text() != catalogue::noFaceFound)
        setSampleFace(Edit5->text());
    showTitle(Panel4, Edit5->text());
}

void TForm1::showView(bool faceList)
{
    Panel1->setVisible(faceList);
    Panel3->setVisible(!faceList);
    FileListBox1->setVisible(!faceList);
    ListBox1->setVisible(faceList);
    if (finding && !faceList)
        FileListBox1->Update(); // narrowed by the words found
    showFindCount();
}

void TForm1::markCurrentView(TGradientButton* current)
{
    for (TGradientButton* view : {Button7, Button6, Button5})
        view->setCurrent(view == current);
}

void TForm1::openFaceView(bool ownFace, TGradientButton* button)
{
    showView(true);
    setFaceDrawing(ownFace);
    if (ListBox1->ItemIndex() < 0)
        ListBox1->setItemIndex(0);
    ListBox1Click();
    markCurrentView(button);
    // Follow the face of the file view, without previewing it.
    ListBox1->setItemIndex(catalogue::followIndex(ListBox1->Items(), Edit5->text(), catalogue::noFaceFound));
}

void TForm1::Button7Click()
{
    openFaceView(true, Button7);
}

void TForm1::Button6Click()
{
    openFaceView(false, Button6);
}

void TForm1::Button5Click()
{
    showView(false);
    FileListBox1->setDirectory(dirfont->text());
    FileListBox1->setItemIndex(0);
    FileListBox1Click();
    markCurrentView(Button5);
    ListBox3->setItemIndex(0);
    FileListBox1->setItemIndex(
        catalogue::followIndex(FileListBox1->Items(), ListBox3->itemText(0), catalogue::noFileFound));
}

// ---- Auto view -------------------------------------------------------------------------

void TForm1::CheckBox1Click()
{
    Timer1->setInterval(preview::autoViewInterval(TrackBar1->value()));
    if (CheckBox1->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

void TForm1::TrackBar1Change()
{
    const int interval = preview::autoViewInterval(TrackBar1->value());
    if (Timer1->isActive())
        Timer1->start(interval); // a new interval starts a new period
    else
        Timer1->setInterval(interval);
}

void TForm1::Timer1Timer()
{
    if (ListBox1->isVisibleTo(this)) {
        const preview::AutoViewStep step = preview::autoViewStep(ListBox1->Count(), ListBox1->ItemIndex());
        if (step.preview >= 0) {
            ListBox1->setItemIndex(step.preview);
            ListBox1Click();
            ListBox1->setItemIndex(step.selectAfter);
        }
    }
    if (FileListBox1->isVisibleTo(this)) {
        const preview::AutoViewStep step = preview::autoViewStep(FileListBox1->Count(), FileListBox1->ItemIndex());
        if (step.preview >= 0) {
            FileListBox1->setItemIndex(step.preview);
            FileListBox1Click();
            FileListBox1->setItemIndex(step.selectAfter);
        }
    }
}

preview::CharacterMapCells TForm1::characterMapCells() const
{
    preview::CharacterMapCells map;
    for (int column = 0; column < SortableGrid1->ColCount(); ++column) {
        map.columnWidths << SortableGrid1->ColWidths(column);
        QStringList cells;
        for (int row = 0; row < SortableGrid1->RowCount(); ++row)
            cells << SortableGrid1->Cells(column, row);
        map.columns << cells;
    }
    return map;
}

// ---- Font management ------------------------------------------------------------------

void TForm1::reloadFaceList()
{
    if (finding) {
        applyFind(); // the faces found among the new list
        return;
    }
    ListBox1->setItems(faces.faces());
    planFontsAhead();
}

void TForm1::Button4Click()
{
    const auto source = fw::dialogs().openFile({catalogue::fontFileFilter, 1, QString(), QString()});
    if (!source)
        return;
    installFontFile(*source);
}

void TForm1::installFontFile(const QString& path)
{
    const manage::InstallResult result =
        manage::installFont(services.files, services.fontResources, dirfont->text(), path);
    if (!result.installed()) {
        fw::ShowMessage(manage::installRefusal(result, path));
        return;
    }
    reloadFaceList();
    ListBox1->setItemIndex(0);
}

void TForm1::Button3Click()
{
    if (ListBox1->isVisibleTo(this)) {
        const int index = ListBox1->ItemIndex();
        if (index < 0)
            return; // no face selected: nothing to uninstall
        const QString face = ListBox1->itemText(index);
        const catalogue::ProbeResult result = registryNames.probe(face);
        const QStringList others = manage::facesLeavingWith(services.files, services.fonts, dirfont->text(), face, result);
        if (!fw::ConfirmYes(manage::confirmUninstallFace(face, others)))
            return;
        if (!manage::uninstallFace(services.files, services.fontResources, dirfont->text(), result))
            fw::ShowMessage(manage::missingSourceMessage);
        reloadFaceList();
        ListBox1->setItemIndex(-1);
    }
    if (FileListBox1->isVisibleTo(this)) {
        if (FileListBox1->ItemIndex() < 0)
            return; // no file selected: nothing to delete
        const QString name = selectedFileName();
        if (!fw::ConfirmYes(manage::confirmDeleteFile(name)))
            return;
        if (!manage::deleteFontFile(services.files, dirfont->text(), name))
            fw::ShowMessage(manage::missingSourceMessage);
        // Read the folder again so the list never shows a deleted file.
        FileListBox1->Update();
    }
}

void TForm1::GradientButton7Click()
{
    const QString backupFolder = dirdoc->text() + QStringLiteral("Glyphwell");
    if (!services.files.folderExists(backupFolder))
        services.files.createFolder(backupFolder);
    QStringList names;
    if (ListBox1->isVisibleTo(this)) {
        ListBox3->setItemIndex(0);
        if (ListBox3->itemText(0) == catalogue::noFileFound) {
            fw::ShowMessage(manage::noBackupSourceMessage);
            return;
        }
        names = ListBox3->Items();
        ListBox3->setItemIndex(ListBox3->Count() - 1);
    }
    if (FileListBox1->isVisibleTo(this)) {
        if (FileListBox1->ItemIndex() < 0)
            return; // no file selected: nothing to copy
        names = QStringList{selectedFileName()};
    }
    const QStringList failures = manage::backupFiles(services.files, dirfont->text(), backupFolder, names);
    fw::ShowMessage(failures.isEmpty() ? manage::backupSuccess(backupFolder)
                                       : manage::backupFailures(backupFolder, failures));
}

void TForm1::GradientButton1Click()
{
    ListBox3->setItemIndex(0);
    const QString first = ListBox3->itemText(0);
    if (first.isEmpty() || first == catalogue::noFileFound)
        return;
    services.shell.open(manage::fontFilePath(dirfont->text(), first));
}

void TForm1::GradientButton2Click()
{
    services.shell.open(manage::fontFilePath(dirfont->text(), Edit3->text()));
}

// ---- Help and About ----------------------------------------------------------------------

void TForm1::GradientButton8Click()
{
    services.shell.open(
        helpFilePath(sys::executablePath(), [this](const QString& path) { return services.files.fileExists(path); }));
}

void TForm1::GradientButton9Click()
{
    if (Form3)
        Form3->showAbout();
}
