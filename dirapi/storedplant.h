// A plant held in memory, built object by object (from a listing file or the built-in demo).
#ifndef ARBOLIX_DIRAPI_STOREDPLANT_H
#define ARBOLIX_DIRAPI_STOREDPLANT_H

#include "dirapi/plant.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dirapi {

class StoredPlant final : public Plant
{
public:
    // Adding an object that exists already is not an error: its first appearance keeps its
    // place. Names are taken as they are; length limits are the caller's to check.
    int32_t addStation(std::string_view name);
    // Fails (nullopt) when the compound already belongs to another station.
    std::optional<CompoundRef> addCompound(int32_t station, std::string_view name);
    // Fails (false) when the compound already holds a block of that name.
    bool addBlock(CompoundRef compound, std::string_view name, std::string_view info);

    // The station a compound of that name belongs to, if any.
    std::optional<std::string> stationOfCompound(std::string_view compound) const;

    bool hasBlock(std::string_view compound, std::string_view block) const;

    int32_t stationCount() const override;
    std::string stationName(int32_t station) const override;
    std::optional<int32_t> findStation(std::string_view name) const override;
    int32_t compoundCount(int32_t station) const override;
    std::string compoundName(CompoundRef compound) const override;
    std::optional<CompoundRef> findCompound(std::string_view name) const override;
    int32_t blockCount(CompoundRef compound) const override;
    BlockEntry block(CompoundRef compound, int32_t index) const override;

private:
    struct Compound
    {
        std::string name;
        std::vector<BlockEntry> blocks;
    };
    struct Station
    {
        std::string name;
        std::vector<Compound> compounds;
    };

    const Compound* compoundAt(CompoundRef ref) const;
    static std::string blockKey(std::string_view compound, std::string_view block);

    std::vector<Station> m_stations;
    std::unordered_map<std::string, int32_t> m_stationIndex;
    std::unordered_map<std::string, CompoundRef> m_compoundIndex;
    std::unordered_set<std::string> m_blockKeys;
};

} // namespace dirapi

#endif
