#include "bench/limitlisting.h"

#include "bench/directoryreader.h"

namespace bench {

namespace {

// Counts entries and bytes, so the reading cannot be optimised away and can be checked.
struct TallySink
{
    ListingTally tally;

    int station(std::string_view name) { return compound(0, name); }
    int compound(int, std::string_view name)
    {
        ++tally.entries;
        tally.bytes += name.size();
        return 0;
    }
    void block(int, std::string_view line) { compound(0, line); }
};

} // namespace

ListingTally listWholeDirectory()
{
    TallySink sink;
    DirectoryReader<TallySink>(sink).readAll();
    return sink.tally;
}

ListingTally listStation(std::string_view station)
{
    TallySink sink;
    DirectoryReader<TallySink>(sink).readBelow(station, 0);
    return sink.tally;
}

} // namespace bench
