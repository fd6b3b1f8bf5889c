#include "toolkit/eventgate.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tk {

bool isHeldType(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

namespace {

bool isPointerInput(const QEvent& event)
{
    if (event.type() == QEvent::ContextMenu)
        return static_cast<const QContextMenuEvent&>(event).reason() != QContextMenuEvent::Keyboard;
    return event.isPointerEvent();
}

} // namespace

EventGate::EventGate()
{
    QCoreApplication::instance()->installEventFilter(this);
}

EventGate::~EventGate()
{
    QCoreApplication::instance()->removeEventFilter(this);
    for (Held& held : m_held) {
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

void EventGate::processNonInputEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

template <class Predicate> void EventGate::discardHeld(Predicate discard)
{
    // Input still on its way (posted, or queued by the window system) is let reach the gate
    // first, so that it is held, and then dropped, too. The window system's input that waited
    // while only other events ran is read again only once the event loop is woken.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::erase_if(m_held, [&](const Held& held) { return discard(held); });
}

void EventGate::discardHeldInput()
{
    discardHeld([](const Held& held) { return held.event->type() != QEvent::Close; });
}

void EventGate::discardHeldPointerInput(const QWidget& area)
{
    discardHeld([&area](const Held& held) {
        const auto* widget = qobject_cast<const QWidget*>(held.receiver.data());
        return isPointerInput(*held.event) &&
               (!widget || widget == &area || area.isAncestorOf(widget));
    });
}

bool EventGate::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType() || !isHeldType(event->type()))
        return false;
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    // A close request left accepted would close the window although it never reached it. Input
    // left unaccepted would be offered to each parent in turn, and each would hold a copy of its
    // own: one key or click would act several times once the gate opens.
    if (event->type() == QEvent::Close)
        event->ignore();
    else
        event->accept();
    return true;
}

} // namespace tk
