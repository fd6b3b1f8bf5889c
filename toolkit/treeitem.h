// Opaque handle of a tree item.
#ifndef ARBOLIX_TOOLKIT_TREEITEM_H
#define ARBOLIX_TOOLKIT_TREEITEM_H

#include <cstdint>

namespace tk {

// A null handle names no item (and, passed as a parent, the root). A handle of a deleted item
// never names another item, even when the store reuses its slot.
class TreeItem
{
public:
    constexpr TreeItem() = default;
    constexpr bool isNull() const { return m_index == 0; }
    explicit constexpr operator bool() const { return m_index != 0; }
    friend constexpr bool operator==(TreeItem, TreeItem) = default;

private:
    friend class TreeStore;
    constexpr TreeItem(uint32_t index, uint32_t generation)
        : m_index(index), m_generation(generation)
    {
    }
    uint32_t m_index = 0; // the store's node index; node 0 is the root, which no handle names
    uint32_t m_generation = 0;
};

} // namespace tk

#endif
