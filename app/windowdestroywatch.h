// Reports a window's X window destroyed by another client (xdotool windowclose, a session
// killing windows): Qt does not notice, and the program would go on running without a window.
// The program's other windows destroyed so are treated as closed.
#ifndef ARBOLIX_APP_WINDOWDESTROYWATCH_H
#define ARBOLIX_APP_WINDOWDESTROYWATCH_H

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>

class QWidget;

class WindowDestroyWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    // Watches the window, and every other top-level window of the program, for as long as the
    // object lives; needs a QApplication.
    explicit WindowDestroyWatch(const QWidget& window);
    ~WindowDestroyWatch() override;

    WindowDestroyWatch(const WindowDestroyWatch&) = delete;
    WindowDestroyWatch& operator=(const WindowDestroyWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // What closing does for a window that is not the watched one, once the window system's
    // event handling is over: a menu closes, a dialog is cancelled (a modal one ends its run),
    // any other window closes.
    static void closeDestroyed(QWidget& window);

signals:
    // The watched window. From inside the window system's event handling: connect with a queued
    // connection, unless the slot only takes note.
    void windowDestroyed();

private:
    QPointer<const QWidget> m_window;
};

#endif
