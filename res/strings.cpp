#include "res/strings.h"

#include "res/resource.h"

#include <QCoreApplication>

namespace res {

namespace {

struct StringEntry
{
    int id;
    const char* text;
};

constexpr StringEntry stringTable[] = {
    {IDS_ABOUTBOX, QT_TRANSLATE_NOOP("StringTable", "&About Arbolix...")},
    {IDS_SEARCHNOTFOUND, QT_TRANSLATE_NOOP("StringTable", "Search pattern not found!")},
    {IDS_COPYNAME, QT_TRANSLATE_NOOP("StringTable", "&Copy Name")},
    {IDS_OPENDISPLAY, QT_TRANSLATE_NOOP("StringTable", "&Open Display")},
    {IDS_TREENAME, QT_TRANSLATE_NOOP("StringTable", "Object directory")},
    {IDS_STATIONITEM, QT_TRANSLATE_NOOP("StringTable", "station")},
    {IDS_COMPOUNDITEM, QT_TRANSLATE_NOOP("StringTable", "compound of station %1")},
    {IDS_BLOCKITEM, QT_TRANSLATE_NOOP("StringTable", "block in compound %1 of station %2")},
    {IDS_BLOCKNAME, QT_TRANSLATE_NOOP("StringTable", "%1, %2")},
    {IDS_MAXCHARS, QT_TRANSLATE_NOOP("StringTable", "at most %1 characters")},
    {IDS_CONTEXTMENU, QT_TRANSLATE_NOOP("StringTable", "Object menu")},
    {IDS_FOUNDITEM, QT_TRANSLATE_NOOP("StringTable", "Found %1, %2")},
};

} // namespace

QString loadString(int id)
{
    for (const StringEntry& entry : stringTable) {
        if (entry.id == id)
            return QCoreApplication::translate("StringTable", entry.text);
    }
    return QString();
}

} // namespace res
