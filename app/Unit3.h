#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class TGradientButton;
class TGrainPanel;

// The About window: the title strip, the product name, its version and copyright,
// and an "X" that hides it again. Shown centred on the desktop the first time,
// where it stays.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Shows the window (placing it the first time) and brings it to the front.
    void showAbout();
    void GradientButton5Click();

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label4 = nullptr;
    TGradientButton* GradientButton5 = nullptr;
    TGrainPanel* GrainPanel4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label2 = nullptr;

private:
    bool placed = false;
};

// What assistive tools call the About window.
inline constexpr char aboutSpokenName[] = "About Glyphwell";

// The help page: beside the executable (the executable's folder, without its last
// separator, followed by "/Glyphwell Help.html") when it is there, as in the build
// tree; else in "../share/glyphwell/" beside the executable's folder, where an
// installed program keeps it. When neither exists, the first.
QString helpFilePath(const QString& executablePath, const std::function<bool(const QString&)>& fileExists);
