#include "app/windowdestroywatch.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <xcb/xproto.h>

WindowDestroyWatch::WindowDestroyWatch(const QWidget& window) : m_window(&window)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowDestroyWatch::~WindowDestroyWatch()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void WindowDestroyWatch::closeDestroyed(QWidget& window)
{
    if (window.windowType() == Qt::Popup)
        window.close();
    else if (auto* dialog = qobject_cast<QDialog*>(&window))
        dialog->reject();
    else
        window.close();
}

bool WindowDestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent; a destroyed window is reported by the
    // server alone.
    if (event->response_type != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    // The id a window has now: one Qt replaced and destroyed itself is no longer it.
    const auto isDestroyed = [&](const QWidget& window) {
        const WId current = window.internalWinId();
        return current != 0 && destroyed->window == current;
    };
    if (m_window && isDestroyed(*m_window)) {
        emit windowDestroyed();
        return false;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == m_window || !isDestroyed(*window))
            continue;
        // Closing runs the widgets' own code, which must not run inside the window system's.
        QMetaObject::invokeMethod(
            this,
            [window = QPointer<QWidget>(window)] {
                if (window)
                    closeDestroyed(*window);
            },
            Qt::QueuedConnection);
        break;
    }
    return false; // Qt's own handling goes on
}
