#include "dirapi/injectedfaults.h"

#include <algorithm>
#include <limits>

namespace dirapi {

void InjectedFaults::reset()
{
    m_callNumbers = {};
    m_armedFailures.clear();
    m_misbehaviours.fill(Misbehaviour::None);
}

bool InjectedFaults::countCall(Function function)
{
    const int counted = ++m_callNumbers[slotOf(function)];
    const auto armed = std::find(m_armedFailures.begin(), m_armedFailures.end(),
                                 std::make_pair(function, counted));
    if (armed == m_armedFailures.end())
        return false;
    m_armedFailures.erase(armed);
    return true;
}

void InjectedFaults::failCall(Function function, int k)
{
    if (k >= 1)
        m_armedFailures.emplace_back(function, m_callNumbers[slotOf(function)] + k);
}

int32_t reportedCount(dirapi_control::Misbehaviour misbehaviour, int32_t delivered, int32_t maxObj)
{
    using dirapi_control::Misbehaviour;
    switch (misbehaviour) {
    case Misbehaviour::CountAboveN:
        return maxObj < std::numeric_limits<int32_t>::max() ? maxObj + 1 : maxObj;
    case Misbehaviour::NegativeCount:
        return -1;
    default:
        return delivered;
    }
}

} // namespace dirapi
