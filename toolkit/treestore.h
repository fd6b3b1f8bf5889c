// Compact tree of byte-string items: nodes with integer links in one vector, texts in one arena.
#ifndef ARBOLIX_TOOLKIT_TREESTORE_H
#define ARBOLIX_TOOLKIT_TREESTORE_H

#include "toolkit/treeitem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tk {

// Holds a million items in a few dozen bytes each. Node 0 is the invisible root; items are
// appended as last children, deleted with their subtrees, and named outside by TreeItem
// handles that go stale when their item is deleted. Functions taking a NodeId accept any
// value: an id that names no live node reads as an empty, childless node.
class TreeStore
{
public:
    using NodeId = uint32_t;
    static constexpr NodeId kRoot = 0;
    static constexpr NodeId kNone = UINT32_MAX;
    // Links are 32 bits wide; kNone and the root take two of the values.
    static constexpr size_t kMaxNodes = UINT32_MAX - 1;
    static constexpr size_t kMaxTextBytes = UINT32_MAX - 1;
    static constexpr size_t kMaxTextLength = (size_t{1} << 27) - 1;

    TreeStore();
    // Lower limits than the link width allows, so the capacity edges can be reached in tests.
    TreeStore(size_t maxNodes, size_t maxTextBytes);

    NodeId node(TreeItem item) const; // kNone for a null or stale handle
    TreeItem item(NodeId node) const; // null for the root and for ids naming no live item
    bool isItem(NodeId node) const;   // a live node other than the root

    // Whether insert(parent, text of this length) would succeed.
    bool canInsert(NodeId parent, size_t textLength) const;
    // Appends a copy of text as the last child of parent; a leaf can never get children.
    // kNone when the parent is no live node or a leaf, or a capacity is exhausted.
    NodeId insert(NodeId parent, std::string_view text, bool leaf = false);
    // Deletes the node with its subtree; returns the number of items deleted.
    size_t remove(NodeId node);

    NodeId parent(NodeId node) const; // kRoot for top-level items, kNone for the root
    NodeId firstChild(NodeId node) const;
    NodeId lastChild(NodeId node) const;
    NodeId nextSibling(NodeId node) const;
    NodeId previousSibling(NodeId node) const;
    uint32_t childCount(NodeId node) const;
    // Position among the siblings. Deletions other than of a first or last child leave the
    // siblings' positions to be renumbered here, once, on the next call.
    uint32_t row(NodeId node);
    std::string_view text(NodeId node) const;
    bool isLeaf(NodeId node) const;
    // Marked as having children to come even while it has none (shows an expand button).
    bool isExpandable(NodeId node) const;
    void setExpandable(NodeId node, bool expandable);
    bool isAncestorOrSelf(NodeId ancestor, NodeId node) const;

    // One bit per node for the model over the store: the node's children are rows of it.
    bool rowsShown(NodeId node) const;
    void setRowsShown(NodeId node, bool shown);

    // Changes with every insert and delete, so cached positions can tell they went stale.
    uint64_t structureStamp() const { return m_stamp; }

    size_t liveItemCount() const { return m_liveItems; }
    size_t liveTextBytes() const { return m_liveBytes; }
    size_t arenaBytes() const { return m_arena.size(); }
    size_t arenaCapacity() const { return m_arena.capacity(); }
    size_t nodeSlots() const { return m_nodeSlots; }

private:
    struct Node
    {
        NodeId parent;
        NodeId first; // the first child's prev is the last child
        NodeId next;  // also links the free list
        NodeId prev;
        uint32_t count;
        uint32_t row; // less the first sibling's row, while the parent is not dirty
        uint32_t offset;
        uint32_t lengthAndFlags;
        uint32_t generation;
    };
    // Nodes live in fixed pages that never move: a growing vector would copy a million nodes
    // and leave the old block to the heap, which rarely returns it to the system.
    static constexpr unsigned kPageBits = 16;
    static constexpr size_t kPageSize = size_t{1} << kPageBits;
    static constexpr uint32_t kFree = 1u << 31;
    static constexpr uint32_t kRowsDirty = 1u << 30;
    static constexpr uint32_t kLeaf = 1u << 29;
    static constexpr uint32_t kRowsShown = 1u << 28;
    static constexpr uint32_t kExpandable = 1u << 27;
    static constexpr uint32_t kLengthMask = kExpandable - 1;
    // Compaction waits for this much dead text beyond the live text and the node slots, so
    // its cost, a pass over both, is paid for by the deletions before it.
    static constexpr size_t kCompactionSlack = 4096;

    Node& at(NodeId node) { return m_pages[node >> kPageBits][node & (kPageSize - 1)]; }
    const Node& at(NodeId node) const { return m_pages[node >> kPageBits][node & (kPageSize - 1)]; }
    const Node* live(NodeId node) const;
    bool isInArena(std::string_view text) const;
    NodeId allocateNode();
    void releaseNode(NodeId node);
    void unlink(NodeId node);
    // Links child in after parent's last child: the siblings' circular prev link, the row, and
    // the parent's count.
    void appendAsLastChild(NodeId parent, NodeId child);
    void renumber(NodeId parent);
    void compactIfWasteful();
    void compactArena();

    std::vector<std::unique_ptr<Node[]>> m_pages;
    size_t m_nodeSlots = 0;
    std::vector<char> m_arena;
    NodeId m_freeHead = kNone;
    size_t m_maxNodes = kMaxNodes;
    size_t m_maxTextBytes = kMaxTextBytes;
    size_t m_liveItems = 0;
    size_t m_liveBytes = 0;
    size_t m_deadBytes = 0;
    uint64_t m_stamp = 0;
};

// The handful of lookups every walk and insert makes, kept inline so they cost no call.

inline const TreeStore::Node* TreeStore::live(NodeId node) const
{
    if (node >= m_nodeSlots || (at(node).lengthAndFlags & kFree))
        return nullptr;
    return &at(node);
}

inline bool TreeStore::isItem(NodeId node) const
{
    return node != kRoot && live(node) != nullptr;
}

inline TreeStore::NodeId TreeStore::node(TreeItem item) const
{
    const NodeId id = item.m_index;
    if (!isItem(id) || at(id).generation != item.m_generation)
        return kNone;
    return id;
}

inline TreeItem TreeStore::item(NodeId node) const
{
    if (!isItem(node))
        return {};
    return TreeItem(node, at(node).generation);
}

inline TreeStore::NodeId TreeStore::parent(NodeId node) const
{
    const Node* n = live(node);
    return n ? n->parent : kNone;
}

inline TreeStore::NodeId TreeStore::firstChild(NodeId node) const
{
    const Node* n = live(node);
    return n ? n->first : kNone;
}

inline TreeStore::NodeId TreeStore::nextSibling(NodeId node) const
{
    const Node* n = live(node);
    return n && node != kRoot ? n->next : kNone;
}

inline uint32_t TreeStore::childCount(NodeId node) const
{
    const Node* n = live(node);
    return n ? n->count : 0;
}

inline bool TreeStore::isLeaf(NodeId node) const
{
    const Node* n = live(node);
    return n && (n->lengthAndFlags & kLeaf);
}

inline bool TreeStore::isExpandable(NodeId node) const
{
    const Node* n = live(node);
    return n && (n->lengthAndFlags & kExpandable);
}

inline bool TreeStore::rowsShown(NodeId node) const
{
    const Node* n = live(node);
    return n && (n->lengthAndFlags & kRowsShown);
}

inline std::string_view TreeStore::text(NodeId node) const
{
    const Node* n = live(node);
    if (!n || node == kRoot)
        return {};
    return {m_arena.data() + n->offset, n->lengthAndFlags & kLengthMask};
}

} // namespace tk

#endif
