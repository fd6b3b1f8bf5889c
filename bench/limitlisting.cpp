#include "bench/limitlisting.h"

#include "bench/benchreading.h"

namespace bench {

namespace {

// Counts entries and bytes, so the reading cannot be optimised away and can be checked.
struct TallySink
{
    ListingTally tally;

    bool station(std::string_view name) { return compound(true, name); }
    bool compound(bool, std::string_view name)
    {
        ++tally.entries;
        tally.bytes += name.size();
        return true;
    }
    void block(bool, std::string_view line) { compound(true, line); }
};

} // namespace

ListingTally listWholeDirectory()
{
    TallySink sink;
    readWholeDirectory(sink);
    return sink.tally;
}

ListingTally listStation(std::string_view station)
{
    TallySink sink;
    ReadingBuffers reading;
    directory::DirectoryReader(reading.buffers(), reading.words, reading.line, sink)
        .readCompounds(station, true);
    return sink.tally;
}

} // namespace bench
