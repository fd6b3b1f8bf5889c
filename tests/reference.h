// The program's rules as the tests expect them, each written once, plainly and apart from the code
// they check. Standard library only, so the fuzz build, which has no Qt, takes them too.
#ifndef ARBOLIX_TESTS_REFERENCE_H
#define ARBOLIX_TESTS_REFERENCE_H

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

// A text holds a fragment as a case-sensitive substring; an empty fragment is in every text.
inline bool holdsFragment(std::string_view text, std::string_view fragment)
{
    return text.find(fragment) != std::string_view::npos;
}

using Fragments = std::array<std::string, 3>; // station, compound, block
using Path = std::vector<std::string>;        // the texts from the station down

// Every text of the path holds the fragment of its level.
inline bool passes(const Path& path, const Fragments& fragments)
{
    std::size_t i = 0;
    while (i < path.size() && i < fragments.size() && holdsFragment(path[i], fragments[i]))
        ++i;
    return i == path.size();
}

// The level searched (0 station, 1 compound, 2 block): the deepest with a fragment, else blocks.
inline std::size_t levelOf(const Fragments& fragments)
{
    return !fragments[2].empty() ? 2 : !fragments[1].empty() ? 1 : !fragments[0].empty() ? 0 : 2;
}

template <typename Item> struct Match
{
    Item item;
    Path path;
};

// What Find selects press by press from nothing remembered: every item of the level whose path
// passes, in tree order (one press after the last one says "not found").
template <typename Tree> auto matchesInOrder(const Tree& tree, const Fragments& fragments)
{
    using Item = decltype(tree.rootItem());
    std::vector<Match<Item>> matches;
    const std::size_t level = levelOf(fragments);
    const auto walk = [&](const auto& self, Item item, Path path) -> void {
        for (; item; item = tree.nextSiblingItem(item)) {
            path.emplace_back(tree.itemText(item));
            if (passes(path, fragments)) {
                if (path.size() == level + 1)
                    matches.push_back({item, path});
                else
                    self(self, tree.childItem(item), path);
            }
            path.pop_back();
        }
    };
    walk(walk, tree.rootItem(), {});
    return matches;
}

// The text of a block item.
inline std::string blockLine(const std::string& name, const std::string& info)
{
    char line[64];
    std::snprintf(line, sizeof line, "%-12s %s", name.c_str(), info.c_str());
    return line;
}

// The request a display command carries: "stddisp C:B" for a block, "stddisp C CMP" else.
inline std::string displayRequest(std::string_view compound,
                                  std::optional<std::string_view> block = std::nullopt)
{
    std::string request("stddisp ");
    request.append(compound).append(block ? ":" : " CMP").append(block.value_or(""));
    return request;
}

// The arguments a display command starts: the utility, the operator's arguments with a hyphen
// before the first (a lone one without any), DMCMD and the request.
inline std::vector<std::string> displayArguments(std::string_view utility,
                                                 const std::vector<std::string>& operatorArguments,
                                                 std::string_view compound,
                                                 std::optional<std::string_view> block = {})
{
    std::vector<std::string> arguments{std::string(utility), "-"};
    if (!operatorArguments.empty())
        arguments.back().append(operatorArguments[0]);
    for (std::size_t i = 1; i < operatorArguments.size(); ++i)
        arguments.push_back(operatorArguments[i]);
    arguments.emplace_back("DMCMD");
    arguments.push_back(displayRequest(compound, block));
    return arguments;
}

// The operator's arguments after the program name, and the option the program makes of them.
struct OptionRow
{
    const char* name;
    std::vector<std::string> arguments;
    std::string option;
};

inline const std::vector<OptionRow>& optionRows()
{
    static const std::vector<OptionRow> rows{
        {"none", {}, ""},
        {"one word", {"WP01"}, "WP01"},
        {"two words", {"AB01", "extra"}, "AB01 extra"},
        {"a blank inside", {"AB 01"}, "\"AB 01\""},
        {"a tab inside", {"AB\t01", "x"}, "\"AB\t01\" x"},
        // Nothing is parsed: toolkit-looking options are kept, and so is an empty argument.
        {"toolkit-looking, a blank, an empty one",
         {"-style", "fusion", "a b", ""},
         "-style fusion \"a b\" \"\""},
        {"a quote and a blank", {"x\"y z"}, "\"x\\\"y z\""},
        {"a quote, no blank", {"say\"hi"}, "\"say\\\"hi\""},
        {"an empty one between", {"A", "", "B"}, "A \"\" B"},
        {"an empty first one", {"", "B"}, "\"\" B"},
        {"reaching for the command's words",
         {"a\" DMCMD \"stddisp EVIL:X"},
         "\"a\\\" DMCMD \\\"stddisp EVIL:X\""},
        {"backslashes, before a quote and at the end",
         {"C:\\a\\", "\\\"q\\ b\\", "\t"},
         "C:\\a\\ \"\\\\\\\"q\\ b\\\\\" \"\t\""},
        {"backslashes", {"\\\"", "b\\ c\\"}, "\"\\\\\\\"\" \"b\\ c\\\\\""},
    };
    return rows;
}

} // namespace reference

#endif
