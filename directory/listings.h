// One function per directory level: a listing by the batch protocol into the caller's buffers,
// each entry handed on as the text of its slot. proceed() is asked before every library call
// (see runListing); without it every listing runs to its end.
#ifndef ARBOLIX_DIRECTORY_LISTINGS_H
#define ARBOLIX_DIRECTORY_LISTINGS_H

#include "directory/batchlisting.h"
#include "directory/dirapi.h"
#include "directory/slottext.h"

#include <string_view>

namespace directory {

struct StationBuffers
{
    char* names = nullptr;
    char* info = nullptr;
    int32_t* words = nullptr;
};

struct BlockBuffers
{
    char* names = nullptr;
    char* info = nullptr;
};

// take(std::string_view name)
template <class ProceedFn, class TakeFn>
ListingResult listStations(int32_t maxObj, ListingWords& words, const StationBuffers& buffers,
                           ProceedFn&& proceed, TakeFn&& take)
{
    return runListing(
        maxObj, words, proceed,
        [&](ListingWords& w) {
            return an_all_sta(maxObj, &w.more, &w.count, buffers.names, buffers.info, buffers.words,
                              &w.cont);
        },
        [&](int32_t i) {
            take(slotText(buffers.names + std::size_t(i) * DIRAPI_STATION_SLOT,
                          DIRAPI_STATION_SLOT));
        });
}

template <class TakeFn>
ListingResult listStations(int32_t maxObj, ListingWords& words, const StationBuffers& buffers,
                           TakeFn&& take)
{
    return listStations(maxObj, words, buffers, alwaysProceed, take);
}

// take(std::string_view name)
template <class ProceedFn, class TakeFn>
ListingResult listCompounds(std::string_view station, int32_t maxObj, ListingWords& words,
                            char* names, ProceedFn&& proceed, TakeFn&& take)
{
    const SlotName<DIRAPI_STATION_SLOT> stationName(station);
    return runListing(
        maxObj, words, proceed,
        [&](ListingWords& w) {
            return an_all_cmp(stationName.c_str(), maxObj, &w.more, &w.count, names, &w.cont);
        },
        [&](int32_t i) {
            take(slotText(names + std::size_t(i) * DIRAPI_COMPOUND_SLOT, DIRAPI_COMPOUND_SLOT));
        });
}

template <class TakeFn>
ListingResult listCompounds(std::string_view station, int32_t maxObj, ListingWords& words,
                            char* names, TakeFn&& take)
{
    return listCompounds(station, maxObj, words, names, alwaysProceed, take);
}

// take(std::string_view name, std::string_view info)
template <class ProceedFn, class TakeFn>
ListingResult listBlocks(std::string_view compound, int32_t maxObj, ListingWords& words,
                         const BlockBuffers& buffers, ProceedFn&& proceed, TakeFn&& take)
{
    const SlotName<DIRAPI_COMPOUND_SLOT> compoundName(compound);
    return runListing(
        maxObj, words, proceed,
        [&](ListingWords& w) {
            return an_all_blk(compoundName.c_str(), maxObj, &w.more, &w.count, buffers.names,
                              buffers.info, &w.cont);
        },
        [&](int32_t i) {
            take(slotText(buffers.names + std::size_t(i) * DIRAPI_BLOCK_SLOT, DIRAPI_BLOCK_SLOT),
                 slotText(buffers.info + std::size_t(i) * DIRAPI_BLOCK_INFO_SLOT,
                          DIRAPI_BLOCK_INFO_SLOT));
        });
}

template <class TakeFn>
ListingResult listBlocks(std::string_view compound, int32_t maxObj, ListingWords& words,
                         const BlockBuffers& buffers, TakeFn&& take)
{
    return listBlocks(compound, maxObj, words, buffers, alwaysProceed, take);
}

} // namespace directory

#endif
