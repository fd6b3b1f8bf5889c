// The test controls, each handed to the library's state.
#include "dirapi/dirapi_control.h"

#include "dirapi/library.h"

namespace dirapi_control {

using dirapi::library;

void reset()
{
    library().reset();
}

int loadPlant(std::string_view text)
{
    return library().loadPlant(text);
}

void loadGeneratedPlant(int stations, int compounds, int blocks)
{
    library().loadGeneratedPlant(dirapi::PlantSize{stations, compounds, blocks});
}

void setMaxObj(int32_t n)
{
    library().setMaxObj(n);
}

void failCall(Function function, int k)
{
    library().failCall(function, k);
}

void setMisbehaviour(Function function, Misbehaviour misbehaviour)
{
    library().setMisbehaviour(function, misbehaviour);
}

void setBeforeCall(std::function<void(Function, int)> hook)
{
    library().setBeforeCall(std::move(hook));
}

const std::vector<Call>& calls()
{
    return library().calls();
}

void clearCalls()
{
    library().clearCalls();
}

int exitCount()
{
    return library().exitCount();
}

} // namespace dirapi_control
