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
