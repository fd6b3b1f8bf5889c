// What a screen reader says for a tree item: its name without the block line's padding, and
// where it stands in the directory.
#ifndef ARBOLIX_DIRECTORY_SPOKENITEM_H
#define ARBOLIX_DIRECTORY_SPOKENITEM_H

#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <QString>

namespace directory {

// A station's or compound's name; a block's name and type ("AIN1, AIN").
QString spokenName(const tk::TreeCtrl& tree, tk::TreeItem item);
// "station", "compound of station WP01", "block in compound UC01 of station WP01".
QString spokenDescription(const tk::TreeCtrl& tree, tk::TreeItem item);

} // namespace directory

#endif
