// Catches the main window's first timer tick, which runs the population, and times it: the tick
// as a whole, and FillTree within it, from its first station listing to the end of the
// Initializing window that it fills behind.
#ifndef ARBOLIX_BENCH_POPULATIONWATCH_H
#define ARBOLIX_BENCH_POPULATIONWATCH_H

#include <QObject>
#include <cstdint>
#include <functional>

class CArbolixDlg;

namespace bench {

// Installed on the main window before it is created. When the tick arrives the watch runs
// `before`, delivers the tick itself (so the window's own handler runs as usual), notes the
// times around it and runs `after`.
class PopulationWatch : public QObject
{
public:
    explicit PopulationWatch(CArbolixDlg& dlg, std::function<void()> before = {},
                             std::function<void()> after = {});
    ~PopulationWatch() override;

    bool isDone() const { return m_endNs != 0; }
    int64_t startNs() const { return m_startNs; }
    int64_t endNs() const { return m_endNs; }
    int64_t fillStartNs() const { return m_fillStartNs; }
    int64_t fillEndNs() const { return m_fillEndNs; }

    // Processes events until the population has run; false if it never came.
    bool waitUntilDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CArbolixDlg& m_dlg;
    std::function<void()> m_before;
    std::function<void()> m_after;
    int64_t m_startNs = 0;
    int64_t m_endNs = 0;
    int64_t m_fillStartNs = 0;
    int64_t m_fillEndNs = 0;
    const QObject* m_initDlg = nullptr; // compared only, never used: it may be gone
};

} // namespace bench

#endif
