#include "res/strings.h"

#include "res/resource.h"

namespace res {

namespace {

struct StringEntry
{
    int id;
    const char* text;
};

constexpr StringEntry stringTable[] = {
    {IDS_ABOUTBOX, "&About Arbolix..."},
    {IDS_SEARCHNOTFOUND, "Search pattern not found!"},
    {IDS_COPYNAME, "&Copy Name"},
    {IDS_OPENDISPLAY, "&Open Display"},
    {IDS_TREENAME, "Object directory"},
    {IDS_STATIONITEM, "station"},
    {IDS_COMPOUNDITEM, "compound of station %1"},
    {IDS_BLOCKITEM, "block in compound %1 of station %2"},
    {IDS_BLOCKNAME, "%1, %2"},
    {IDS_MAXCHARS, "at most %1 characters"},
    {IDS_CONTEXTMENU, "Object menu"},
    {IDS_FOUNDITEM, "Found %1, %2"},
};

} // namespace

QString loadString(int id)
{
    for (const StringEntry& entry : stringTable) {
        if (entry.id == id)
            return QString::fromUtf8(entry.text);
    }
    return QString();
}

} // namespace res
