// What the library lists: stations, their compounds and the compounds' blocks.
#ifndef ARBOLIX_DIRAPI_PLANT_H
#define ARBOLIX_DIRAPI_PLANT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dirapi {

// Longest names the slots hold (slot width less the NUL).
inline constexpr std::size_t kStationNameMax = 6;
inline constexpr std::size_t kCompoundNameMax = 12;
inline constexpr std::size_t kBlockNameMax = 12;
inline constexpr std::size_t kBlockInfoMax = 6;

// A compound as the plant knows it: its station and its position there.
struct CompoundRef
{
    int32_t station = 0;
    int32_t compound = 0;
};

struct BlockEntry
{
    std::string name;
    std::string info;
};

// Compound names are unique plant-wide, since a block listing names only the compound.
// Names are bytes, returned by value: short enough to stay in the string's own storage.
class Plant
{
public:
    virtual ~Plant() = default;

    virtual int32_t stationCount() const = 0;
    virtual std::string stationName(int32_t station) const = 0;
    virtual std::optional<int32_t> findStation(std::string_view name) const = 0;

    virtual int32_t compoundCount(int32_t station) const = 0;
    virtual std::string compoundName(CompoundRef compound) const = 0;
    virtual std::optional<CompoundRef> findCompound(std::string_view name) const = 0;

    virtual int32_t blockCount(CompoundRef compound) const = 0;
    virtual BlockEntry block(CompoundRef compound, int32_t index) const = 0;
};

} // namespace dirapi

#endif
