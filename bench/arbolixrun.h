// Arbolix itself: the real main window, shown, filled by its own first timer tick.
#ifndef ARBOLIX_BENCH_ARBOLIXRUN_H
#define ARBOLIX_BENCH_ARBOLIXRUN_H

#include <cstdint>
#include <memory>

class CArbolixDlg;

namespace bench {

class ArbolixRun
{
public:
    // Constructs the main window on the plant the stand-in library serves now.
    ArbolixRun();
    ~ArbolixRun();

    // Creates and shows the window and lets its first tick fill the tree; milliseconds of
    // FillTree, progress bar and its repaints included. Negative on failure.
    double populate();
    int64_t itemCount() const;
    // search::findNext over the whole tree with fragments that match nothing; milliseconds.
    double walkWithoutMatch(bool& matched) const;
    // Expands the first station (once), then times RefreshItem on it while it is expanded.
    double refreshFirstStation();
    // Opens the first station and its first compound, so the viewport is full of rows at
    // every depth, and times one repaint of a viewport of kPaintedViewport; milliseconds.
    double paintExpandedViewport();
    // The text of the first station, for the bare listing to compare against.
    std::string firstStation() const;

private:
    std::unique_ptr<CArbolixDlg> m_dlg;
};

} // namespace bench

#endif
