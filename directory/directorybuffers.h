// What one walk of the directory reads into: N, the six result buffers and each level's words.
#ifndef ARBOLIX_DIRECTORY_DIRECTORYBUFFERS_H
#define ARBOLIX_DIRECTORY_DIRECTORYBUFFERS_H

#include "directory/batchlisting.h"

#include <cstdint>

namespace directory {

// N and the result buffers, one set per level, so that a nested listing never overwrites the
// batch an outer one is still walking.
struct DirectoryBuffers
{
    int32_t maxObj = 0;
    char* stationNames = nullptr;
    char* stationInfo = nullptr;
    int32_t* stationWords = nullptr;
    char* compoundNames = nullptr;
    char* blockNames = nullptr;
    char* blockInfo = nullptr;
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
