// The display command from arbitrary names and options: the argument vector that is started
// against the command line it stands for, and the block name cut from a block line.
//
// Input: program, option, compound and block separated by newlines; with fewer than four
// fields the command is the compound form. The block field runs to the end, newlines and all.
#include "directory/blockline.h"
#include "display/displaycommand.h"
#include "fuzz/fuzztarget.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::require;

bool holds(std::string_view text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string_view::npos;
}

std::string_view nextField(std::string_view& rest)
{
    const std::size_t end = rest.find('\n');
    const std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return field;
}

void checkArguments(std::string_view program, std::string_view option, std::string_view compound,
                    std::optional<std::string_view> block)
{
    const auto arguments = display::displayArguments(program, option, compound, block);

    // Built part by part, so no name can move text from one argument to another.
    std::string request = "stddisp ";
    request.append(compound);
    request.append(block ? ":" : " CMP");
    if (block)
        request.append(*block);
    std::vector<std::string> expected{std::string(program)};
    std::string dashedOption = "-";
    dashedOption.append(option);
    for (auto& part : display::splitCommandLine(dashedOption))
        expected.push_back(std::move(part));
    expected.emplace_back("DMCMD");
    expected.push_back(request);
    require(arguments == expected,
            "the arguments are the program, the split option, DMCMD and the whole request");

    // The request is quoted in the line, so blanks and tabs in the names stay inside it, and
    // only a double quote in a name can break it open. The line splits back into the same
    // arguments exactly when the names hold no double quote, given a program that is one plain
    // word and an option that closes every quote it opens. (A split argument never holds a
    // double quote, so a name with one can never come back.)
    const bool plainProgram = !program.empty() && !holds(program, " \t\"");
    const bool balancedOption = std::count(option.begin(), option.end(), '"') % 2 == 0;
    if (plainProgram && balancedOption) {
        const bool quoteInNames = holds(compound, "\"") || (block && holds(*block, "\""));
        const auto split = display::splitCommandLine(
            display::displayCommandLine(program, option, compound, block));
        require((split == arguments) == !quoteInNames,
                "the command line splits into the arguments exactly when no name holds a quote");
    }
}

// Without quotes a line is just words between blanks and tabs; with them, quotes never survive.
void checkSplit(std::string_view line)
{
    const auto arguments = display::splitCommandLine(line);
    std::size_t characters = 0;
    for (const std::string& argument : arguments) {
        require(!holds(argument, "\""), "no argument holds a double quote");
        characters += argument.size();
    }
    require(characters <= line.size(), "splitting adds no characters");
    if (holds(line, "\""))
        return;
    std::vector<std::string> words;
    std::size_t pos = 0;
    while ((pos = line.find_first_not_of(" \t", pos)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", pos), line.size());
        words.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
    require(arguments == words, "a line without quotes splits into its blank-separated words");
}

void checkBlockName(std::string_view line)
{
    const std::string_view name = display::blockNameOf(line);
    require(name.size() <= line.size(), "a block name is never longer than its line");
    require(line.substr(0, name.size()) == name, "a block name starts its line");
    require(!holds(name, " "), "a block name holds no blank");
    require(name.size() == line.size() || line[name.size()] == ' ',
            "a block name runs up to the first blank");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view program = nextField(rest);
    const std::string_view option = nextField(rest);
    const bool blockForm = rest.find('\n') != std::string_view::npos;
    const std::string_view compound = nextField(rest);
    const std::optional<std::string_view> block =
        blockForm ? std::optional<std::string_view>(rest) : std::nullopt;

    checkSplit(std::string_view(reinterpret_cast<const char*>(data), size));
    checkSplit(display::displayCommandLine(program, option, compound, block));
    checkArguments(program, option, compound, block);
    checkArguments("/usr/local/pref", option, compound, block);

    const std::string_view blockName = block ? *block : compound;
    checkBlockName(blockName);
    checkBlockName(program);
    if (!holds(blockName, " ")) {
        std::string line;
        directory::formatBlockLine(line, blockName, option);
        require(display::blockNameOf(line) == blockName,
                "a block line gives back the block name it was made from");
    }
    return 0;
}
