// What one walk of the directory reads into: N, the six result buffers and each level's words.
#ifndef ARBOLIX_DIRECTORY_DIRECTORYBUFFERS_H
#define ARBOLIX_DIRECTORY_DIRECTORYBUFFERS_H

#include "directory/listing/batchlisting.h"
#include "directory/listing/listings.h"

#include <cstdint>

namespace directory {

// N and the result buffers, one set per level, so that a nested listing never overwrites the
// batch an outer one is still walking.
struct DirectoryBuffers
{
    int32_t maxObj = 0;
    StationBuffers stations;
    char* compoundNames = nullptr;
    BlockBuffers blocks;
};

// The words of each level's listing.
struct LevelWords
{
    ListingWords station;
    ListingWords compound;
    ListingWords block;
};

} // namespace directory

#endif
