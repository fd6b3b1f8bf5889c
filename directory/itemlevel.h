// Which level of the directory a tree item stands for, from its ancestors alone.
#ifndef ARBOLIX_DIRECTORY_ITEMLEVEL_H
#define ARBOLIX_DIRECTORY_ITEMLEVEL_H

#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

namespace directory {

enum class ItemLevel
{
    None, // a null item
    Station,
    Compound,
    Block
};

// No parent: a station; a parent but no grandparent: a compound; a grandparent: a block.
ItemLevel itemLevel(const tk::TreeCtrl& tree, tk::TreeItem item);

} // namespace directory

#endif
