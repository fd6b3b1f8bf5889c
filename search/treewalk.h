// The find walk over the tree control, stepping through the item store by node numbers: a walk
// over a million items checks each handle once, at the end, instead of at every step.
#ifndef ARBOLIX_SEARCH_TREEWALK_H
#define ARBOLIX_SEARCH_TREEWALK_H

#include "search/findwalk.h"
#include "toolkit/treectrl.h"
#include "toolkit/treestore.h"

#include <string_view>
#include <utility>

namespace search {

// The store seen as a FindableTree. Items are node numbers, valid for as long as the store does
// not change, which holds during one walk.
class StoreTree
{
public:
    struct Item
    {
        tk::TreeStore::NodeId node = tk::TreeStore::kNone;
        explicit operator bool() const { return node != tk::TreeStore::kNone; }
    };

    explicit StoreTree(const tk::TreeStore& store) : m_store(store) {}

    Item rootItem() const { return {m_store.firstChild(tk::TreeStore::kRoot)}; }
    Item childItem(Item item) const { return {m_store.firstChild(item.node)}; }
    Item nextSiblingItem(Item item) const { return {m_store.nextSibling(item.node)}; }
    std::string_view itemText(Item item) const { return m_store.text(item.node); }

private:
    const tk::TreeStore& m_store;
};

// findNext over the control's items, with the match as a handle of the control.
inline FindResult<tk::TreeItem> findNextInTree(const tk::TreeCtrl& tree,
                                               const FindFragments& fragments, FindMemory memory)
{
    const tk::TreeStore& store = tree.store();
    auto found = findNext(StoreTree(store), fragments, std::move(memory));
    return {store.item(found.item.node), found.level, std::move(found.memory)};
}

} // namespace search

#endif
