// The plant listing format: one object a line, "STATION", "STATION COMPOUND" or
// "STATION COMPOUND BLOCK INFO", fields separated by blanks or tabs, '#' starts a comment.
#ifndef ARBOLIX_DIRAPI_PLANTLISTING_H
#define ARBOLIX_DIRAPI_PLANTLISTING_H

#include "dirapi/storedplant.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dirapi {

struct PlantListing
{
    std::unique_ptr<StoredPlant> plant;
    // One message per rejected line: "source:line: what is wrong".
    std::vector<std::string> problems;
};

// Objects keep the order of their first appearance; a station or compound named on a deeper
// line exists without a line of its own. Bytes are kept as they are. A rejected line adds
// nothing, and the rest still loads.
PlantListing parsePlantListing(std::string_view text, std::string_view source);

} // namespace dirapi

#endif
