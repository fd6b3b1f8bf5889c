#include "dirapi/storedplant.h"

namespace dirapi {

namespace {

// What an index of names holds for the name, if anything.
template <class Value>
std::optional<Value> lookUp(const std::unordered_map<std::string, Value>& index,
                            std::string_view name)
{
    const auto it = index.find(std::string(name));
    if (it == index.end())
        return std::nullopt;
    return it->second;
}

} // namespace

int32_t StoredPlant::addStation(std::string_view name)
{
    const auto [it, added] =
        m_stationIndex.try_emplace(std::string(name), static_cast<int32_t>(m_stations.size()));
    if (added)
        m_stations.push_back(Station{std::string(name), {}});
    return it->second;
}

std::optional<CompoundRef> StoredPlant::addCompound(int32_t station, std::string_view name)
{
    if (station < 0 || station >= stationCount())
        return std::nullopt;
    auto& compounds = m_stations[station].compounds;
    const CompoundRef ref{station, static_cast<int32_t>(compounds.size())};
    const auto [it, added] = m_compoundIndex.try_emplace(std::string(name), ref);
    if (added) {
        compounds.push_back(Compound{std::string(name), {}});
        return ref;
    }
    if (it->second.station != station)
        return std::nullopt;
    return it->second;
}

bool StoredPlant::addBlock(CompoundRef compound, std::string_view name, std::string_view info)
{
    if (compoundAt(compound) == nullptr)
        return false;
    auto& owner = m_stations[compound.station].compounds[compound.compound];
    if (!m_blockKeys.insert(blockKey(owner.name, name)).second)
        return false;
    owner.blocks.push_back(BlockEntry{std::string(name), std::string(info)});
    return true;
}

std::optional<std::string> StoredPlant::stationOfCompound(std::string_view compound) const
{
    const auto ref = findCompound(compound);
    if (!ref)
        return std::nullopt;
    return m_stations[ref->station].name;
}

bool StoredPlant::hasBlock(std::string_view compound, std::string_view block) const
{
    return m_blockKeys.count(blockKey(compound, block)) != 0;
}

int32_t StoredPlant::stationCount() const
{
    return static_cast<int32_t>(m_stations.size());
}

std::string StoredPlant::stationName(int32_t station) const
{
    if (station < 0 || station >= stationCount())
        return {};
    return m_stations[station].name;
}

std::optional<int32_t> StoredPlant::findStation(std::string_view name) const
{
    return lookUp(m_stationIndex, name);
}

int32_t StoredPlant::compoundCount(int32_t station) const
{
    if (station < 0 || station >= stationCount())
        return 0;
    return static_cast<int32_t>(m_stations[station].compounds.size());
}

std::string StoredPlant::compoundName(CompoundRef compound) const
{
    const Compound* found = compoundAt(compound);
    return found ? found->name : std::string();
}

std::optional<CompoundRef> StoredPlant::findCompound(std::string_view name) const
{
    return lookUp(m_compoundIndex, name);
}

int32_t StoredPlant::blockCount(CompoundRef compound) const
{
    const Compound* found = compoundAt(compound);
    return found ? static_cast<int32_t>(found->blocks.size()) : 0;
}

BlockEntry StoredPlant::block(CompoundRef compound, int32_t index) const
{
    const Compound* found = compoundAt(compound);
    if (found == nullptr || index < 0 || index >= static_cast<int32_t>(found->blocks.size()))
        return {};
    return found->blocks[index];
}

const StoredPlant::Compound* StoredPlant::compoundAt(CompoundRef ref) const
{
    if (ref.station < 0 || ref.station >= stationCount())
        return nullptr;
    const auto& compounds = m_stations[ref.station].compounds;
    if (ref.compound < 0 || ref.compound >= static_cast<int32_t>(compounds.size()))
        return nullptr;
    return &compounds[ref.compound];
}

// Compound names are unique, so compound and block name together name one block.
std::string StoredPlant::blockKey(std::string_view compound, std::string_view block)
{
    std::string key(compound);
    key.push_back('\0');
    key.append(block);
    return key;
}

} // namespace dirapi
