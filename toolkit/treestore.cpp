#include "toolkit/treestore.h"

#include <algorithm>
#include <functional>
#include <string>

namespace tk {

TreeStore::TreeStore() : TreeStore(kMaxNodes, kMaxTextBytes) {}

TreeStore::TreeStore(size_t maxNodes, size_t maxTextBytes)
    : m_maxNodes(std::clamp<size_t>(maxNodes, 1, kMaxNodes)),
      m_maxTextBytes(std::min(maxTextBytes, kMaxTextBytes))
{
    allocateNode(); // the root
}

bool TreeStore::canInsert(NodeId parent, size_t textLength) const
{
    const Node* p = live(parent);
    if (!p || (p->lengthAndFlags & kLeaf) || textLength > kMaxTextLength)
        return false;
    if (m_freeHead == kNone && m_nodeSlots >= m_maxNodes)
        return false;
    // Dead text is reclaimed by compaction before the arena is declared full.
    return m_liveBytes + textLength <= m_maxTextBytes;
}

bool TreeStore::isInArena(std::string_view text) const
{
    if (text.empty() || m_arena.empty())
        return false;
    const std::less<const char*> before;
    const char* begin = m_arena.data();
    const char* end = begin + m_arena.size();
    return !before(text.data(), begin) && before(text.data(), end);
}

TreeStore::NodeId TreeStore::insert(NodeId parent, std::string_view text, bool leaf)
{
    if (!canInsert(parent, text.size()))
        return kNone;
    // Text from the arena itself would move as the arena grows or is compacted: copy it first.
    std::string copy;
    if (isInArena(text)) {
        copy.assign(text);
        text = copy;
    }
    if (m_arena.size() + text.size() > m_maxTextBytes)
        compactArena();

    const NodeId id = allocateNode();
    Node& n = at(id);
    n.parent = parent;
    n.first = kNone;
    n.count = 0;
    n.offset = static_cast<uint32_t>(m_arena.size());
    n.lengthAndFlags = static_cast<uint32_t>(text.size()) | (leaf ? kLeaf : 0);
    m_arena.insert(m_arena.end(), text.begin(), text.end());
    appendAsLastChild(parent, id);

    ++m_liveItems;
    m_liveBytes += text.size();
    ++m_stamp;
    return id;
}

void TreeStore::appendAsLastChild(NodeId parent, NodeId child)
{
    Node& p = at(parent);
    Node& n = at(child);
    n.next = kNone;
    if (p.first == kNone) {
        // An only child: its prev names itself, as the last child.
        p.first = child;
        n.prev = child;
        n.row = 0;
        p.lengthAndFlags &= ~kRowsDirty;
    } else {
        // The first child's prev names the last child.
        Node& first = at(p.first);
        const NodeId last = first.prev;
        at(last).next = child;
        n.prev = last;
        first.prev = child;
        // After the last child's row, unless that one is left to be renumbered.
        if (at(last).row == UINT32_MAX)
            p.lengthAndFlags |= kRowsDirty;
        else
            n.row = at(last).row + 1;
    }
    ++p.count;
}

TreeStore::NodeId TreeStore::allocateNode()
{
    if (m_freeHead != kNone) {
        const NodeId id = m_freeHead;
        m_freeHead = at(id).next;
        return id;
    }
    if (m_nodeSlots == m_pages.size() * kPageSize) {
        // Left uninitialised, so the system provides the pages only as nodes are used.
        m_pages.push_back(std::make_unique_for_overwrite<Node[]>(kPageSize));
    }
    const auto id = static_cast<NodeId>(m_nodeSlots++);
    at(id) = Node{kNone, kNone, kNone, kNone, 0, 0, 0, 0, 1};
    return id;
}

void TreeStore::releaseNode(NodeId node)
{
    Node& n = at(node);
    const size_t length = n.lengthAndFlags & kLengthMask;
    m_liveBytes -= length;
    m_deadBytes += length;
    --m_liveItems;
    n.lengthAndFlags = kFree;
    n.first = kNone;
    n.count = 0;
    ++n.generation;
    // A slot whose generation would wrap is retired, so no old handle can name it again.
    if (n.generation != UINT32_MAX) {
        n.next = m_freeHead;
        m_freeHead = node;
    }
}

void TreeStore::unlink(NodeId node)
{
    Node& n = at(node);
    Node& p = at(n.parent);
    const NodeId first = p.first;
    if (node == first) {
        // Positions are kept relative to the first sibling, so the others need no change.
        p.first = n.next;
        if (n.next != kNone)
            at(n.next).prev = n.prev;
    } else {
        at(n.prev).next = n.next;
        if (n.next != kNone) {
            at(n.next).prev = n.prev;
            p.lengthAndFlags |= kRowsDirty;
        } else {
            at(first).prev = n.prev;
        }
    }
    if (--p.count == 0)
        p.lengthAndFlags &= ~kRowsDirty;
}

size_t TreeStore::remove(NodeId node)
{
    if (!isItem(node))
        return 0;
    unlink(node);
    // Frees children before parents without recursion, so depth costs no stack.
    size_t removed = 0;
    NodeId current = node;
    for (;;) {
        while (at(current).first != kNone)
            current = at(current).first;
        if (current == node)
            break;
        const NodeId parent = at(current).parent;
        const NodeId next = at(current).next;
        at(parent).first = next;
        releaseNode(current);
        ++removed;
        current = next != kNone ? next : parent;
    }
    releaseNode(node);
    ++removed;
    ++m_stamp;
    compactIfWasteful();
    return removed;
}

void TreeStore::compactIfWasteful()
{
    if (m_deadBytes > m_liveBytes + m_nodeSlots + kCompactionSlack)
        compactArena();
}

void TreeStore::compactArena()
{
    std::vector<char> packed;
    packed.reserve(m_liveBytes);
    for (NodeId id = 0; id < m_nodeSlots; ++id) {
        Node& n = at(id);
        if (n.lengthAndFlags & kFree)
            continue;
        const size_t length = n.lengthAndFlags & kLengthMask;
        const auto from = m_arena.begin() + n.offset;
        n.offset = static_cast<uint32_t>(packed.size());
        packed.insert(packed.end(), from, from + static_cast<std::ptrdiff_t>(length));
    }
    m_arena.swap(packed);
    m_deadBytes = 0;
}

TreeStore::NodeId TreeStore::lastChild(NodeId node) const
{
    const Node* n = live(node);
    return n && n->first != kNone ? at(n->first).prev : kNone;
}

TreeStore::NodeId TreeStore::previousSibling(NodeId node) const
{
    const Node* n = live(node);
    if (!n || node == kRoot || at(n->parent).first == node)
        return kNone;
    return n->prev;
}

uint32_t TreeStore::row(NodeId node)
{
    if (!isItem(node))
        return 0;
    const NodeId parent = at(node).parent;
    if (at(parent).lengthAndFlags & kRowsDirty)
        renumber(parent);
    return at(node).row - at(at(parent).first).row;
}

void TreeStore::renumber(NodeId parent)
{
    uint32_t row = 0;
    for (NodeId c = at(parent).first; c != kNone; c = at(c).next)
        at(c).row = row++;
    at(parent).lengthAndFlags &= ~kRowsDirty;
}

void TreeStore::setExpandable(NodeId node, bool expandable)
{
    if (!live(node) || node == kRoot || (at(node).lengthAndFlags & kLeaf))
        return;
    if (expandable)
        at(node).lengthAndFlags |= kExpandable;
    else
        at(node).lengthAndFlags &= ~kExpandable;
}

bool TreeStore::isAncestorOrSelf(NodeId ancestor, NodeId node) const
{
    if (!live(ancestor))
        return false;
    for (NodeId n = node; live(n); n = at(n).parent) {
        if (n == ancestor)
            return true;
    }
    return false;
}

void TreeStore::setRowsShown(NodeId node, bool shown)
{
    if (!live(node))
        return;
    if (shown)
        at(node).lengthAndFlags |= kRowsShown;
    else
        at(node).lengthAndFlags &= ~kRowsShown;
}

} // namespace tk
