// The stand-in library's plant listing parser on arbitrary bytes: whatever it accepts fits the
// directory's slots and is one consistent plant, every rejected line is reported once at most,
// and writing the accepted plant out again and reading it back loses and adds nothing.
#include "dirapi/plant.h"
#include "dirapi/plantlisting.h"
#include "fuzz/fuzztarget.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using fuzz::require;

// Lines as the parser counts them: pieces between newlines, no empty piece after a final one.
std::size_t lineCount(std::string_view text)
{
    const auto newlines = std::size_t(std::count(text.begin(), text.end(), '\n'));
    return newlines + (text.empty() || text.back() == '\n' ? 0 : 1);
}

// A name the listing format can carry: not empty, within its width, and free of the bytes that
// separate fields, end lines or start comments. (A CR is an ordinary byte inside a line.)
bool isListableName(std::string_view name, std::size_t max)
{
    return !name.empty() && name.size() <= max &&
           name.find_first_of(std::string_view(" \t\n#\0", 5)) == std::string_view::npos;
}

// Checks the plant's names and indexes, and writes it out in the listing format: a line per
// station, per compound and per block, in the plant's order. Lines end in CRLF, so a last field
// that ends in a CR of its own keeps it.
std::string checkAndWrite(const dirapi::Plant& plant)
{
    std::string text;
    for (int32_t s = 0; s < plant.stationCount(); ++s) {
        const std::string station = plant.stationName(s);
        require(isListableName(station, dirapi::kStationNameMax),
                "an accepted station name fits its slot");
        require(plant.findStation(station) == s, "a station is found by its name");
        text += station + "\r\n";
        for (int32_t c = 0; c < plant.compoundCount(s); ++c) {
            const dirapi::CompoundRef ref{s, c};
            const std::string compound = plant.compoundName(ref);
            require(isListableName(compound, dirapi::kCompoundNameMax),
                    "an accepted compound name fits its slot");
            const auto found = plant.findCompound(compound);
            require(found && found->station == s && found->compound == c,
                    "a compound is found by its name, in its own station");
            text += station + "\t" + compound + "\r\n";
            for (int32_t b = 0; b < plant.blockCount(ref); ++b) {
                const dirapi::BlockEntry block = plant.block(ref, b);
                require(isListableName(block.name, dirapi::kBlockNameMax),
                        "an accepted block name fits its slot");
                require(isListableName(block.info, dirapi::kBlockInfoMax),
                        "accepted block info fits its slot");
                for (int32_t earlier = 0; earlier < b; ++earlier)
                    require(plant.block(ref, earlier).name != block.name,
                            "block names are distinct within a compound");
                text += station + " " + compound + " " + block.name + " " + block.info + "\r\n";
            }
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dirapi::PlantListing listing = dirapi::parsePlantListing(text, "fuzz");
    require(listing.plant != nullptr, "a listing always yields a plant, if an empty one");

    const std::size_t lines = lineCount(text);
    require(listing.problems.size() <= lines, "no more problems than lines");
    std::size_t lastNumber = 0;
    for (const std::string& problem : listing.problems) {
        require(problem.rfind("fuzz:", 0) == 0, "a problem names the source");
        const std::size_t number = std::strtoul(problem.c_str() + 5, nullptr, 10);
        require(number > lastNumber && number <= lines,
                "problems name lines of the listing, in order, each once at most");
        lastNumber = number;
    }

    // Each object is named on some line, so there cannot be more of them than lines.
    std::size_t compounds = 0;
    std::size_t blocks = 0;
    for (int32_t s = 0; s < listing.plant->stationCount(); ++s) {
        for (int32_t c = 0; c < listing.plant->compoundCount(s); ++c) {
            ++compounds;
            blocks += std::size_t(listing.plant->blockCount({s, c}));
        }
    }
    require(std::size_t(listing.plant->stationCount()) <= lines, "no more stations than lines");
    require(compounds <= lines && blocks <= lines, "no more compounds or blocks than lines");

    const std::string written = checkAndWrite(*listing.plant);
    const dirapi::PlantListing reread = dirapi::parsePlantListing(written, "again");
    require(reread.problems.empty(), "the accepted plant, written out, is accepted whole");
    require(checkAndWrite(*reread.plant) == written, "and reads back as the same plant");
    return 0;
}
