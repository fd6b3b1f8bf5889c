#include "directory/spokenitem.h"

#include "directory/itemlevel.h"
#include "res/resource.h"
#include "res/strings.h"
#include "toolkit/bytetext.h"

#include <string_view>

namespace directory {

namespace {

QString decoded(std::string_view text)
{
    return tk::textOfBytes(text);
}

QString textOf(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    return decoded(tree.itemText(item));
}

// A block line is the name, blanks up to its column, and the block's information.
QString spokenBlockName(std::string_view line)
{
    const size_t nameEnd = line.find(' ');
    const std::string_view name = line.substr(0, nameEnd);
    const size_t infoStart =
        nameEnd == std::string_view::npos ? nameEnd : line.find_first_not_of(' ', nameEnd);
    if (infoStart == std::string_view::npos)
        return decoded(name);
    return res::loadString(res::IDS_BLOCKNAME).arg(decoded(name), decoded(line.substr(infoStart)));
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
