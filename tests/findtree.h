// A small tree with the walking interface the find walk needs, for its suite and its fuzz target:
// nodes in one vector, each child appended after its siblings. Standard library only, so the
// fuzz build, which has no Qt, takes it too.
#ifndef ARBOLIX_TESTS_FINDTREE_H
#define ARBOLIX_TESTS_FINDTREE_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

struct FindTreeItem
{
    int index = 0; // node index + 1; 0 names no item
    explicit operator bool() const { return index != 0; }
    friend bool operator==(FindTreeItem, FindTreeItem) = default;
};

class FindTree
{
public:
    using Item = FindTreeItem;

    // A null parent adds a root.
    Item add(std::string text, Item parent = {})
    {
        const Item last = lastChild(parent);
        m_nodes.push_back({std::move(text), parent, {}, {}});
        const Item item{static_cast<int>(m_nodes.size())};
        if (last)
            node(last).next = item;
        else if (parent)
            node(parent).firstChild = item;
        else
            m_root = item;
        return item;
    }

    // Unlinks the item with its subtree, as a refresh that drops it does.
    void remove(Item item)
    {
        const Item parent = node(item).parent;
        Item* link = parent ? &node(parent).firstChild : &m_root;
        while (*link && *link != item)
            link = &node(*link).next;
        if (*link)
            *link = node(item).next;
    }

    Item rootItem() const { return m_root; }
    Item childItem(Item item) const { return item ? node(item).firstChild : Item{}; }
    Item nextSiblingItem(Item item) const { return item ? node(item).next : Item{}; }
    std::string_view itemText(Item item) const
    {
        return item ? std::string_view(node(item).text) : std::string_view();
    }

    // The children in order (the roots for a null parent).
    std::vector<Item> children(Item parent) const
    {
        std::vector<Item> items;
        for (Item child = parent ? childItem(parent) : m_root; child;
             child = nextSiblingItem(child))
            items.push_back(child);
        return items;
    }

    // The child with that text, or null.
    Item childNamed(Item parent, std::string_view text) const
    {
        for (Item child : children(parent)) {
            if (itemText(child) == text)
                return child;
        }
        return {};
    }

    // The texts from the root down to the item; empty for a null item.
    std::vector<std::string> path(Item item) const
    {
        std::vector<std::string> texts;
        for (; item; item = node(item).parent)
            texts.insert(texts.begin(), node(item).text);
        return texts;
    }

private:
    struct Node
    {
        std::string text;
        Item parent;
        Item firstChild;
        Item next;
    };
    Node& node(Item item) { return m_nodes[static_cast<std::size_t>(item.index - 1)]; }
    const Node& node(Item item) const { return m_nodes[static_cast<std::size_t>(item.index - 1)]; }
    Item lastChild(Item parent) const
    {
        const std::vector<Item> items = children(parent);
        return items.empty() ? Item{} : items.back();
    }

    std::vector<Node> m_nodes;
    Item m_root;
};

} // namespace testsupport

#endif
