// One function per directory level: a listing by the batch protocol into the caller's buffers,
// each entry handed on as the text of its slot. proceed() is asked before every library call,
// and take answers whether the listing goes on (see runListing).
#ifndef ARBOLIX_DIRECTORY_LISTINGS_H
#define ARBOLIX_DIRECTORY_LISTINGS_H

#include "directory/dirapi.h"
#include "directory/listing/batchlisting.h"
#include "directory/listing/slottext.h"

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

// bool take(std::string_view name)
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
            return take(slotText(buffers.names + std::size_t(i) * DIRAPI_STATION_SLOT,
                                 DIRAPI_STATION_SLOT));
        });
}

// bool take(std::string_view name)
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
            return take(
                slotText(names + std::size_t(i) * DIRAPI_COMPOUND_SLOT, DIRAPI_COMPOUND_SLOT));
        });
}

// bool take(std::string_view name, std::string_view info)
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
            return take(
                slotText(buffers.names + std::size_t(i) * DIRAPI_BLOCK_SLOT, DIRAPI_BLOCK_SLOT),
                slotText(buffers.info + std::size_t(i) * DIRAPI_BLOCK_INFO_SLOT,
                         DIRAPI_BLOCK_INFO_SLOT));
        });
}

} // namespace directory

#endif
