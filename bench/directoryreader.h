// Reads the directory the way the main window does (same calls, same N, one reused block line)
// and hands each entry to a sink, which may build a tree or only count.
#ifndef ARBOLIX_BENCH_DIRECTORYREADER_H
#define ARBOLIX_BENCH_DIRECTORYREADER_H

#include "bench/benchplant.h"
#include "directory/blockline.h"
#include "directory/listings.h"

#include <array>
#include <string>
#include <string_view>

namespace bench {

// Sink: Station station(name); Compound compound(Station, name); void block(Compound, line).
template <class Sink> class DirectoryReader
{
public:
    explicit DirectoryReader(Sink& sink) : m_sink(sink) {}

    // A counting pass over the stations, then every station with its compounds and blocks.
    void readAll()
    {
        const directory::StationBuffers stations{m_stationNames.data(), m_stationInfo.data(),
                                                 m_stationWords.data()};
        directory::listStations(kBatchSize, m_stationListing, stations, [](std::string_view) {});
        directory::listStations(kBatchSize, m_stationListing, stations, [&](std::string_view name) {
            readBelow(name, m_sink.station(name));
        });
    }

    // What lies below a station, handed to the sink under the given station.
    template <class Station> void readBelow(std::string_view station, Station parent)
    {
        directory::listCompounds(station, kBatchSize, m_compoundListing, m_compoundNames.data(),
                                 [&](std::string_view name) {
                                     auto compound = m_sink.compound(parent, name);
                                     readBlocks(name, compound);
                                 });
    }

private:
    template <class Compound> void readBlocks(std::string_view compound, Compound parent)
    {
        const directory::BlockBuffers blocks{m_blockNames.data(), m_blockInfo.data()};
        directory::listBlocks(compound, kBatchSize, m_blockListing, blocks,
                              [&](std::string_view name, std::string_view info) {
                                  directory::formatBlockLine(m_line, name, info);
                                  m_sink.block(parent, m_line);
                              });
    }

    Sink& m_sink;
    std::array<char, kBatchSize * DIRAPI_STATION_SLOT> m_stationNames{};
    std::array<char, kBatchSize * DIRAPI_STATION_INFO_SLOT> m_stationInfo{};
    std::array<int32_t, kBatchSize> m_stationWords{};
    std::array<char, kBatchSize * DIRAPI_COMPOUND_SLOT> m_compoundNames{};
    std::array<char, kBatchSize * DIRAPI_BLOCK_SLOT> m_blockNames{};
    std::array<char, kBatchSize * DIRAPI_BLOCK_INFO_SLOT> m_blockInfo{};
    directory::ListingWords m_stationListing;
    directory::ListingWords m_compoundListing;
    directory::ListingWords m_blockListing;
    std::string m_line;
};

} // namespace bench

#endif
