// What the find walk remembers between two Finds: the item found last at each level.
#ifndef ARBOLIX_SEARCH_FINDMEMORY_H
#define ARBOLIX_SEARCH_FINDMEMORY_H

#include <string>
#include <vector>

namespace search {

enum class FindLevel
{
    Station = 0,
    Compound = 1,
    Block = 2
}; // also the depth in the tree

// The texts from a station down to one item: {station}, {station, compound} or
// {station, compound, block line}. Empty when nothing is remembered.
using ItemPath = std::vector<std::string>;

// One remembered path per level. A search at one level neither reads nor changes the others, so
// returning to a level resumes after the item found last there. A whole path rather than the
// item's own text, because block lines such as "AIN1" repeat under many compounds.
struct FindMemory
{
    ItemPath station;
    ItemPath compound;
    ItemPath block;

    ItemPath& at(FindLevel level)
    {
        switch (level) {
        case FindLevel::Station:
            return station;
        case FindLevel::Compound:
            return compound;
        case FindLevel::Block:
            break;
        }
        return block;
    }
    const ItemPath& at(FindLevel level) const { return const_cast<FindMemory*>(this)->at(level); }

    friend bool operator==(const FindMemory&, const FindMemory&) = default;
};

} // namespace search

#endif
