// Holds back input and close requests while a long job runs on the user-interface thread, so
// the job can let the screen repaint without the operator reaching any handler meanwhile.
#ifndef ARBOLIX_TOOLKIT_EVENTGATE_H
#define ARBOLIX_TOOLKIT_EVENTGATE_H

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;

namespace tk {

// Operator input and close requests: what a gate holds, and what a window blocked by a box refuses.
bool isHeldType(QEvent::Type type);

class EventGate : public QObject
{
    Q_OBJECT
public:
    // Closes the gate: from now on input and close events for widgets are held.
    EventGate();
    // Opens the gate: the held events are posted again, in the order they came.
    ~EventGate() override;

    // Runs every pending event that is not user input: paints, timers, socket notifiers and
    // queued calls alike. With a gate closed, input and close requests stay held.
    static void processNonInputEvents();

    // Forgets the input held so far and the input still on its way; close requests stay held.
    // For a job cut short because the program is ending: what the operator did meanwhile must
    // not act on the way out.
    void discardHeldInput();

    // Forgets the pointer input held so far and still on its way (button presses, releases and
    // double-clicks, the wheel, touch and tablet, and menus asked for with a button) that is
    // aimed at area or anything inside it; keys, close requests and pointer input elsewhere stay
    // held. For a job that moved area's rows: a click given there meanwhile was aimed at rows
    // that may no longer be where the pointer was, while a button has not moved.
    void discardHeldPointerInput(const QWidget& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class Predicate> void discardHeld(Predicate discard);

    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> m_held;
};

} // namespace tk

#endif
