// The time one full repaint of a tree's viewport takes, the same way for both trees.
#ifndef ARBOLIX_BENCH_VIEWPORTPAINT_H
#define ARBOLIX_BENCH_VIEWPORTPAINT_H

#include "bench/clock.h"
#include "bench/median.h"

#include <QSize>
#include <QWidget>
#include <vector>

namespace bench {

// The viewport both trees are painted in: about thirty rows of the tree's font.
inline constexpr QSize kPaintedViewport(400, 480);

// Median milliseconds of a synchronous repaint of the whole viewport.
inline double medianRepaintMs(QWidget& viewport)
{
    constexpr int kPaints = 31;
    viewport.repaint(); // the first paint lays out and warms the caches
    std::vector<double> samples;
    for (int i = 0; i < kPaints; ++i) {
        const int64_t start = monotonicNanoseconds();
        viewport.repaint();
        samples.push_back(millisecondsSince(start));
    }
    return median(samples);
}

} // namespace bench

#endif
