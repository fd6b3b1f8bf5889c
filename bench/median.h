// The median of a few samples; 0 when there are none.
#ifndef ARBOLIX_BENCH_MEDIAN_H
#define ARBOLIX_BENCH_MEDIAN_H

#include <algorithm>
#include <vector>

namespace bench {

inline double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    if (samples.size() % 2 == 1)
        return samples[middle];
    return (samples[middle - 1] + samples[middle]) / 2;
}

} // namespace bench

#endif
