#include "display/namedobject.h"

#include "directory/itemlevel.h"
#include "directory/listing/blockline.h"

namespace display {

std::string NamedObject::copyName() const
{
    if (!block)
        return name;
    return name + ':' + *block;
}

NamedObject namedObject(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    switch (directory::itemLevel(tree, item)) {
    case directory::ItemLevel::None:
        break;
    case directory::ItemLevel::Station:
        return {NamedObject::Kind::Station, std::string(tree.itemText(item)), std::nullopt};
    case directory::ItemLevel::Compound:
        return {NamedObject::Kind::Compound, std::string(tree.itemText(item)), std::nullopt};
    case directory::ItemLevel::Block:
        return {NamedObject::Kind::Block, std::string(tree.itemText(tree.parentItem(item))),
                std::string(directory::blockNameOf(tree.itemText(item)))};
    }
    return {};
}

} // namespace display
