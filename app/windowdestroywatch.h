// Reports a window's X window destroyed by another client (xdotool windowclose, a session
// killing windows): Qt does not notice, and the program would go on running without a window.
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
    // Watches the window for as long as the object lives; needs a QCoreApplication.
    explicit WindowDestroyWatch(const QWidget& window);
    ~WindowDestroyWatch() override;

    WindowDestroyWatch(const WindowDestroyWatch&) = delete;
    WindowDestroyWatch& operator=(const WindowDestroyWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // From inside the window system's event handling: connect with a queued connection.
    void windowDestroyed();

private:
    QPointer<const QWidget> m_window;
};

#endif
