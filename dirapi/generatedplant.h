// A plant of S stations x C compounds x B blocks whose names are computed from their indices,
// so even a million blocks cost no memory.
#ifndef ARBOLIX_DIRAPI_GENERATEDPLANT_H
#define ARBOLIX_DIRAPI_GENERATEDPLANT_H

#include "dirapi/plant.h"

#include <optional>
#include <string_view>

namespace dirapi {

struct PlantSize
{
    int32_t stations = 0;
    int32_t compounds = 0; // per station
    int32_t blocks = 0;    // per compound
};

// Limits that keep every computed name within its slot.
inline constexpr int32_t kMaxGeneratedStations = 9999;
inline constexpr int32_t kMaxGeneratedCompounds = 9999;
inline constexpr int32_t kMaxGeneratedBlocks = 999999;

// "SxCxB", decimal, each within its limit; nullopt for anything else.
std::optional<PlantSize> parsePlantSize(std::string_view text);

// Stations CP0001, AW0002, WP0003, FC0004, CP0005 ...; compounds <station>_U0001,
// <station>_L0002 ...; blocks AIN1, AOUT1, PIDA1, CALC1, DIN1, DOUT1, AIN2 ... with the block
// type as info. Sizes are clamped to 0 .. the limits above.
class GeneratedPlant final : public Plant
{
public:
    explicit GeneratedPlant(PlantSize size);

    int32_t stationCount() const override;
    std::string stationName(int32_t station) const override;
    std::optional<int32_t> findStation(std::string_view name) const override;
    int32_t compoundCount(int32_t station) const override;
    std::string compoundName(CompoundRef compound) const override;
    std::optional<CompoundRef> findCompound(std::string_view name) const override;
    int32_t blockCount(CompoundRef compound) const override;
    BlockEntry block(CompoundRef compound, int32_t index) const override;

private:
    bool contains(CompoundRef compound) const;

    PlantSize m_size;
};

} // namespace dirapi

#endif
