#include "directory/itemlevel.h"

namespace directory {

ItemLevel itemLevel(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    if (!item)
        return ItemLevel::None;
    const tk::TreeItem parent = tree.parentItem(item);
    if (!parent)
        return ItemLevel::Station;
    return tree.parentItem(parent) ? ItemLevel::Block : ItemLevel::Compound;
}

} // namespace directory
