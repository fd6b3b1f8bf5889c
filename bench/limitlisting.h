// The limit: the listing calls population and refresh make, with no tree at all.
#ifndef ARBOLIX_BENCH_LIMITLISTING_H
#define ARBOLIX_BENCH_LIMITLISTING_H

#include <cstdint>
#include <string_view>

namespace bench {

// What a bare listing saw; the byte sum keeps the work from being optimised away and lets the
// caller check that every entry was read.
struct ListingTally
{
    int64_t entries = 0;
    uint64_t bytes = 0;
};

// The whole directory, as FillTree reads it: a counting pass over the stations, then every
// station, compound and block, each block line formatted into one reused buffer.
ListingTally listWholeDirectory();

// One station's compounds and their blocks, as a refresh of the station reads them.
ListingTally listStation(std::string_view station);

} // namespace bench

#endif
