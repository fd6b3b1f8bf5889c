#include "bench/measuresize.h"

#include "bench/arbolixrun.h"
#include "bench/childmodes.h"
#include "bench/clock.h"
#include "bench/limitlisting.h"
#include "bench/median.h"
#include "bench/plaintree.h"
#include "toolkit/fonts.h"

#include <cstdio>
#include <vector>

namespace bench {

namespace {

// Refreshes and bare listings are short: several of each per run steady their medians.
constexpr int kRefreshesPerRun = 5;

void complain(const char* what, const PlantShape& shape)
{
    std::fprintf(stderr, "arbolix_bench: %dx%dx%d: %s\n", shape.stations, shape.compounds,
                 shape.blocks, what);
}

struct Samples
{
    std::vector<double> limit, arbolix, plain, findArbolix, findPlain, refresh, refreshBare;
    std::vector<double> firstPaint, populated, paintArbolix, paintPlain;
};

void measureLimit(const PlantShape& shape, Samples& samples)
{
    const int64_t start = monotonicNanoseconds();
    const ListingTally tally = listWholeDirectory();
    samples.limit.push_back(millisecondsSince(start));
    if (tally.entries != shape.items())
        complain("the bare listing read a different number of entries", shape);
}

void measureArbolix(const PlantShape& shape, Samples& samples)
{
    loadPlant(shape);
    ArbolixRun run;
    const double populated = run.populate();
    if (populated < 0 || run.itemCount() != shape.items()) {
        complain("the main window was not filled with every item", shape);
        return;
    }
    samples.arbolix.push_back(populated);

    bool matched = false;
    samples.findArbolix.push_back(run.walkWithoutMatch(matched));
    if (matched)
        complain("the find walk matched", shape);

    const std::string station = run.firstStation();
    const ListingTally below = listStation(station);
    for (int i = 0; i < kRefreshesPerRun; ++i) {
        const int64_t start = monotonicNanoseconds();
        listStation(station);
        samples.refreshBare.push_back(millisecondsSince(start));
        samples.refresh.push_back(run.refreshFirstStation());
    }
    if (run.itemCount() != shape.items() || below.entries != shape.items() / shape.stations - 1)
        complain("a refresh changed the number of items", shape);
    samples.paintArbolix.push_back(run.paintExpandedViewport());
}

void measurePlain(const PlantShape& shape, Samples& samples)
{
    PlainTree tree;
    samples.plain.push_back(tree.populate());
    if (tree.itemCount() != shape.items())
        complain("the QTreeWidget holds a different number of items", shape);
    bool matched = false;
    samples.findPlain.push_back(tree.walkWithoutMatch(matched));
    if (matched)
        complain("the QTreeWidget walk matched", shape);
    samples.paintPlain.push_back(tree.paintExpandedViewport(tk::fixedPitchFont(9)));
}

void measureStart(const PlantShape& shape, Samples& samples)
{
    if (const auto times = bench::measureStart(shape)) {
        samples.firstPaint.push_back(times->firstPaintMs);
        samples.populated.push_back(times->populatedMs);
    } else {
        complain("the start-up child failed", shape);
    }
}

double bytesPerItem(TreeVariant variant, const PlantShape& shape)
{
    const auto bytes = measureBytesPerItem(variant, shape);
    if (!bytes)
        complain("a memory child failed", shape);
    return bytes.value_or(0);
}

} // namespace

SizeFigures measureSize(const PlantShape& shape, int runs)
{
    Samples samples;
    for (int run = 0; run < runs; ++run) {
        loadPlant(shape);
        measureLimit(shape, samples);
        measureArbolix(shape, samples);
        loadPlant(shape);
        measurePlain(shape, samples);
        measureStart(shape, samples);
    }

    SizeFigures figures;
    figures.shape = shape;
    figures.limitMs = median(samples.limit);
    figures.arbolixMs = median(samples.arbolix);
    figures.plainMs = median(samples.plain);
    figures.findArbolixMs = median(samples.findArbolix);
    figures.findPlainMs = median(samples.findPlain);
    figures.refreshMs = median(samples.refresh);
    figures.refreshBareMs = median(samples.refreshBare);
    figures.firstPaintMs = median(samples.firstPaint);
    figures.populatedMs = median(samples.populated);
    figures.paintArbolixMs = median(samples.paintArbolix);
    figures.paintPlainMs = median(samples.paintPlain);
    // Resident memory hardly varies between runs; one child each is enough.
    figures.arbolixBytesPerItem = bytesPerItem(TreeVariant::Arbolix, shape);
    figures.plainBytesPerItem = bytesPerItem(TreeVariant::Plain, shape);
    return figures;
}

} // namespace bench
