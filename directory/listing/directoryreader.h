// The one walk of the directory: stations, their compounds and the compounds' blocks, read by
// the batch protocol into the caller's six buffers and handed to a sink. The population, the
// refresh and the benchmark all read through it.
#ifndef ARBOLIX_DIRECTORY_DIRECTORYREADER_H
#define ARBOLIX_DIRECTORY_DIRECTORYREADER_H

#include "directory/listing/blockline.h"
#include "directory/listing/directorybuffers.h"
#include "directory/listing/listings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace directory {

// What a sink does where it has nothing to add: never stops, ignores how listings ended.
struct SinkDefaults
{
    bool proceed() { return true; }
    template <class Item> void listedBelow(Item, const ListingResult&) {}
    void stationRead() {}
};

// Sink (derive from SinkDefaults and hide what it needs):
//   bool proceed();                       asked before every library call; false stops the walk
//   Station station(std::string_view name);
//   Compound compound(Station, std::string_view name);
//   void block(Compound, std::string_view line);          the block line, see blockline.h
//   void listedBelow(Station or Compound, const ListingResult&);  after the listing below it
//   void stationRead();                   after each station of the listing pass
// A station or compound handle that tests false is not listed below.
template <class Sink> class DirectoryReader
{
public:
    // line is the one formatting buffer for every block line.
    DirectoryReader(const DirectoryBuffers& buffers, LevelWords& words, std::string& line,
                    Sink& sink)
        : m_buffers(buffers), m_words(words), m_line(line), m_sink(sink)
    {
    }

    // The counting pass over the stations: nothing is handed to the sink.
    ListingResult countStations()
    {
        return listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, proceed(),
                            [](std::string_view) { return true; });
    }

    // The listing pass: every station with what lies below it.
    ListingResult readStations()
    {
        return listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, proceed(),
                            [&](std::string_view name) {
                                if (const auto station = m_sink.station(name))
                                    if (readCompounds(name, station).stopped())
                                        return false;
                                m_sink.stationRead();
                                return true;
                            });
    }

    // A station's compounds, each with its blocks, under the sink's station.
    template <class Station> ListingResult readCompounds(std::string_view station, Station parent)
    {
        const ListingResult listed =
            listCompounds(station, m_buffers.maxObj, m_words.compound, m_buffers.compoundNames,
                          proceed(), [&](std::string_view name) {
                              const auto compound = m_sink.compound(parent, name);
                              return !compound || !readBlocks(name, compound).stopped();
                          });
        m_sink.listedBelow(parent, listed);
        return listed;
    }

    // A compound's blocks, as block lines under the sink's compound.
    template <class Compound> ListingResult readBlocks(std::string_view compound, Compound parent)
    {
        const ListingResult listed =
            listBlocks(compound, m_buffers.maxObj, m_words.block, m_buffers.blocks, proceed(),
                       [&](std::string_view name, std::string_view info) {
                           formatBlockLine(m_line, name, info);
                           m_sink.block(parent, m_line);
                           return true;
                       });
        m_sink.listedBelow(parent, listed);
        return listed;
    }

    // True once the sink has answered stop: no library call is made after that, and nothing
    // more is handed to the sink.
    bool stopped() const { return m_stopped; }

private:
    // The one stop rule: the sink is asked before every library call, and its first stop holds
    // for the rest of the walk. A listing stopped below an entry stops the listings above it
    // (their takes answer false), so nothing more reaches the sink either.
    auto proceed()
    {
        return [this] {
            m_stopped = m_stopped || !m_sink.proceed();
            return !m_stopped;
        };
    }

    const DirectoryBuffers m_buffers;
    LevelWords& m_words;
    std::string& m_line;
    Sink& m_sink;
    bool m_stopped = false;
};

} // namespace directory

#endif
