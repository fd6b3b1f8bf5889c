// What a tree item names, worked out once: nothing, a station, a compound, or a block of a
// compound. Open Display, Copy Name and the context menu all ask this one value.
#ifndef ARBOLIX_DISPLAY_SELECTEDOBJECT_H
#define ARBOLIX_DISPLAY_SELECTEDOBJECT_H

#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <optional>
#include <string>

namespace display {

struct SelectedObject
{
    enum class Kind
    {
        Nothing,
        Station,
        Compound // a compound, or with block set one of its blocks
    };
    Kind kind = Kind::Nothing;
    std::string name;                 // the station's or the compound's name
    std::optional<std::string> block; // the block's name, without the rest of its line

    // Compounds and blocks have a display; stations do not.
    bool hasDisplay() const { return kind == Kind::Compound; }
    // What Copy Name and a drag give: COMPOUND:BLOCK for a block, else the name; empty for
    // nothing.
    std::string copyName() const;
};

SelectedObject selectedObject(const tk::TreeCtrl& tree, tk::TreeItem item);

} // namespace display

#endif
