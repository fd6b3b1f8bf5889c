// The walk behind Find: the next station, compound or block that matches the name fragments,
// after the one found last at that level.
#ifndef ARBOLIX_SEARCH_FINDWALK_H
#define ARBOLIX_SEARCH_FINDWALK_H

#include "search/findmemory.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <string_view>
#include <utility>

namespace search {

// The three fragments as the Find window holds them, in the bytes the tree stores.
struct FindFragments
{
    std::string_view station;
    std::string_view compound;
    std::string_view block;
};

// The deepest level with a fragment; with no fragment at all, blocks.
constexpr FindLevel findLevelOf(const FindFragments& fragments)
{
    if (!fragments.block.empty())
        return FindLevel::Block;
    if (!fragments.compound.empty())
        return FindLevel::Compound;
    if (!fragments.station.empty())
        return FindLevel::Station;
    return FindLevel::Block;
}

// A three-level tree walked by first child and next sibling; tk::TreeCtrl is one.
template <typename Tree>
concept FindableTree = requires(const Tree& tree, decltype(tree.rootItem()) item)
{
    requires std::default_initializable<decltype(tree.rootItem())>;
    requires std::constructible_from<bool, decltype(tree.rootItem())>;
    {
        tree.childItem(item)
        } -> std::same_as<decltype(tree.rootItem())>;
    {
        tree.nextSiblingItem(item)
        } -> std::same_as<decltype(tree.rootItem())>;
    {
        tree.itemText(item)
        } -> std::convertible_to<std::string_view>;
};

template <typename Tree> using TreeItemOf = decltype(std::declval<const Tree&>().rootItem());

template <typename Item> struct FindResult
{
    Item item{}; // null when nothing matched: "Search pattern not found!"
    FindLevel level = FindLevel::Block;
    FindMemory memory; // to be kept for the next Find
};

namespace detail {

// Byte-wise and case-sensitive. A UTF-8 fragment of whole characters can only match at a
// character boundary, since lead and continuation bytes never coincide.
inline bool containsFragment(std::string_view text, std::string_view fragment)
{
    return text.find(fragment) != std::string_view::npos;
}

template <typename Item> struct WalkOutcome
{
    std::array<Item, 3> path{}; // station, compound, block of the match, down to its level
    Item match{};
    bool metRemembered = false;
};

// One walk from the top, depth first down to the level searched. Matches before the remembered
// item are passed over; the first match after it (or the first of all, with nothing remembered)
// ends the walk.
template <FindableTree Tree>
WalkOutcome<TreeItemOf<Tree>> walkOnce(const Tree& tree, const FindFragments& fragments,
                                       FindLevel level, const ItemPath& remembered)
{
    using Item = TreeItemOf<Tree>;
    const std::array<std::string_view, 3> wanted{fragments.station, fragments.compound,
                                                 fragments.block};
    const auto deepest = static_cast<std::size_t>(level);
    WalkOutcome<Item> outcome;
    // Still before the remembered item; and, per depth, whether the item there is on its path.
    bool resuming = !remembered.empty();
    std::array<bool, 3> onPath{};

    std::size_t depth = 0;
    Item item = tree.rootItem();
    for (;;) {
        if (!item) {
            // This level is done: go on after its parent.
            if (depth == 0)
                break;
            --depth;
            item = tree.nextSiblingItem(outcome.path[depth]);
            continue;
        }
        const std::string_view text = tree.itemText(item);
        // Every level requires the fragments above it, so a failing item is never descended into.
        if (!containsFragment(text, wanted[depth])) {
            item = tree.nextSiblingItem(item);
            continue;
        }
        outcome.path[depth] = item;
        onPath[depth] = resuming && (depth == 0 || onPath[depth - 1]) &&
                        depth < remembered.size() && text == remembered[depth];
        if (depth < deepest) {
            item = tree.childItem(item);
            ++depth;
            continue;
        }
        if (!resuming) {
            outcome.match = item;
            return outcome;
        }
        // The remembered item itself: the next match is the one to select.
        if (onPath[depth] && remembered.size() == depth + 1) {
            resuming = false;
            outcome.metRemembered = true;
        }
        item = tree.nextSiblingItem(item);
    }
    outcome.path = {};
    return outcome;
}

} // namespace detail

// Finds the next match after the item remembered for the fragments' level and returns it with
// the memory to keep. After the last match the result is null and the level's memory empty, so
// the Find after that starts at the top. When the remembered item is not met at all (it no
// longer passes the fragments, or left the tree), the walk starts again at the top at once.
template <FindableTree Tree>
FindResult<TreeItemOf<Tree>> findNext(const Tree& tree, const FindFragments& fragments,
                                      FindMemory memory)
{
    const FindLevel level = findLevelOf(fragments);
    ItemPath& remembered = memory.at(level);
    auto outcome = detail::walkOnce(tree, fragments, level, remembered);
    if (!outcome.match && !outcome.metRemembered && !remembered.empty()) {
        remembered.clear();
        outcome = detail::walkOnce(tree, fragments, level, remembered);
    }

    remembered.clear();
    if (outcome.match) {
        const std::size_t depth = static_cast<std::size_t>(level) + 1;
        for (std::size_t i = 0; i < depth; ++i)
            remembered.emplace_back(tree.itemText(outcome.path[i]));
    }
    return {outcome.match, level, std::move(memory)};
}

} // namespace search

#endif
