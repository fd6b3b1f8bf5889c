// Test controls of the stand-in directory library. Tests only: the program never calls these.
#ifndef ARBOLIX_DIRAPI_DIRAPI_CONTROL_H
#define ARBOLIX_DIRAPI_DIRAPI_CONTROL_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dirapi_control {

enum class Function
{
    GetMaxObj,
    AllSta,
    AllCmp,
    AllBlk,
    Exit
};

// Deliberate protocol violations, for testing how a caller survives a broken library.
enum class Misbehaviour
{
    None,
    UnterminatedSlot, // every name and block info slot filled to its last byte, no NUL
    CountAboveN,      // count = N + 1
    NegativeCount,    // count = -1
    EndlessEmptyMore, // success, more flag 1, count 0, for ever
};

struct Call
{
    Function function;
    // The name argument as received, up to its NUL but no further than its slot's width;
    // empty for an_all_sta.
    std::string name;
    int32_t moreOnEntry;
};

// Back to the state the environment selects, read again now (DIRAPI_FILE, DIRAPI_DEMO,
// DIRAPI_MAXOBJ, DIRAPI_DELAY_MS, DIRAPI_TRACE): file, generated or built-in plant, N from
// DIRAPI_MAXOBJ or 256, no failures, no misbehaviour, no hook, empty call record, an_exit count 0.
void reset();

// Replaces the plant with one in plant listing file format (problems reported on standard error
// as from a file named "plant"); a listing file in use is no longer watched. Returns the number
// of lines rejected.
int loadPlant(std::string_view text);

// Loads a generated plant of stations x compounds x blocks (as DIRAPI_DEMO does), each clamped
// to 0 .. 9999, 9999 and 999999.
void loadGeneratedPlant(int stations, int compounds, int blocks);

void setMaxObj(int32_t n);

// The k-th call (1-based, counted from now) of the function returns failure: nonzero from a
// listing or an_exit, 0 from get_maxobj. Armed from the before-call hook, k = 1 is the call
// about to be answered. Several can be armed; reset() disarms all.
void failCall(Function function, int k);

void setMisbehaviour(Function function, Misbehaviour misbehaviour);

// Called at the start of every call of the library (before it answers), with the function and
// the 1-based number of this call among that function's calls since the last reset; may change
// the plant.
void setBeforeCall(std::function<void(Function, int)> hook);

const std::vector<Call>& calls();
void clearCalls();
int exitCount();

} // namespace dirapi_control

#endif
