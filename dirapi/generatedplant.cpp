#include "dirapi/generatedplant.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace dirapi {

namespace {

constexpr std::array<const char*, 4> kStationPrefixes{"CP", "AW", "WP", "FC"};
constexpr std::array<char, 4> kCompoundKinds{'U', 'L', 'M', 'T'};
constexpr std::array<const char*, 6> kBlockTypes{"AIN", "AOUT", "PIDA", "CALC", "DIN", "DOUT"};
constexpr std::size_t kNumberDigits = 4;

std::string fourDigits(int32_t value)
{
    std::array<char, 8> digits{};
    std::snprintf(digits.data(), digits.size(), "%04d", static_cast<int>(value));
    return digits.data();
}

// A four-digit number 1 .. 9999 as index 0 .. 9998; -1 for anything else.
int32_t indexOfFourDigits(std::string_view text)
{
    if (text.size() != kNumberDigits)
        return -1;
    int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value - 1;
}

std::optional<int32_t> parseBounded(std::string_view text, int32_t max)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > max)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PlantSize> parsePlantSize(std::string_view text)
{
    const std::size_t first = text.find('x');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find('x', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto stations = parseBounded(text.substr(0, first), kMaxGeneratedStations);
    const auto compounds =
        parseBounded(text.substr(first + 1, second - first - 1), kMaxGeneratedCompounds);
    const auto blocks = parseBounded(text.substr(second + 1), kMaxGeneratedBlocks);
    if (!stations || !compounds || !blocks)
        return std::nullopt;
    return PlantSize{*stations, *compounds, *blocks};
}

GeneratedPlant::GeneratedPlant(PlantSize size)
    : m_size{std::clamp(size.stations, 0, kMaxGeneratedStations),
             std::clamp(size.compounds, 0, kMaxGeneratedCompounds),
             std::clamp(size.blocks, 0, kMaxGeneratedBlocks)}
{
}

int32_t GeneratedPlant::stationCount() const
{
    return m_size.stations;
}

std::string GeneratedPlant::stationName(int32_t station) const
{
    if (station < 0 || station >= m_size.stations)
        return {};
    return kStationPrefixes[station % kStationPrefixes.size()] + fourDigits(station + 1);
}

std::optional<int32_t> GeneratedPlant::findStation(std::string_view name) const
{
    if (name.size() != kStationNameMax)
        return std::nullopt;
    const int32_t station = indexOfFourDigits(name.substr(2));
    if (station < 0 || station >= m_size.stations || stationName(station) != name)
        return std::nullopt;
    return station;
}

int32_t GeneratedPlant::compoundCount(int32_t station) const
{
    return station >= 0 && station < m_size.stations ? m_size.compounds : 0;
}

std::string GeneratedPlant::compoundName(CompoundRef compound) const
{
    if (!contains(compound))
        return {};
    std::string name = stationName(compound.station);
    name.push_back('_');
    name.push_back(kCompoundKinds[compound.compound % kCompoundKinds.size()]);
    name += fourDigits(compound.compound + 1);
    return name;
}

std::optional<CompoundRef> GeneratedPlant::findCompound(std::string_view name) const
{
    // <station:6>_<kind:1><number:4>
    if (name.size() != kCompoundNameMax || name[kStationNameMax] != '_')
        return std::nullopt;
    const auto station = findStation(name.substr(0, kStationNameMax));
    if (!station)
        return std::nullopt;
    const CompoundRef ref{*station, indexOfFourDigits(name.substr(kStationNameMax + 2))};
    if (!contains(ref) || compoundName(ref) != name)
        return std::nullopt;
    return ref;
}

int32_t GeneratedPlant::blockCount(CompoundRef compound) const
{
    return contains(compound) ? m_size.blocks : 0;
}

BlockEntry GeneratedPlant::block(CompoundRef compound, int32_t index) const
{
    if (!contains(compound) || index < 0 || index >= m_size.blocks)
        return {};
    const char* type = kBlockTypes[index % kBlockTypes.size()];
    const auto number = static_cast<int32_t>(index / kBlockTypes.size()) + 1;
    return BlockEntry{type + std::to_string(number), type};
}

bool GeneratedPlant::contains(CompoundRef compound) const
{
    return compound.station >= 0 && compound.station < m_size.stations && compound.compound >= 0 &&
           compound.compound < m_size.compounds;
}

} // namespace dirapi
