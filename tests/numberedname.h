// Names with a number in them ("S12", "B3X7") for the tests' plants and trees.
#ifndef ARBOLIX_TESTS_NUMBEREDNAME_H
#define ARBOLIX_TESTS_NUMBEREDNAME_H

#include <string>
#include <string_view>

namespace testsupport {

// prefix, n and suffix appended in turn to one string. Spelt "S" + std::to_string(n), GCC 12 at
// -O3 takes the insertion into the temporary for an overlapping copy (a -Wrestrict false positive).
inline std::string numbered(std::string_view prefix, long long n, std::string_view suffix = {})
{
    std::string name(prefix);
    name += std::to_string(n);
    name += suffix;
    return name;
}

} // namespace testsupport

#endif
