#include "app/Unit3.h"

#include "framework/Accessible.h"
#include "framework/Application.h"
#include "framework/Colors.h"
#include "system/FontFactory.h"
#include "widgets/GradientButton.h"
#include "widgets/GrainPanel.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, const QPoint& at, const QFont& font)
{
    auto* control = new QLabel(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setTextFormat(Qt::PlainText);
    control->setFont(font);
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, fw::toQColor(clWhite));
    control->setPalette(palette);
    control->move(at);
    control->adjustSize();
    return control;
}

QLabel* picture(QWidget* parent, const char* name, const QString& resource, const QRect& bounds)
{
    auto* control = new QLabel(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setPixmap(QPixmap(resource));
    control->setScaledContents(true);
    control->setGeometry(bounds);
    return control;
}

} // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(417, 258);

    Image1 = picture(this, "Image1", QStringLiteral(":/resources/title.jpg"), QRect(0, 0, 417, 50));
    Image2 = picture(this, "Image2", QStringLiteral(":/resources/icon.bmp"), QRect(9, 11, 33, 33));
    Label4 = label(this, "Label4", QStringLiteral("About"), QPoint(52, 16), sys::faceFont(QStringLiteral("Arial"), 19));
    GradientButton5 = new TGradientButton(this);
    GradientButton5->setObjectName(QStringLiteral("GradientButton5"));
    GradientButton5->applyProgramLook();
    GradientButton5->setCaption(QStringLiteral("X"));
    GradientButton5->setGeometry(388, 7, 21, 21);
    // Escape closes the window as "X" does.
    GradientButton5->setCancel(true);

    GrainPanel4 = new TGrainPanel(this);
    GrainPanel4->setObjectName(QStringLiteral("GrainPanel4"));
    GrainPanel4->setGeometry(0, 50, 417, 208);
    GrainPanel4->setColor(0x00FF5959);
    const QFont version = sys::faceFont(QStringLiteral("Arial"), 13, true);
    Label1 = label(GrainPanel4, "Label1", QStringLiteral("Glyphwell"), QPoint(14, 8),
                   sys::faceFont(QStringLiteral("Times New Roman"), 24, true));
    Label3 = label(GrainPanel4, "Label3", QStringLiteral("Version 1.0"), QPoint(16, 36), version);
    Label6 = label(GrainPanel4, "Label6", QString(56, QLatin1Char('_')) + QLatin1Char(' '), QPoint(16, 44), version);
    Label6->resize(396, Label6->height());
    fw::hideFromReaders(Label6); // a rule of underscores, nothing to read
    Label2 = label(GrainPanel4, "Label2",
                   QStringLiteral("Copyright (c) 2026 the Glyphwell developers. Free to use and share."),
                   QPoint(16, 72), sys::faceFont(QStringLiteral("Tahoma"), 11));

    // A dialog to assistive tools (see TForm1::installAccessibleWindows), named as a
    // person would, its lines read as its description.
    setAccessibleName(QString::fromLatin1(aboutSpokenName));
    GradientButton5->setAccessibleName(QString::fromLatin1(fw::closeSpoken));
    fw::exposeAccessibleIds(this);
    if (!fw::accessibleIdsWanted())
        setAccessibleDescription(QStringList({Label1->text(), Label3->text(), Label2->text()}).join(QStringLiteral(", ")));

    fw::connectHandler(GradientButton5, &TGradientButton::OnClick, this, [this] { GradientButton5Click(); });
}

void TForm3::showAbout()
{
    if (!placed) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
        placed = true;
    }
    show();
    raise();
    activateWindow();
    // The close button takes the focus: a reader starts there, and Escape closes.
    GradientButton5->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm3::GradientButton5Click()
{
    close(); // not the main window: closing only hides it
}

QString helpFilePath(const QString& executablePath, const std::function<bool(const QString&)>& fileExists)
{
    const qsizetype separator = executablePath.lastIndexOf(QLatin1Char('/'));
    const QString folder = executablePath.left(std::max<qsizetype>(separator, 0));
    const QString beside = folder + QStringLiteral("/Glyphwell Help.html");
    const QString installed = QDir::cleanPath(folder + QStringLiteral("/../share/glyphwell/Glyphwell Help.html"));
    return fileExists(beside) || !fileExists(installed) ? beside : installed;
}
