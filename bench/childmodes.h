// Figures that need a process of their own: resident memory per item (memory a variant freed
// stays with the process and would skew the next) and the time from process start.
#ifndef ARBOLIX_BENCH_CHILDMODES_H
#define ARBOLIX_BENCH_CHILDMODES_H

#include "bench/benchplant.h"

#include <QStringList>
#include <optional>

namespace bench {

enum class TreeVariant
{
    Arbolix,
    Plain
};

struct StartTimes
{
    double firstPaintMs = 0;
    double populatedMs = 0;
};

// Parent side: runs this program again in a child mode, on a plant the stand-in library takes
// from its environment. nullopt when the child failed.
std::optional<double> measureBytesPerItem(TreeVariant variant, const PlantShape& shape);
std::optional<StartTimes> measureStart(const PlantShape& shape);

// Child side: when the arguments name a child mode, runs it, prints its figures on standard
// output and returns the exit code; nullopt for arguments that name no child mode.
std::optional<int> runChildMode(const QStringList& arguments);

} // namespace bench

#endif
