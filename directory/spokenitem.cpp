#include "directory/spokenitem.h"

#include "directory/itemlevel.h"
#include "directory/listing/blockline.h"
#include "res/resource.h"
#include "res/strings.h"

#include <string_view>

namespace directory {

namespace {

QString decoded(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

QString textOf(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    return decoded(tree.itemText(item));
}

QString spokenBlockName(std::string_view line)
{
    const std::string_view info = blockInfoOf(line);
    if (info.empty())
        return decoded(blockNameOf(line));
    return res::loadString(res::IDS_BLOCKNAME).arg(decoded(blockNameOf(line)), decoded(info));
}

} // namespace

QString spokenName(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    if (itemLevel(tree, item) == ItemLevel::Block)
        return spokenBlockName(tree.itemText(item));
    return textOf(tree, item);
}

QString spokenDescription(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    const tk::TreeItem parent = tree.parentItem(item);
    switch (itemLevel(tree, item)) {
    case ItemLevel::Station:
        return res::loadString(res::IDS_STATIONITEM);
    case ItemLevel::Compound:
        return res::loadString(res::IDS_COMPOUNDITEM).arg(textOf(tree, parent));
    case ItemLevel::Block:
        return res::loadString(res::IDS_BLOCKITEM)
            .arg(textOf(tree, parent), textOf(tree, tree.parentItem(parent)));
    case ItemLevel::None:
        break;
    }
    return {};
}

} // namespace directory
