/* A directory library such as a site's control system ships, for the site library test: the five
   functions over a fixed plant of its own, built under a name and soname of its own. Every call
   is appended as one line to the file that PLANTFIXTURE_CALLS names:
       get_maxobj
       an_all_sta more=0 -> 0 PS01 PS02
       an_all_cmp PS01 more=0 -> 0 FEED_PUMPS FEED_VALVES
       an_all_blk FEED_PUMPS more=0 -> 0 P101 P102
       an_exit
   i.e. the function, the name asked for, the more flag on entry, the result and the names
   delivered. Built with PLANTFIXTURE_WITHOUT_AN_ALL_BLK it lacks an_all_blk; with
   PLANTFIXTURE_AN_EXIT_AS_DATA its an_exit is a data object; with PLANTFIXTURE_NEEDS_BASE its
   batch size comes from plantbase_maxobj in a base library it is linked against. */
#ifdef PLANTFIXTURE_AN_EXIT_AS_DATA
#define an_exit an_exit_as_declared
#endif
#include "directory/dirapi.h"
#ifdef PLANTFIXTURE_AN_EXIT_AS_DATA
#undef an_exit
int32_t an_exit = 0;
#endif
#ifdef PLANTFIXTURE_NEEDS_BASE
int32_t plantbase_maxobj(void);
#endif

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Small batches, so that every level is listed over more than one call. */
#define PLANTFIXTURE_MAXOBJ 2

struct Entry
{
    const char* parent; /* station of a compound, compound of a block; unused for stations */
    const char* name;
    const char* info; /* blocks only */
};

static const struct Entry kStations[] = {{"", "PS01", ""}, {"", "PS02", ""}, {"", "PS03", ""}};

static const struct Entry kCompounds[] = {
    {"PS01", "FEED_PUMPS", ""},  {"PS01", "FEED_VALVES", ""}, {"PS01", "FEED_TANK", ""},
    {"PS02", "FLARE_STACK", ""}, {"PS03", "COOLING", ""},
};

static const struct Entry kBlocks[] = {
    {"FEED_PUMPS", "P101", "MOTOR"},     {"FEED_PUMPS", "P102", "MOTOR"},
    {"FEED_PUMPS", "P101_SPEED", "AIN"}, {"FEED_VALVES", "FV201", "DOUT"},
    {"FEED_TANK", "LT301", "AIN"},       {"FEED_TANK", "LIC301", "PIDA"},
    {"FLARE_STACK", "TI401", "AIN"},     {"COOLING", "TIC501", "PIDA"},
    {"COOLING", "ABCDEFGHIJKL", "CALC"},
};

#define COUNT_OF(a) ((int32_t)(sizeof(a) / sizeof((a)[0])))

static FILE* openRecord(void)
{
    const char* path = getenv("PLANTFIXTURE_CALLS");
    return path && *path ? fopen(path, "a") : NULL;
}

static void record(const char* line)
{
    FILE* file = openRecord();
    if (file) {
        fprintf(file, "%s\n", line);
        fclose(file);
    }
}

/* Copies at most width - 1 characters and the NUL into a slot of width bytes. */
static void putSlot(char* slot, size_t width, const char* text)
{
    size_t length = strlen(text);
    if (length > width - 1)
        length = width - 1;
    memcpy(slot, text, length);
    slot[length] = '\0';
}

/* One batch of the entries under parent (all of them for parent NULL). The continuation word
   holds the index of the next entry, which a call with the more flag set starts from. */
static int32_t listBatch(const char* function, const struct Entry* entries, int32_t total,
                         const char* parent, int32_t maxobj, int32_t* more, int32_t* count,
                         char* names, size_t nameWidth, char* info, size_t infoWidth, int32_t* cont)
{
    if (maxobj <= 0 || !more || !count || !names || !cont) {
        record(function);
        return 1;
    }
    FILE* file = openRecord();
    if (file)
        fprintf(file, "%s%s%s more=%d -> 0", function, parent ? " " : "", parent ? parent : "",
                (int)*more);
    int32_t next = *more ? *cont : 0;
    if (next < 0 || next > total)
        next = total;
    int32_t delivered = 0;
    for (; next < total && delivered < maxobj; ++next) {
        if (parent && strcmp(entries[next].parent, parent) != 0)
            continue;
        putSlot(names + (size_t)delivered * nameWidth, nameWidth, entries[next].name);
        if (info)
            putSlot(info + (size_t)delivered * infoWidth, infoWidth, entries[next].info);
        if (file)
            fprintf(file, " %s", entries[next].name);
        ++delivered;
    }
    /* More only if another entry under the same parent follows. */
    while (next < total && parent && strcmp(entries[next].parent, parent) != 0)
        ++next;
    if (file) {
        fprintf(file, "\n");
        fclose(file);
    }
    *count = delivered;
    *more = next < total;
    *cont = next;
    return 0;
}

int32_t get_maxobj(void)
{
    record("get_maxobj");
#ifdef PLANTFIXTURE_NEEDS_BASE
    return plantbase_maxobj();
#else
    return PLANTFIXTURE_MAXOBJ;
#endif
}

int32_t an_all_sta(int32_t maxobj, int32_t* more, int32_t* count, char* names, char* info,
                   int32_t* words, int32_t* cont)
{
    (void)info;
    (void)words;
    return listBatch("an_all_sta", kStations, COUNT_OF(kStations), NULL, maxobj, more, count, names,
                     DIRAPI_STATION_SLOT, NULL, 0, cont);
}

int32_t an_all_cmp(const char* station, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   int32_t* cont)
{
    if (!station) {
        record("an_all_cmp");
        return 1;
    }
    return listBatch("an_all_cmp", kCompounds, COUNT_OF(kCompounds), station, maxobj, more, count,
                     names, DIRAPI_COMPOUND_SLOT, NULL, 0, cont);
}

#ifndef PLANTFIXTURE_WITHOUT_AN_ALL_BLK
int32_t an_all_blk(const char* compound, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   char* info, int32_t* cont)
{
    if (!compound || !info) {
        record("an_all_blk");
        return 1;
    }
    return listBatch("an_all_blk", kBlocks, COUNT_OF(kBlocks), compound, maxobj, more, count, names,
                     DIRAPI_BLOCK_SLOT, info, DIRAPI_BLOCK_INFO_SLOT, cont);
}
#endif

#ifndef PLANTFIXTURE_AN_EXIT_AS_DATA
int32_t an_exit(void)
{
    record("an_exit");
    return 0;
}
#endif
