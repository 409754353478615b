#pragma once

#include "app/Services.h"
#include "catalogue/FaceSearch.h"
#include "catalogue/InstalledFaces.h"
#include "catalogue/RegistryNames.h"
#include "framework/Application.h"
#include "framework/FileListBox.h"
#include "framework/ListBox.h"
#include "framework/UpDown.h"
#include "manage/FontOffer.h"
#include "manage/TurnedOff.h"
#include "preview/CharacterMap.h"
#include "print/PrintWorker.h"
#include "widgets/GradientButton.h"
#include "widgets/GrainPanel.h"
#include "widgets/SortableGrid.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <deque>
#include <optional>

class QAction;
class QCheckBox;
class QKeyEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSlider;
class QTimer;
class QToolBar;
class QToolButton;
class TForm2;
class TForm3;

namespace preview {
class FaceFontCache;
class FontsAhead;
class ListItemFonts;
}

// The program's hint window: Arial Narrow, 10 points, bold, blue.
class TGlyphwellHint : public fw::THintWindow {
public:
    TGlyphwellHint();
};


// The main window: its controls, and one handler per user action. Handlers read
// the controls, call the logic of catalogue/, preview/, manage/ and print/, and
// write the controls back.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(Services services, QWidget* parent = nullptr);
    ~TForm1() override;

    // The overlay and the About window, made after the main window.
    void setOverlay(TForm2* overlay);
    void setAbout(TForm3* about);
    // A print job is still running, or still ending after a Cancel.
    bool printJobRunning() const;

    // Title area
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Panel4 = nullptr;
    TGradientButton* GradientButton6 = nullptr;
    TGradientButton* GradientButton5 = nullptr;
    // Lists
    TGrainPanel* GrainPanel5 = nullptr;
    fw::TListBox* ListBox1 = nullptr;
    fw::TFileListBox* FileListBox1 = nullptr;
    // The find field over the top of the lists, with the count of what it found.
    QWidget* FindBar = nullptr;
    QLineEdit* FindEdit = nullptr;
    QLabel* FindCount = nullptr;
    TGradientButton* Button7 = nullptr;
    TGradientButton* Button6 = nullptr;
    TGradientButton* Button5 = nullptr;
    // Auto view
    TGrainPanel* GrainPanel4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    // Information panels: file view, then face views over it
    TGrainPanel* Panel3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    TGradientButton* GradientButton2 = nullptr;
    TGrainPanel* Panel1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    fw::TListBox* ListBox3 = nullptr;
    fw::TListBox* ListBox4 = nullptr;
    TGradientButton* GradientButton1 = nullptr;
    // Preview
    TGrainPanel* GrainPanel2 = nullptr;
    QPlainTextEdit* Edit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolBar* StandardToolBar = nullptr;
    QLineEdit* FontSize = nullptr;
    fw::TUpDown* UpDown1 = nullptr;
    QToolButton* BoldButton = nullptr;
    QToolButton* ItalicButton = nullptr;
    QToolButton* UnderlineButton = nullptr;
    QToolButton* ToolButton1 = nullptr;
    // The print button's menu: print, or save the sheet as a PDF file.
    QAction* PrintSheet = nullptr;
    QAction* SaveSheetPdf = nullptr;
    QToolButton* ToolButton3 = nullptr;
    // Character map
    QLabel* Image3 = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* ComboBox2 = nullptr; // the Unicode blocks of the face
    TGrainPanel* GrainPanel1 = nullptr;
    QLabel* MapEmpty = nullptr; // over the grid when the face has nothing to show
    TSortableGrid* SortableGrid1 = nullptr;
    // Main tool
    QLabel* Image4 = nullptr;
    QLabel* Label10 = nullptr;
    TGrainPanel* GrainPanel3 = nullptr;
    TGradientButton* Button4 = nullptr;
    TGradientButton* Button3 = nullptr;
    TGradientButton* GradientButton7 = nullptr;
    TGradientButton* GradientButton10 = nullptr;
    QAction* SaveCataloguePdf = nullptr; // Print All's context menu
    QAction* PrintFound = nullptr;       // ... while faces are being found
    QAction* SaveFoundPdf = nullptr;
    TGradientButton* GradientButton8 = nullptr;
    TGradientButton* GradientButton9 = nullptr;
    // Hidden scratch lists and folder fields
    fw::TListBox* ListBox2 = nullptr;
    fw::TListBox* ListBox5 = nullptr;
    fw::TListBox* ListBox6 = nullptr;
    QLineEdit* dirfont = nullptr;
    QLineEdit* dirdoc = nullptr;
    QTimer* Timer1 = nullptr;

    // Start and title area
    void FormCreate();
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void Image1MouseDown(Qt::MouseButton button, int x, int y) { FormMouseDown(button, x, y); }
    void Image1MouseMove(int x, int y) { FormMouseMove(x, y); }
    void Image1MouseUp(Qt::MouseButton button, int x, int y) { FormMouseUp(button, x, y); }
    void GradientButton5Click();
    void GradientButton6Click();
    bool isDragging() const { return dragging; }

    // Catalogue and preview
    void ListBox1Click();
    void ListBox1DrawItem(QPainter& canvas, int index, const QRect& rect, const QColor& fill);
    void FileListBox1Click();
    void Button7Click();
    void Button6Click();
    void Button5Click();
    void BoldButtonClick();
    void ItalicButtonClick();
    void UnderlineButtonClick();
    void FontSizeChange();
    void ToolButton3Click();
    void ComboBox1Change();
    void ComboBox2Change();
    // The user's sample text, kept while a face that cannot draw it shows its own.
    QString userSampleText() const { return userSample; }
    bool sampleReplaced() const { return sampleSubstituted; }
    void CheckBox1Click();
    void TrackBar1Change();
    void Timer1Timer();
    void SortableGrid1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void SortableGrid1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // Font management, help and about
    void Button4Click();
    void Button3Click();
    void GradientButton7Click();
    void GradientButton1Click();
    void GradientButton2Click();
    void GradientButton8Click();
    void GradientButton9Click();
    void ToolButton1Click();
    void GradientButton10Click();
    void SaveSheetPdfClick();
    void SaveCataloguePdfClick();

    // Finding faces: Ctrl+F, or "/" in a list, opens the find field; Escape closes
    // it and gives the whole list back with the selection kept.
    void openFind();
    void closeFind();
    bool isFinding() const { return finding; }
    void FindEditChange();
    void PrintFoundClick();
    void SaveFoundPdfClick();

    // The face list's context menu (also the Menu key): turn the face off or on.
    QMenu* FaceMenu = nullptr;
    QAction* TurnOff = nullptr;
    QAction* TurnOn = nullptr;
    void ListBox1ContextPopup(const QPoint& at);
    void TurnOffClick();
    void TurnOnClick();

    // Installs a chosen font file as "Install Font" does once its dialog is closed.
    void installFontFile(const QString& path);
    // Font files handed to the program (its command line, a drop): each is previewed
    // and offered for installation, one after the other, between events.
    void offerFontFiles(const QList<manage::OfferedFile>& offered);
    bool isOffering() const { return offering || !pendingOffers.empty(); }

    // The character map's column widths and cells, for the specimen sheet.
    preview::CharacterMapCells characterMapCells() const;

    // The installed face list shared by the whole program.
    catalogue::InstalledFaceList& installedFaces() { return faces; }
    // Switches the face list between faces drawn in their own face and plain text.
    void setFaceDrawing(bool ownFace);
    // The fonts made ahead of the user, and those still waiting to be made.
    const preview::FontsAhead& fontsMadeAhead() const { return *fontsAhead; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void wireHandlers();
    // What a keyboard or screen-reader user needs: spoken names, captions tied to
    // their fields, the tab order, captions that fit, tool tips for cut texts.
    void prepareForKeyboardAndReaders();
    // Before the first accessible event of any window, which fixes its role.
    static void installAccessibleWindows();
    bool keyboardEvent(QObject* watched, QEvent* event);
    // Space held or Enter pressed on the character map zooms the current cell.
    bool SortableGrid1Key(QKeyEvent* key);
    QString selectedFileName() const;
    // Changes the sample's font, then draws it in sampleFace again, so a bitmap face
    // follows the size and a variable font's instance keeps its weight.
    template <typename Change> void changeSample(Change&& change);
    // Shows the sample in a face.
    void setSampleFace(const QString& face);
    // Shows the face list or the file list with their panels.
    void showView(bool faceList);
    // Disables the button of the current view and enables the others.
    void markCurrentView(TGradientButton* current);
    void openFaceView(bool ownFace, TGradientButton* button);
    void reloadFaceList();
    // The sheet and the catalogue, to the default printer or, with a file, a PDF; the
    // catalogue of every face, or of the faces found.
    void printSheet(const QString& pdfFile);
    void printCatalogue(const QString& pdfFile, bool onlyFound = false);
    std::unique_ptr<print::PrintWorker> printWorker = std::make_unique<print::PrintWorker>();

    // Finding faces (Unit1Find.cpp).
    void createFindBar();
    bool findKeyEvent(QObject* watched, QKeyEvent* key);
    // Narrows the face list, and the file list when it shows, to what the field finds.
    void applyFind();
    // Reads what the fonts write and are when they changed, and links the face list.
    void readFaceTraits();
    void showFindCount();
    // The files of the font folder for the file list, narrowed while finding.
    QStringList listFontFolder(const QString& folder, const QString& mask);
    // The face a row of the face list shows; a row outside the list raises the
    // framework's list-index error.
    QString faceAt(int row);
    catalogue::FaceFinder finder;
    bool finding = false;
    bool finderStale = true; // the fonts changed since the finder read their traits
    QStringList finderFaces; // the face list the finder was given
    int folderFiles = 0;     // files in the font folder before finding narrowed them
    QRect listBounds;        // the lists' place while the find field is closed

    Services services;
    catalogue::InstalledFaceList faces;
    catalogue::RegistryNames registryNames;
    std::unique_ptr<preview::FaceFontCache> faceFonts;
    // The face list's item fonts within a time budget per paint; the rest right after.
    std::unique_ptr<preview::ListItemFonts> listFonts;
    QTimer* listFontsTimer = nullptr;
    void loadWaitingListFonts();
    // While the window is idle, the fonts of the faces the user can reach next (the
    // neighbours of the selection, the faces in view, the pages beside it) are made
    // ahead, one face per tick, so that previewing or scrolling to them draws at once.
    std::unique_ptr<preview::FontsAhead> fontsAhead;
    QTimer* fontsAheadTimer = nullptr;
    QString sampleFace; // the face the sample is drawn in
    void planFontsAhead();
    void makeFontsAheadStep();
    QFont characterMapFont(const QString& face) const;
    // The character map's block chooser and its pages for a face.
    void createMapChooser();
    void showFaceMap(const QString& face);
    void fillMapPage(qsizetype page);
    QList<preview::MapPage> mapPages;
    bool mapEightBit = true;
    // The sample for a face: the user's text, or a line of the face's own script
    // when it cannot draw a letter of it.
    void showSampleFor(const QString& face);
    void Edit1Change();
    QString userSample = QStringLiteral("Type Sample Text Here");
    bool sampleSubstituted = false;
    bool settingSample = false;
    // How the face list writes each face's name (see preview::nameSpecimen).
    const std::optional<QString>& nameSpecimenOf(const QString& face);
    QHash<QString, std::optional<QString>> nameSpecimens;
    QList<QFont> previewFontsOf(const QString& face) const;
    QList<QFont> fontsAheadOf(const QString& face);
    void createOffControls();
    // The faces the window's own controls are drawn in (not the previews).
    QStringList controlFaces() const;
    void showTurnedFace(const QString& face, const QString& message);
    std::unique_ptr<manage::FontsTurnedOff> fontsOff;
    void offerNextFontFile();
    void offerFontFile(const manage::OfferedFile& offer);
    void previewFontFile(const QString& path, const QString& face);
    QStringList installedFontFiles();
    std::deque<manage::OfferedFile> pendingOffers;
    // Offered files loaded for this run only, not installed.
    QSet<QString> loadedForRun;
    QTimer* offerTimer = nullptr;
    bool offering = false;
    bool dropAcceptable = false;
    QPointer<TForm2> Form2;
    QPointer<TForm3> Form3;
    QPoint dragOrigin;
    bool dragging = false;
    bool zoomLatched = false; // Enter opened the zoom; Enter or Escape closes it
};
