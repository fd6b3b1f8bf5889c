// The benchmark's own buffers for the directory reader (same N, same one reused block line as
// the main window), and the whole directory read as FillTree reads it.
#ifndef ARBOLIX_BENCH_BENCHREADING_H
#define ARBOLIX_BENCH_BENCHREADING_H

#include "bench/benchplant.h"
#include "directory/listing/directoryreader.h"

#include <array>
#include <string>

namespace bench {

class ReadingBuffers
{
public:
    directory::DirectoryBuffers buffers()
    {
        return {kBatchSize,
                {m_stationNames.data(), m_stationInfo.data(), m_stationWords.data()},
                m_compoundNames.data(),
                {m_blockNames.data(), m_blockInfo.data()}};
    }

    directory::LevelWords words;
    std::string line;

private:
    std::array<char, kBatchSize * DIRAPI_STATION_SLOT> m_stationNames{};
    std::array<char, kBatchSize * DIRAPI_STATION_INFO_SLOT> m_stationInfo{};
    std::array<int32_t, kBatchSize> m_stationWords{};
    std::array<char, kBatchSize * DIRAPI_COMPOUND_SLOT> m_compoundNames{};
    std::array<char, kBatchSize * DIRAPI_BLOCK_SLOT> m_blockNames{};
    std::array<char, kBatchSize * DIRAPI_BLOCK_INFO_SLOT> m_blockInfo{};
};

// A counting pass over the stations, then every station with its compounds and blocks.
template <class Sink> void readWholeDirectory(Sink& sink)
{
    ReadingBuffers reading;
    directory::DirectoryReader reader(reading.buffers(), reading.words, reading.line, sink);
    reader.countStations();
    reader.readStations();
}

} // namespace bench

#endif
