#include "dirapi/library.h"

#include "dirapi/builtinplant.h"
#include "dirapi/calltrace.h"
#include "dirapi/plantlisting.h"
#include "dirapi/problems.h"
#include "directory/dirapi.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

namespace dirapi {

namespace {

constexpr char kUnterminatedFill = '*';

// Copies text into a slot of width bytes and fills the rest with NUL, or, to misbehave, with
// a visible byte up to the slot's last so that no NUL is left.
void putText(char* slot, std::size_t width, std::string_view text, bool unterminated)
{
    const std::size_t length = std::min(text.size(), width - 1);
    if (length > 0) // an empty view may have no data at all
        std::memcpy(slot, text.data(), length);
    std::memset(slot + length, unterminated ? kUnterminatedFill : '\0', width - length);
}

// The three levels a listing walks. Each says which parent a call names, how many entries that
// parent holds and how the one at an index fills a slot of the caller's buffers.
struct StationLevel
{
    struct Parent // the plant itself: a station listing names nothing
    {
    };

    static std::optional<Parent> find(const Plant&, std::string_view) { return Parent{}; }
    static int32_t count(const Plant& plant, Parent) { return plant.stationCount(); }
    static void write(const Plant& plant, Parent, int32_t index, int32_t slot,
                      const ListingOutput& out, bool unterminated)
    {
        putText(out.names + slot * DIRAPI_STATION_SLOT, DIRAPI_STATION_SLOT,
                plant.stationName(index), unterminated);
        putText(out.info + slot * DIRAPI_STATION_INFO_SLOT, DIRAPI_STATION_INFO_SLOT, {}, false);
        out.words[slot] = 0;
    }
};

struct CompoundLevel
{
    using Parent = int32_t; // the station

    static std::optional<Parent> find(const Plant& plant, std::string_view station)
    {
        return plant.findStation(station);
    }
    static int32_t count(const Plant& plant, Parent station)
    {
        return plant.compoundCount(station);
    }
    static void write(const Plant& plant, Parent station, int32_t index, int32_t slot,
                      const ListingOutput& out, bool unterminated)
    {
        putText(out.names + slot * DIRAPI_COMPOUND_SLOT, DIRAPI_COMPOUND_SLOT,
                plant.compoundName(CompoundRef{station, index}), unterminated);
    }
};

struct BlockLevel
{
    using Parent = CompoundRef;

    static std::optional<Parent> find(const Plant& plant, std::string_view compound)
    {
        return plant.findCompound(compound);
    }
    static int32_t count(const Plant& plant, Parent compound) { return plant.blockCount(compound); }
    static void write(const Plant& plant, Parent compound, int32_t index, int32_t slot,
                      const ListingOutput& out, bool unterminated)
    {
        const BlockEntry block = plant.block(compound, index);
        putText(out.names + slot * DIRAPI_BLOCK_SLOT, DIRAPI_BLOCK_SLOT, block.name, unterminated);
        putText(out.info + slot * DIRAPI_BLOCK_INFO_SLOT, DIRAPI_BLOCK_INFO_SLOT, block.info,
                unterminated);
    }
};

// A name that fills its whole slot without a NUL is read no further: no such name exists.
std::string_view nameWithin(const char* nameArg, std::size_t nameSlot)
{
    return nameArg ? std::string_view(nameArg, ::strnlen(nameArg, nameSlot)) : std::string_view();
}

bool wordsGiven(const ListingOutput& out)
{
    return out.more && out.count && out.cont && out.maxObj > 0;
}

// A refused call leaves the more flag 0 and ends the listing at this level, unless the call was
// never part of it (a stale or foreign word).
int32_t refuse(ListingCursor& cursor, const ListingOutput& out, int32_t result)
{
    if (result != kNotContinuing)
        cursor.abandon();
    if (out.more)
        *out.more = 0;
    if (out.count)
        *out.count = 0;
    return result;
}

// A library that never finishes: success, more flag set, nothing delivered.
int32_t answerEmptyWithMore(ListingCursor& cursor, const ListingOutput& out)
{
    cursor.abandon();
    *out.more = 1;
    *out.count = 0;
    *out.cont = cursor.word();
    return kSuccess;
}

template <class Level>
void deliverBatch(const Plant& plant, const typename Level::Parent& parent, ListingCursor& cursor,
                  const ListingOutput& out, Misbehaviour misbehaviour)
{
    const Batch batch = cursor.take(Level::count(plant, parent), out.maxObj);
    const bool unterminated = misbehaviour == Misbehaviour::UnterminatedSlot;
    for (int32_t i = 0; i < batch.count; ++i)
        Level::write(plant, parent, batch.first + i, i, out, unterminated);
    *out.more = batch.more ? 1 : 0;
    *out.count = reportedCount(misbehaviour, batch.count, out.maxObj);
    *out.cont = cursor.word();
}

} // namespace

Library::Library()
{
    reset();
}

int32_t Library::getMaxObj()
{
    if (beginCall(Function::GetMaxObj, {}, 0))
        return 0;
    return m_maxObj;
}

int32_t Library::listStations(const ListingOutput& out)
{
    const bool buffersGiven = out.names && out.info && out.words;
    return list<StationLevel>(Function::AllSta, m_stations, nullptr, 0, out, buffersGiven);
}

int32_t Library::listCompounds(const char* station, const ListingOutput& out)
{
    return list<CompoundLevel>(Function::AllCmp, m_compounds, station, DIRAPI_STATION_SLOT, out,
                               out.names != nullptr);
}

int32_t Library::listBlocks(const char* compound, const ListingOutput& out)
{
    return list<BlockLevel>(Function::AllBlk, m_blocks, compound, DIRAPI_COMPOUND_SLOT, out,
                            out.names && out.info);
}

int32_t Library::exit()
{
    const bool armed = beginCall(Function::Exit, {}, 0);
    ++m_exitCount;
    m_stations.abandon();
    m_compounds.abandon();
    m_blocks.abandon();
    return armed ? kArmedFailure : kSuccess;
}

template <class Level>
int32_t Library::list(Function function, ListingCursor& cursor, const char* nameArg,
                      std::size_t nameSlot, const ListingOutput& out, bool buffersGiven)
{
    const std::string_view name = nameWithin(nameArg, nameSlot);
    const int32_t moreOnEntry = out.more ? *out.more : 0;
    const bool armed = beginCall(function, std::string(name), moreOnEntry);
    if (m_delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs));

    if (!buffersGiven || !wordsGiven(out) || (nameSlot > 0 && !nameArg))
        return refuse(cursor, out, kBadArguments);
    // An injected failure touches nothing, as a real library failing on its network would:
    // the words keep what the last batch left, the listing stays where it was, and a caller
    // that comes back with the more flag set continues it.
    if (armed)
        return kArmedFailure;
    const Misbehaviour misbehaviour = m_faults.misbehaviour(function);
    if (misbehaviour == Misbehaviour::EndlessEmptyMore)
        return answerEmptyWithMore(cursor, out);

    if (moreOnEntry == 0)
        beginListing(cursor);
    else if (!cursor.continues(*out.cont))
        return refuse(cursor, out, kNotContinuing);
    // With the more flag set, the call continues the listing in progress at this level, whatever
    // name it passes: that is how the protocol reads, and why callers must zero the flag.
    const std::string subject(moreOnEntry == 0 ? name : std::string_view(cursor.subject()));

    const Plant* plant = m_source.plant();
    if (!plant)
        return refuse(cursor, out, kNoDirectory);
    const auto parent = Level::find(*plant, subject);
    if (!parent)
        return refuse(cursor, out, kUnknownName);
    if (moreOnEntry == 0)
        cursor.start(subject);
    deliverBatch<Level>(*plant, *parent, cursor, out, misbehaviour);
    return kSuccess;
}

void Library::beginListing(ListingCursor& cursor)
{
    cursor.abandon();
    // Never between two batches of any listing: a nested listing must see the plant the outer
    // one is walking.
    if (!anyListingInProgress())
        m_source.reloadIfChanged();
}

void Library::reset()
{
    const Settings settings = readSettings();
    switch (settings.source) {
    case Settings::Source::File:
        m_source.useFile(settings.file);
        break;
    case Settings::Source::Generated:
        m_source.usePlant(std::make_unique<GeneratedPlant>(settings.size));
        break;
    case Settings::Source::Builtin:
        m_source.usePlant(makeBuiltinPlant());
        break;
    }
    m_maxObj = settings.maxObj;
    m_delayMs = settings.delayMs;
    callTrace().open(settings.trace);
    // Abandoned, not recreated: words from before the reset must not match new listings.
    m_stations.abandon();
    m_compounds.abandon();
    m_blocks.abandon();
    m_faults.reset();
    m_beforeCall = nullptr;
    m_calls.clear();
    m_exitCount = 0;
}

int Library::loadPlant(std::string_view text)
{
    PlantListing listing = parsePlantListing(text, "plant");
    for (const auto& problem : listing.problems)
        reportProblem(problem);
    m_source.usePlant(std::move(listing.plant));
    return static_cast<int>(listing.problems.size());
}

void Library::loadGeneratedPlant(PlantSize size)
{
    m_source.usePlant(std::make_unique<GeneratedPlant>(size));
}

void Library::failCall(Function function, int k)
{
    m_faults.failCall(function, k);
}

void Library::setMisbehaviour(Function function, Misbehaviour misbehaviour)
{
    m_faults.setMisbehaviour(function, misbehaviour);
}

bool Library::beginCall(Function function, std::string name, int32_t moreOnEntry)
{
    // The call is counted once the hook has run, so that a failure the hook arms for the
    // first call from now hits this very call.
    const int number = m_faults.nextCallNumber(function);
    callTrace().record(function, name);
    m_calls.push_back(Call{function, std::move(name), moreOnEntry});
    // A copy, so that a hook may replace or clear itself.
    if (const auto hook = m_beforeCall)
        hook(function, number);
    return m_faults.countCall(function); // the hook may have reset the count
}

bool Library::anyListingInProgress() const
{
    return m_stations.inProgress() || m_compounds.inProgress() || m_blocks.inProgress();
}

// Never destroyed: a program may end its use of the library from an exit handler, which can
// run after the destructors of statics made later than the handler was registered.
Library& library()
{
    static Library& instance = *new Library;
    return instance;
}

} // namespace dirapi
