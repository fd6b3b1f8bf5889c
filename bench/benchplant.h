// The generated plant a benchmark run reads, and how many tree items it makes.
#ifndef ARBOLIX_BENCH_BENCHPLANT_H
#define ARBOLIX_BENCH_BENCHPLANT_H

#include <cstdint>

namespace bench {

inline constexpr int32_t kBatchSize = 256;

struct PlantShape
{
    int stations = 0;
    int compounds = 0; // per station
    int blocks = 0;    // per compound

    int64_t items() const
    {
        const int64_t compoundItems = int64_t{stations} * compounds;
        return stations + compoundItems + compoundItems * blocks;
    }
};

// Makes the stand-in library serve this plant with batches of kBatchSize.
void loadPlant(const PlantShape& shape);

} // namespace bench

#endif
