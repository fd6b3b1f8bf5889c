// The library's state and its answers to the five directory calls, with the test controls'
// settings that change those answers.
#ifndef ARBOLIX_DIRAPI_LIBRARY_H
#define ARBOLIX_DIRAPI_LIBRARY_H

#include "dirapi/dirapi_control.h"
#include "dirapi/injectedfaults.h"
#include "dirapi/listingcursor.h"
#include "dirapi/plantsource.h"
#include "dirapi/settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dirapi {

using dirapi_control::Call;
using dirapi_control::Function;
using dirapi_control::Misbehaviour;

// Nonzero results of a listing; callers only tell 0 from the rest.
enum ListingResult : int32_t
{
    kSuccess = 0,
    kBadArguments = 1,  // a null pointer, or N of 0 or less
    kNoDirectory = 2,   // the listing file cannot be read
    kUnknownName = 3,   // no such station or compound
    kArmedFailure = 4,  // a test asked this call to fail
    kNotContinuing = 5, // more flag set, but no listing of that name is in progress
};

// Where a listing call's results go; all of them the caller's.
struct ListingOutput
{
    int32_t maxObj = 0;
    int32_t* more = nullptr;
    int32_t* count = nullptr;
    int32_t* cont = nullptr;
    char* names = nullptr;
    char* info = nullptr;     // station or block info; unused for compounds
    int32_t* words = nullptr; // station words; unused otherwise
};

// One thread at a time, as the directory library of the control system is used.
class Library
{
public:
    Library();

    int32_t getMaxObj();
    int32_t listStations(const ListingOutput& out);
    int32_t listCompounds(const char* station, const ListingOutput& out);
    int32_t listBlocks(const char* compound, const ListingOutput& out);
    int32_t exit();

    void reset();
    int loadPlant(std::string_view text);
    void loadGeneratedPlant(PlantSize size);
    void setMaxObj(int32_t n) { m_maxObj = n; }
    void failCall(Function function, int k);
    void setMisbehaviour(Function function, Misbehaviour misbehaviour);
    void setBeforeCall(std::function<void(Function, int)> hook) { m_beforeCall = std::move(hook); }
    const std::vector<Call>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    int exitCount() const { return m_exitCount; }

private:
    // Records the call, runs the test hook and tells whether a test armed this call to fail.
    bool beginCall(Function function, std::string name, int32_t moreOnEntry);
    bool anyListingInProgress() const;
    // A listing that starts afresh: the plant is read again if its file changed.
    void beginListing(ListingCursor& cursor);

    // One listing call at Level: stations, the compounds of a station or the blocks of a compound.
    template <class Level>
    int32_t list(Function function, ListingCursor& cursor, const char* nameArg,
                 std::size_t nameSlot, const ListingOutput& out, bool buffersGiven);

    PlantSource m_source;
    int32_t m_maxObj = kDefaultMaxObj;
    int32_t m_delayMs = 0;
    ListingCursor m_stations;
    ListingCursor m_compounds;
    ListingCursor m_blocks;

    InjectedFaults m_faults;
    std::function<void(Function, int)> m_beforeCall;
    std::vector<Call> m_calls;
    int m_exitCount = 0;
};

// The one library of the process, set up from the environment when first used.
Library& library();

} // namespace dirapi

#endif
