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
