// The tree sink of a listing the main window waits for (the population, a refresh), run behind an
// event gate. Between library calls it lets the pending non-input events run, at most every
// kEventIntervalMs, so the windows repaint and a termination request is seen (it comes as a
// socket notification); once the program is ending it stops the walk before the next call.
#ifndef ARBOLIX_DIRECTORY_WAITEDTREESINK_H
#define ARBOLIX_DIRECTORY_WAITEDTREESINK_H

#include "directory/treesink.h"
#include "toolkit/eventgate.h"

#include <QElapsedTimer>

namespace directory {

class WaitedTreeSink : public TreeSink
{
public:
    static constexpr qint64 kEventIntervalMs = 40;

    // ending: true once the program was asked to end; read before every library call.
    WaitedTreeSink(tk::TreeCtrl& tree, const bool& ending) : TreeSink(tree), m_ending(ending)
    {
        m_sinceEvents.start();
    }

    bool proceed()
    {
        letEventsRun();
        return !m_ending;
    }

protected:
    void letEventsRun()
    {
        if (m_sinceEvents.elapsed() < kEventIntervalMs)
            return;
        tk::EventGate::processNonInputEvents();
        m_sinceEvents.restart();
    }

    bool ending() const { return m_ending; }

private:
    const bool& m_ending;
    QElapsedTimer m_sinceEvents;
};

} // namespace directory

#endif
