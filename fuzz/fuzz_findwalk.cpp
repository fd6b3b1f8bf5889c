// The find walk on small trees with distinct sibling names, as any directory has, and arbitrary
// fragments, against a plain list of the level's matches in tree order: each Find selects the
// next of them, after the last one the result is not-found, and then the first comes again.
//
// Input: the tree (up to 4 stations of 4 compounds of 4 blocks, names from a tiny alphabet so
// that fragments and repeats are common), then the three fragments, then a remembered path.
#include "fuzz/fuzzinput.h"
#include "fuzz/fuzztarget.h"
#include "search/findwalk.h"
#include "tests/findtree.h"
#include "tests/reference.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::FuzzInput;
using fuzz::require;
using search::FindFragments;
using search::FindLevel;
using search::FindMemory;
using search::ItemPath;
using testsupport::FindTree;
using testsupport::FindTreeItem;

static_assert(search::FindableTree<FindTree>);

constexpr int kMaxChildren = 4;

// One or two letters of "ABC".
std::string smallName(uint8_t byte)
{
    static constexpr char kLetters[] = "ABC";
    std::string name(1, kLetters[byte % 3]);
    if (byte & 0x80)
        name.push_back(kLetters[byte / 3 % 3]);
    return name;
}

// Up to two characters of "ABC ": the blank can match the padding of a block line.
std::string smallFragment(uint8_t byte)
{
    static constexpr char kCharacters[] = "ABC ";
    std::string fragment;
    for (int i = 0; i < byte % 3; ++i)
        fragment.push_back(kCharacters[(byte >> (2 + 2 * i)) % 4]);
    return fragment;
}

// Siblings get distinct texts, as in any directory: a repeated name adds nothing.
FindTree readTree(FuzzInput& input)
{
    FindTree tree;
    const int stations = input.byteOr0() % (kMaxChildren + 1);
    for (int s = 0; s < stations; ++s) {
        const std::string stationName = smallName(input.byteOr0());
        if (tree.childNamed({}, stationName))
            continue;
        const FindTreeItem station = tree.add(stationName);
        const int compounds = input.byteOr0() % (kMaxChildren + 1);
        for (int c = 0; c < compounds; ++c) {
            const std::string compoundName = smallName(input.byteOr0());
            if (tree.childNamed(station, compoundName))
                continue;
            const FindTreeItem compound = tree.add(compoundName, station);
            const int blocks = input.byteOr0() % (kMaxChildren + 1);
            for (int b = 0; b < blocks; ++b) {
                const std::string name = smallName(input.byteOr0());
                const std::string line = reference::blockLine(name, smallName(input.byteOr0()));
                if (!tree.childNamed(compound, line))
                    tree.add(line, compound);
            }
        }
    }
    return tree;
}

using Match = reference::Match<FindTreeItem>;

// What each Find is expected to select; a null item stands for not-found.
struct Expectation
{
    FindTreeItem item;
    ItemPath remembered;
};

class FindChecker
{
public:
    FindChecker(const FindTree& tree, const FindFragments& fragments, FindLevel level)
        : m_tree(tree), m_fragments(fragments), m_level(level)
    {
    }

    FindMemory find(const FindMemory& before, const Expectation& expected)
    {
        auto result = search::findNext(m_tree, m_fragments, before);
        require(result.level == m_level, "the deepest fragment chooses the level");
        require(result.item == expected.item, "each Find selects the expected match");
        require(result.memory.at(m_level) == expected.remembered,
                "the level remembers the path of its match, or nothing after not-found");
        for (FindLevel other : {FindLevel::Station, FindLevel::Compound, FindLevel::Block}) {
            if (other != m_level)
                require(result.memory.at(other) == before.at(other),
                        "a Find leaves the other levels' memory alone");
        }
        return std::move(result.memory);
    }

private:
    const FindTree& m_tree;
    const FindFragments& m_fragments;
    FindLevel m_level;
};

// A path for the memory: some item's path of any depth, or words that name nothing.
ItemPath readPath(FuzzInput& input)
{
    ItemPath path;
    const int depth = input.byteOr0() % 4;
    for (int i = 0; i < depth; ++i)
        path.push_back(smallName(input.byteOr0()));
    if (depth == 3 && input.byteOr0() & 1) {
        path[2] = reference::blockLine(path[2], smallName(input.byteOr0()));
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const FindTree tree = readTree(input);
    const std::string station = smallFragment(input.byteOr0());
    const std::string compound = smallFragment(input.byteOr0());
    const std::string block = smallFragment(input.byteOr0());
    const FindFragments fragments{station, compound, block};
    const auto matches = reference::matchesInOrder(tree, {station, compound, block});
    const auto level = FindLevel(reference::levelOf({station, compound, block}));
    FindChecker checker(tree, fragments, level);
    const Expectation notFound{};
    const Expectation first =
        matches.empty() ? notFound : Expectation{matches[0].item, matches[0].path};

    // From nothing remembered: every match once, in order, then not-found, then the first.
    FindMemory memory;
    for (FindLevel other : {FindLevel::Station, FindLevel::Compound, FindLevel::Block}) {
        if (other != level)
            memory.at(other) = readPath(input);
    }
    for (const Match& match : matches)
        memory = checker.find(memory, {match.item, match.path});
    if (!matches.empty())
        memory = checker.find(memory, notFound);
    checker.find(memory, first);

    // From any remembered path: after a match comes the next; anything else starts at the top.
    FindMemory resumed;
    resumed.at(level) = readPath(input);
    const auto at = std::find_if(matches.begin(), matches.end(), [&](const Match& match) {
        return match.path == resumed.at(level);
    });
    if (at == matches.end())
        checker.find(resumed, first);
    else if (at + 1 == matches.end())
        checker.find(resumed, notFound);
    else
        checker.find(resumed, {(at + 1)->item, (at + 1)->path});
    return 0;
}
