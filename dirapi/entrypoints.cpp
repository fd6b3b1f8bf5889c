// The five C functions of the directory library: the only symbols it exports, as the rest of the
// stand-in is built with hidden visibility.
#include "directory/dirapi.h"

#include "dirapi/library.h"

#define DIRAPI_EXPORT __attribute__((visibility("default")))

using dirapi::library;
using dirapi::ListingOutput;

extern "C" {

DIRAPI_EXPORT int32_t get_maxobj(void)
{
    return library().getMaxObj();
}

DIRAPI_EXPORT int32_t an_all_sta(int32_t maxobj, int32_t* more, int32_t* count, char* names,
                                 char* info, int32_t* words, int32_t* cont)
{
    return library().listStations(ListingOutput{maxobj, more, count, cont, names, info, words});
}

DIRAPI_EXPORT int32_t an_all_cmp(const char* station, int32_t maxobj, int32_t* more, int32_t* count,
                                 char* names, int32_t* cont)
{
    return library().listCompounds(
        station, ListingOutput{maxobj, more, count, cont, names, nullptr, nullptr});
}

DIRAPI_EXPORT int32_t an_all_blk(const char* compound, int32_t maxobj, int32_t* more,
                                 int32_t* count, char* names, char* info, int32_t* cont)
{
    return library().listBlocks(compound,
                                ListingOutput{maxobj, more, count, cont, names, info, nullptr});
}

DIRAPI_EXPORT int32_t an_exit(void)
{
    return library().exit();
}

} // extern "C"
