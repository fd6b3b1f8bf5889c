#include "display/selectedobject.h"

#include "directory/itemlevel.h"
#include "directory/listing/blockline.h"

namespace display {

std::string SelectedObject::copyName() const
{
    if (!block)
        return name;
    return name + ':' + *block;
}

SelectedObject selectedObject(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    switch (directory::itemLevel(tree, item)) {
    case directory::ItemLevel::None:
        break;
    case directory::ItemLevel::Station:
        return {SelectedObject::Kind::Station, std::string(tree.itemText(item)), std::nullopt};
    case directory::ItemLevel::Compound:
        return {SelectedObject::Kind::Compound, std::string(tree.itemText(item)), std::nullopt};
    case directory::ItemLevel::Block:
        return {SelectedObject::Kind::Compound, std::string(tree.itemText(tree.parentItem(item))),
                std::string(directory::blockNameOf(tree.itemText(item)))};
    }
    return {};
}

} // namespace display
