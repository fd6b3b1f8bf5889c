// The one walk of the directory: stations, their compounds and the compounds' blocks, read by
// the batch protocol into the caller's six buffers and handed to a sink. The population, the
// refresh and the benchmark all read through it.
#ifndef ARBOLIX_DIRECTORY_DIRECTORYREADER_H
#define ARBOLIX_DIRECTORY_DIRECTORYREADER_H

#include "directory/blockline.h"
#include "directory/directorybuffers.h"
#include "directory/listings.h"

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
        return listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, askSink(),
                            [](std::string_view) {});
    }

    // The listing pass: every station with what lies below it.
    ListingResult readStations()
    {
        return endOf(listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, askSink(),
                                  [&](std::string_view name) {
                                      if (m_stopped)
                                          return;
                                      if (const auto station = m_sink.station(name))
                                          readCompounds(name, station);
                                      if (!m_stopped)
                                          m_sink.stationRead();
                                  }));
    }

    // A station's compounds, each with its blocks, under the sink's station.
    template <class Station> ListingResult readCompounds(std::string_view station, Station parent)
    {
        const ListingResult listed =
            endOf(listCompounds(station, m_buffers.maxObj, m_words.compound,
                                m_buffers.compoundNames, askSink(), [&](std::string_view name) {
                                    if (m_stopped)
                                        return;
                                    if (const auto compound = m_sink.compound(parent, name))
                                        readBlocks(name, compound);
                                }));
        m_sink.listedBelow(parent, listed);
        return listed;
    }

    // A compound's blocks, as block lines under the sink's compound.
    template <class Compound> ListingResult readBlocks(std::string_view compound, Compound parent)
    {
        const ListingResult listed =
            endOf(listBlocks(compound, m_buffers.maxObj, m_words.block, m_buffers.blocks, askSink(),
                             [&](std::string_view name, std::string_view info) {
                                 if (m_stopped)
                                     return;
                                 formatBlockLine(m_line, name, info);
                                 m_sink.block(parent, m_line);
                             }));
        m_sink.listedBelow(parent, listed);
        return listed;
    }

    // True once the sink has answered stop: no library call is made after that, and nothing
    // more is handed to the sink.
    bool stopped() const { return m_stopped; }

private:
    // A listing whose entries were skipped after a stop below them ended stopped too.
    ListingResult endOf(ListingResult listed) const
    {
        if (m_stopped && listed.end == ListingEnd::Complete)
            listed.end = ListingEnd::Stopped;
        return listed;
    }

    auto askSink()
    {
        return [this] {
            if (!m_stopped && !m_sink.proceed())
                m_stopped = true;
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
