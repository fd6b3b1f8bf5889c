#include "app/windowdestroywatch.h"

#include <QCoreApplication>
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

bool WindowDestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !m_window)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent; a destroyed window is reported by the
    // server alone.
    if (event->response_type != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    // The id the window has now: one Qt replaced and destroyed itself is no longer it.
    const WId current = m_window->internalWinId();
    if (current != 0 && destroyed->window == current)
        emit windowDestroyed();
    return false; // Qt's own handling goes on
}
