#pragma once

#include <QApplication>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

class QWidget;

namespace fw {

// The window that shows hints: Qt's tool tip, in this object's font and colour, for
// the part of a hint before "|", hidden again after the application's hide pause.
class THintWindow : public QObject {
    Q_OBJECT
public:
    THintWindow();
    QFont font() const { return hintFont; }
    QColor textColor() const { return hintColor; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QFont hintFont;
    QColor hintColor = Qt::black;
};

// The application object: title, hint window and pauses, minimise and terminate,
// and the default handler that shows an error raised inside any handler.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    QString Title() const;
    void setTitle(const QString& title);

    // Makes a hint window of the given class the one that shows every hint.
    template <typename HintClass> void setHintWindowClass() { installHintWindow(std::make_unique<HintClass>()); }
    THintWindow* HintWindow() const { return hintWindow.get(); }

    int HintPause() const { return hintPause; }
    void setHintPause(int milliseconds);
    int HintHidePause() const { return hintHidePause; }

    void setMainForm(QWidget* form) { mainForm = form; }
    QWidget* MainForm() const { return mainForm; }
    void Minimize();
    void Terminate();

    bool notify(QObject* receiver, QEvent* event) override;

    static TApplication* instance();

private:
    void installHintWindow(std::unique_ptr<THintWindow> window);

    std::unique_ptr<THintWindow> hintWindow;
    int hintPause = 500;
    int hintHidePause = 2500;
    QPointer<QWidget> mainForm;
};

QString applicationTitle();

// The default error handler: shows the error's text in a plain message box.
void HandleException(std::exception_ptr error);

// Runs one handler; an error it raises is shown and the handler stops there.
template <typename Handler> void guard(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

// Connects a signal to a handler that runs under the default error handler, so no
// error crosses the event loop. The handler takes the signal's arguments or none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, QObject* context, Handler handler)
{
    if constexpr (std::is_invocable_v<const Handler&>) {
        return QObject::connect(sender, signal, context, [handler] { guard(handler); });
    } else {
        return QObject::connect(sender, signal, context, [handler](auto&&... args) {
            guard([&] { handler(std::forward<decltype(args)>(args)...); });
        });
    }
}

} // namespace fw
