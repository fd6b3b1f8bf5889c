/* Calls the directory functions that PROBE_* names, so that linking it tells whether a library
   defines them. Never run. */
#include "directory/dirapi.h"

int main(void)
{
    int32_t more = 0;
    int32_t count = 0;
    int32_t cont = 0;
    int32_t result = 0;
    (void)more;
    (void)count;
    (void)cont;
#ifdef PROBE_get_maxobj
    result += get_maxobj();
#endif
#ifdef PROBE_an_all_sta
    {
        char names[DIRAPI_STATION_SLOT];
        char info[DIRAPI_STATION_INFO_SLOT];
        int32_t words[1];
        result += an_all_sta(1, &more, &count, names, info, words, &cont);
    }
#endif
#ifdef PROBE_an_all_cmp
    {
        char names[DIRAPI_COMPOUND_SLOT];
        result += an_all_cmp("", 1, &more, &count, names, &cont);
    }
#endif
#ifdef PROBE_an_all_blk
    {
        char names[DIRAPI_BLOCK_SLOT];
        char info[DIRAPI_BLOCK_INFO_SLOT];
        result += an_all_blk("", 1, &more, &count, names, info, &cont);
    }
#endif
#ifdef PROBE_an_exit
    result += an_exit();
#endif
    return result;
}
