// The one walk of the directory: stations, their compounds and the compounds' blocks, read by
// the batch protocol into the caller's six buffers and handed to a sink. The population, the
// refresh and the benchmark all read through it.
#ifndef ARBOLIX_DIRECTORY_DIRECTORYREADER_H
#define ARBOLIX_DIRECTORY_DIRECTORYREADER_H

#include "directory/listing/blockline.h"
#include "directory/listing/directorybuffers.h"
#include "directory/listing/listings.h"

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace directory {

// What the reader hands on: stations, a station's compounds and a compound's block lines (see
// blockline.h), each under the handle the sink gave its parent; a handle that tests false is not
// listed below. A sink may add, and the reader then calls:
//   bool proceed();                       before every library call; false stops the walk
//   void listedBelow(Station or Compound, const ListingResult&);  after the listing below it
//   void stationRead();                   after each station of the listing pass
template <class Sink>
concept ListingSink = requires(Sink& sink, std::string_view text)
{
    requires std::constructible_from<bool, decltype(sink.station(text))>;
    requires std::constructible_from<bool, decltype(sink.compound(sink.station(text), text))>;
    sink.block(sink.compound(sink.station(text), text), text);
};

template <ListingSink Sink> class DirectoryReader
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
        return listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, stopRule(),
                            [](std::string_view) { return true; });
    }

    // The listing pass: every station with what lies below it.
    ListingResult readStations()
    {
        return listStations(m_buffers.maxObj, m_words.station, m_buffers.stations, stopRule(),
                            [&](std::string_view name) {
                                if (const auto station = m_sink.station(name))
                                    if (readCompounds(name, station).stopped())
                                        return false;
                                if constexpr (requires { m_sink.stationRead(); })
                                    m_sink.stationRead();
                                return true;
                            });
    }

    // A station's compounds, each with its blocks, under the sink's station.
    template <class Station> ListingResult readCompounds(std::string_view station, Station parent)
    {
        const ListingResult listed =
            listCompounds(station, m_buffers.maxObj, m_words.compound, m_buffers.compoundNames,
                          stopRule(), [&](std::string_view name) {
                              const auto compound = m_sink.compound(parent, name);
                              return !compound || !readBlocks(name, compound).stopped();
                          });
        reportListed(parent, listed);
        return listed;
    }

    // A compound's blocks, as block lines under the sink's compound.
    template <class Compound> ListingResult readBlocks(std::string_view compound, Compound parent)
    {
        const ListingResult listed =
            listBlocks(compound, m_buffers.maxObj, m_words.block, m_buffers.blocks, stopRule(),
                       [&](std::string_view name, std::string_view info) {
                           formatBlockLine(m_line, name, info);
                           m_sink.block(parent, m_line);
                           return true;
                       });
        reportListed(parent, listed);
        return listed;
    }

    // True once the sink has answered stop: no library call is made after that, and nothing
    // more is handed to the sink.
    bool stopped() const { return m_stopped; }

private:
    // The one stop rule: the sink is asked before every library call, and its first stop holds
    // for the rest of the walk. A listing stopped below an entry stops the listings above it
    // (their takes answer false), so nothing more reaches the sink either.
    auto stopRule()
    {
        return [this] {
            if constexpr (requires { m_sink.proceed(); })
                m_stopped = m_stopped || !m_sink.proceed();
            return !m_stopped;
        };
    }

    template <class Item> void reportListed(Item parent, const ListingResult& listed)
    {
        if constexpr (requires { m_sink.listedBelow(parent, listed); })
            m_sink.listedBelow(parent, listed);
    }

    const DirectoryBuffers m_buffers;
    LevelWords& m_words;
    std::string& m_line;
    Sink& m_sink;
    bool m_stopped = false;
};

} // namespace directory

#endif
