#include "bench/populationwatch.h"

#include "app/arbolixdlg.h"
#include "bench/clock.h"
#include "dirapi/dirapi_control.h"
#include "directory/initdlg.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>

namespace bench {

namespace {
constexpr int kPatienceMs = 600'000;
}

PopulationWatch::PopulationWatch(CArbolixDlg& dlg, std::function<void()> before,
                                 std::function<void()> after)
    : m_dlg(dlg), m_before(std::move(before)), m_after(std::move(after))
{
    m_dlg.installEventFilter(this);
    // FillTree's first step is the station count: the library tells us when it is asked.
    dirapi_control::setBeforeCall([this](dirapi_control::Function function, int) {
        if (function == dirapi_control::Function::AllSta && m_fillStartNs == 0) {
            m_fillStartNs = monotonicNanoseconds();
            m_initDlg = m_dlg.m_pInitDlg.data();
        }
    });
}

PopulationWatch::~PopulationWatch()
{
    dirapi_control::setBeforeCall({});
    m_dlg.removeEventFilter(this);
}

bool PopulationWatch::waitUntilDone()
{
    const QDeadlineTimer deadline(kPatienceMs);
    while (!isDone() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return isDone();
}

bool PopulationWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_dlg)
        return false;
    if (event->type() == QEvent::ChildRemoved && m_fillEndNs == 0 && m_initDlg &&
        static_cast<QChildEvent*>(event)->child() == m_initDlg) {
        m_fillEndNs = monotonicNanoseconds();
        return false;
    }
    // Once the population's tick has begun, the ticks it lets run inside it and all later ones
    // are the window's own business.
    if (event->type() != QEvent::Timer || m_startNs != 0)
        return false;
    if (m_before)
        m_before();
    m_startNs = monotonicNanoseconds();
    static_cast<QObject&>(m_dlg).event(event);
    if (!m_dlg.isPopulated()) {
        m_startNs = 0;
        return true; // some other timer of the window; the population is still to come
    }
    m_endNs = monotonicNanoseconds();
    if (m_after)
        m_after();
    return true;
}

} // namespace bench
