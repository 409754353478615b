#include "framework/Application.h"

#include "framework/Dialogs.h"
#include "framework/Errors.h"
#include "system/TextFaces.h"

#include <QHelpEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

namespace fw {

namespace {

// Carries the hint pause into Qt's tool tip timing.
class HintTimingStyle : public QProxyStyle {
public:
    explicit HintTimingStyle(QStyle* base) : QProxyStyle(base) {}
    int wakeUpDelay = 500;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return wakeUpDelay;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

HintTimingStyle* timingStyle = nullptr;

} // namespace

THintWindow::THintWindow() : hintFont(QApplication::font()) {}

bool THintWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    const QString hint = widget->toolTip();
    if (hint.isEmpty())
        return QObject::eventFilter(watched, event);
    // The text before "|" is the short hint shown in the window.
    const QString shortHint = hint.section(QLatin1Char('|'), 0, 0);
    // A hint in a script the hint face lacks is drawn in a face that has it, found
    // once, not by a search over every installed font.
    QToolTip::setFont(sys::fontForText(hintFont, shortHint));
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipText, hintColor);
    QToolTip::setPalette(palette);
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto* application = TApplication::instance();
    QToolTip::showText(help->globalPos(), shortHint, widget, QRect(),
                       application ? application->HintHidePause() : 2500);
    return true;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    auto* style = new HintTimingStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    timingStyle = style;
    setStyle(style); // the application owns the style
    timingStyle->wakeUpDelay = hintPause;
}

TApplication::~TApplication()
{
    if (hintWindow)
        removeEventFilter(hintWindow.get());
    timingStyle = nullptr;
}

TApplication* TApplication::instance()
{
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

QString TApplication::Title() const
{
    return applicationDisplayName();
}

void TApplication::setTitle(const QString& title)
{
    setApplicationName(title);
    setApplicationDisplayName(title);
}

void TApplication::setHintPause(int milliseconds)
{
    hintPause = milliseconds;
    if (timingStyle)
        timingStyle->wakeUpDelay = milliseconds;
}

void TApplication::installHintWindow(std::unique_ptr<THintWindow> window)
{
    if (hintWindow)
        removeEventFilter(hintWindow.get());
    hintWindow = std::move(window);
    if (hintWindow)
        installEventFilter(hintWindow.get());
}

void TApplication::Minimize()
{
    if (mainForm)
        mainForm->showMinimized();
}

void TApplication::Terminate()
{
    quit();
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    // Last line of defence: handlers run under guard(), but nothing may escape here.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

QString applicationTitle()
{
    const QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Glyphwell") : title;
}

void HandleException(std::exception_ptr error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const Error& raised) {
        text = raised.text();
    } catch (const std::exception& raised) {
        text = QString::fromLocal8Bit(raised.what());
    } catch (...) {
        text = QStringLiteral("An unknown error occurred");
    }
    ShowMessage(text);
}

} // namespace fw
