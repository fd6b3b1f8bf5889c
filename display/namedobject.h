// What a tree item names, worked out once: nothing, a station, a compound, or a block of a
// compound. Open Display, Copy Name and the context menu all ask this one value.
#ifndef ARBOLIX_DISPLAY_NAMEDOBJECT_H
#define ARBOLIX_DISPLAY_NAMEDOBJECT_H

#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <optional>
#include <string>

namespace display {

struct NamedObject
{
    enum class Kind
    {
        Nothing,
        Station,
        Compound,
        Block // block set, and name its compound's
    };
    Kind kind = Kind::Nothing;
    std::string name;                 // the station's or the compound's name
    std::optional<std::string> block; // the block's name, without the rest of its line

    // Compounds and blocks have a display; stations do not.
    bool hasDisplay() const { return kind == Kind::Compound || kind == Kind::Block; }
    // What Copy Name and a drag give: COMPOUND:BLOCK for a block, else the name; empty for
    // nothing.
    std::string copyName() const;
};

NamedObject namedObject(const tk::TreeCtrl& tree, tk::TreeItem item);

} // namespace display

#endif
