#include "dirapi/plantlisting.h"

#include "dirapi/problems.h"

#include <array>

namespace dirapi {

namespace {

constexpr std::size_t kMaxFields = 4;

struct Fields
{
    std::array<std::string_view, kMaxFields> field;
    std::size_t count = 0; // may exceed kMaxFields: only the first ones are kept
};

Fields splitFields(std::string_view line)
{
    Fields fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos == line.size())
            break;
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            ++pos;
        if (fields.count < kMaxFields)
            fields.field[fields.count] = line.substr(start, pos - start);
        ++fields.count;
    }
    return fields;
}

// The line without its comment and without the CR of a CRLF line end.
std::string_view contentOf(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t hash = line.find('#');
    if (hash != std::string_view::npos)
        line = line.substr(0, hash);
    return line;
}

class ListingReader
{
public:
    explicit ListingReader(std::string_view source) : m_source(source) {}

    void readLine(std::string_view line, std::size_t number)
    {
        m_number = number;
        line = contentOf(line);
        if (line.find('\0') != std::string_view::npos) {
            reject("NUL byte in line");
            return;
        }
        const Fields fields = splitFields(line);
        if (fields.count == 0)
            return;
        if (fields.count != 1 && fields.count != 2 && fields.count != 4) {
            reject(std::to_string(fields.count) +
                   " fields, expected 1 (station), 2 (station compound) or 4 (station "
                   "compound block info)");
            return;
        }
        if (!fits(fields.field[0], kStationNameMax, "station name"))
            return;
        if (fields.count >= 2 && !fits(fields.field[1], kCompoundNameMax, "compound name"))
            return;
        if (fields.count == 4 && (!fits(fields.field[2], kBlockNameMax, "block name") ||
                                  !fits(fields.field[3], kBlockInfoMax, "block info")))
            return;
        add(fields);
    }

    PlantListing finish() { return std::move(m_listing); }

private:
    bool fits(std::string_view name, std::size_t max, const char* what)
    {
        if (name.size() <= max)
            return true;
        reject(std::string(what) + " longer than " + std::to_string(max) +
               " characters: " + quoted(name));
        return false;
    }

    void add(const Fields& fields)
    {
        StoredPlant& plant = *m_listing.plant;
        const std::string_view station = fields.field[0];
        if (fields.count == 1) {
            plant.addStation(station);
            return;
        }
        const std::string_view compound = fields.field[1];
        if (const auto owner = plant.stationOfCompound(compound); owner && *owner != station) {
            reject("compound " + quoted(compound) + " already belongs to station " +
                   quoted(*owner));
            return;
        }
        if (fields.count == 4) {
            if (plant.hasBlock(compound, fields.field[2])) {
                reject("block " + quoted(fields.field[2]) + " listed twice in compound " +
                       quoted(compound));
                return;
            }
        }
        const auto ref = plant.addCompound(plant.addStation(station), compound);
        if (ref && fields.count == 4)
            plant.addBlock(*ref, fields.field[2], fields.field[3]);
    }

    void reject(const std::string& what)
    {
        m_listing.problems.push_back(std::string(m_source) + ":" + std::to_string(m_number) + ": " +
                                     what);
    }

    std::string_view m_source;
    std::size_t m_number = 0;
    PlantListing m_listing{std::make_unique<StoredPlant>(), {}};
};

} // namespace

PlantListing parsePlantListing(std::string_view text, std::string_view source)
{
    ListingReader reader(source);
    std::size_t number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        reader.readLine(text.substr(pos, end - pos), ++number);
        pos = end + 1;
    }
    return reader.finish();
}

} // namespace dirapi
