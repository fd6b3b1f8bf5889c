// What the tests ask the library to get wrong: failures armed for numbered calls, and
// deliberate breaches of the batch protocol.
#ifndef ARBOLIX_DIRAPI_INJECTEDFAULTS_H
#define ARBOLIX_DIRAPI_INJECTEDFAULTS_H

#include "dirapi/dirapi_control.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace dirapi {

class InjectedFaults
{
public:
    using Function = dirapi_control::Function;
    using Misbehaviour = dirapi_control::Misbehaviour;

    void reset();

    // The 1-based number the function's next call will have.
    int nextCallNumber(Function function) const { return m_callNumbers[slotOf(function)] + 1; }
    // Counts a call of the function and tells whether a failure was armed for it.
    bool countCall(Function function);
    // Fails the k-th call from now (k = 1: the next one to be counted).
    void failCall(Function function, int k);

    Misbehaviour misbehaviour(Function function) const { return m_misbehaviours[slotOf(function)]; }
    void setMisbehaviour(Function function, Misbehaviour misbehaviour)
    {
        m_misbehaviours[slotOf(function)] = misbehaviour;
    }

private:
    static constexpr std::size_t kFunctions = 5;
    static std::size_t slotOf(Function function) { return static_cast<std::size_t>(function); }

    std::array<int, kFunctions> m_callNumbers{};
    std::vector<std::pair<Function, int>> m_armedFailures; // function and call number
    std::array<Misbehaviour, kFunctions> m_misbehaviours{};
};

// The count a listing reports for a batch of delivered entries, as the misbehaviour has it.
int32_t reportedCount(dirapi_control::Misbehaviour misbehaviour, int32_t delivered, int32_t maxObj);

} // namespace dirapi

#endif
