// The control system's directory library: five C functions. Listings return 0 on success.
#ifndef ARBOLIX_DIRECTORY_DIRAPI_H
#define ARBOLIX_DIRECTORY_DIRAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Slot widths of the result buffers: NUL-terminated names of at most width - 1 characters.
enum
{
    DIRAPI_STATION_SLOT = 7,
    DIRAPI_STATION_INFO_SLOT = 7,
    DIRAPI_STATION_WORD_SIZE = 4,
    DIRAPI_COMPOUND_SLOT = 13,
    DIRAPI_BLOCK_SLOT = 13,
    DIRAPI_BLOCK_INFO_SLOT = 7
};

// Batch capacity N: a listing call delivers at most N entries.
int32_t get_maxobj(void);

int32_t an_all_sta(int32_t maxobj, int32_t* more, int32_t* count, char* names, char* info,
                   int32_t* words, int32_t* cont);

int32_t an_all_cmp(const char* station, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   int32_t* cont);

int32_t an_all_blk(const char* compound, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   char* info, int32_t* cont);

int32_t an_exit(void);

#ifdef __cplusplus
}
#endif

#endif
