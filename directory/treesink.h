// The directory reader's sink that puts stations, compounds and block lines into the tree.
#ifndef ARBOLIX_DIRECTORY_TREESINK_H
#define ARBOLIX_DIRECTORY_TREESINK_H

#include "directory/listing/directoryreader.h"
#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <string_view>

namespace directory {

class TreeSink : public SinkDefaults
{
public:
    explicit TreeSink(tk::TreeCtrl& tree) : m_tree(tree) {}

    tk::TreeItem station(std::string_view name) { return m_tree.insertItem(name); }
    tk::TreeItem compound(tk::TreeItem station, std::string_view name)
    {
        return m_tree.insertItem(name, station);
    }
    void block(tk::TreeItem compound, std::string_view line)
    {
        m_tree.insertLeafItem(line, compound);
    }

    // A listing that ended before delivering anything says nothing about the item: keep its
    // expand button, so the next expansion asks the directory again. An empty listing that
    // succeeded makes it a leaf.
    void listedBelow(tk::TreeItem item, const ListingResult& listing)
    {
        m_tree.setItemExpandable(item, listing.end != ListingEnd::Complete && listing.taken == 0);
    }

protected:
    tk::TreeCtrl& m_tree;
};

} // namespace directory

#endif
