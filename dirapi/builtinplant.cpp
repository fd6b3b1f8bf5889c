#include "dirapi/builtinplant.h"

#include <array>
#include <string>

namespace dirapi {

namespace {

constexpr std::array<const char*, 6> kTypes{"AIN", "AOUT", "PIDA", "CALC", "DIN", "DOUT"};

struct DemoCompound
{
    const char* station;
    const char* name;
    std::array<int, kTypes.size()> counts; // blocks of each type, in the order of kTypes
    const char* extraBlock = nullptr;      // one block with a name of its own, or none
    const char* extraType = nullptr;
};

// clang-format off
constexpr std::array kCompounds{
    DemoCompound{"WP01", "UC01_LEAD",    {6, 3, 3, 2, 4, 4}},
    DemoCompound{"WP01", "UC01_LAG",     {6, 3, 3, 2, 4, 4}},
    DemoCompound{"WP01", "BOILER_FEED",  {8, 4, 4, 2, 4, 4}, "FLOW_TOTAL01", "CALC"},
    DemoCompound{"WP01", "FEEDWATER_01", {6, 2, 2, 1, 2, 2}},
    DemoCompound{"WP01", "DRUM_LEVEL",   {4, 1, 2, 2, 0, 0}},
    DemoCompound{"WP01", "WP01_SPARE",   {0, 0, 0, 0, 0, 0}},
    DemoCompound{"WP02", "UC02_LEAD",    {6, 3, 3, 2, 4, 4}},
    DemoCompound{"WP02", "UC02_LAG",     {6, 3, 3, 2, 4, 4}},
    DemoCompound{"WP02", "COND_PUMP_A1", {2, 1, 1, 0, 3, 3}},
    DemoCompound{"WP02", "COND_PUMP_B1", {2, 1, 1, 0, 3, 3}},
    DemoCompound{"WP02", "HOTWELL",      {3, 1, 1, 1, 1, 1}},
    DemoCompound{"WP02", "DEAERATOR",    {4, 2, 2, 1, 2, 2}},
    DemoCompound{"AW01", "ALARM_MGR",    {0, 0, 0, 4, 6, 0}},
    DemoCompound{"AW01", "HISTORIAN",    {0, 0, 0, 0, 0, 0}},
    DemoCompound{"AW01", "STATION_HLTH", {2, 0, 0, 2, 4, 0}},
    DemoCompound{"CP01", "TURBINE_LUBE", {5, 2, 2, 2, 4, 4}},
    DemoCompound{"CP01", "TURBINE_GOV",  {6, 4, 4, 3, 2, 2}, "SPEED_SETPNT", "AOUT"},
    DemoCompound{"CP01", "STEAM_SEAL",   {3, 2, 2, 1, 1, 1}},
    DemoCompound{"CP01", "EXTRACTION",   {4, 2, 2, 1, 2, 2}},
    DemoCompound{"CP01", "VACUUM",       {3, 1, 1, 1, 2, 2}},
    DemoCompound{"CP01", "TURB_SPARE",   {0, 0, 0, 0, 0, 0}},
    DemoCompound{"CP02", "CW_PUMPHOUSE", {6, 2, 2, 1, 6, 6}},
    DemoCompound{"CP02", "COOLING_TWR1", {4, 4, 2, 2, 4, 4}},
    DemoCompound{"CP02", "MAKEUP_WATER", {3, 2, 2, 1, 2, 2}},
    DemoCompound{"CP02", "CHEM_DOSING",  {4, 4, 2, 2, 2, 2}},
    DemoCompound{"FC01", "FUEL_OIL",     {4, 2, 2, 2, 4, 4}},
    DemoCompound{"FC01", "GAS_METERING", {6, 0, 0, 6, 0, 0}, "GAS_FLOW_SUM", "CALC"},
    DemoCompound{"FC01", "BURNER_MGMT",  {2, 0, 0, 4, 8, 8}},
    DemoCompound{"FC01", "FLAME_SCAN",   {4, 0, 0, 0, 4, 0}},
    DemoCompound{"FC01", "IGNITERS",     {0, 0, 0, 0, 4, 4}},
    DemoCompound{"FC01", "FC01_SPARE",   {0, 0, 0, 0, 0, 0}},
};
// clang-format on

// Listed in this order; AW02 has no compounds.
constexpr std::array kStations{"WP01", "WP02", "AW01", "AW02", "CP01", "CP02", "FC01"};

} // namespace

std::unique_ptr<StoredPlant> makeBuiltinPlant()
{
    auto plant = std::make_unique<StoredPlant>();
    for (const char* station : kStations)
        plant->addStation(station);
    for (const DemoCompound& demo : kCompounds) {
        const auto compound = plant->addCompound(plant->addStation(demo.station), demo.name);
        if (!compound)
            continue;
        for (std::size_t type = 0; type < kTypes.size(); ++type) {
            for (int number = 1; number <= demo.counts[type]; ++number)
                plant->addBlock(*compound, kTypes[type] + std::to_string(number), kTypes[type]);
        }
        if (demo.extraBlock != nullptr)
            plant->addBlock(*compound, demo.extraBlock, demo.extraType);
    }
    return plant;
}

} // namespace dirapi
