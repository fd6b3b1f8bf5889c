// The display command from arbitrary names and options: the argument vector that is started
// against the command line it stands for, and the block name cut from a block line.
//
// Input: program, option, compound and block separated by newlines; with fewer than four
// fields the command is the compound form. The block field runs to the end, newlines and all.
// The option field is used as it is, and also as the operator's argument vector, arguments
// separated by NUL bytes, made into the option as the program makes it.
#include "app/commandoption.h"
#include "directory/listing/blockline.h"
#include "display/displaycommand.h"
#include "fuzz/fuzztarget.h"
#include "tests/reference.h"

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
    std::vector<std::string> expected{std::string(program)};
    std::string dashedOption = "-";
    dashedOption.append(option);
    for (auto& part : display::splitCommandLine(dashedOption))
        expected.push_back(std::move(part));
    expected.emplace_back("DMCMD");
    expected.push_back(reference::displayRequest(compound, block));
    require(arguments == expected,
            "the arguments are the program, the split option, DMCMD and the whole request");

    // The program and the request are quoted in the line, so blanks, tabs, quotes and
    // backslashes in them stay inside their arguments: the line splits back into the arguments
    // whenever the option, split alone, closes every quote it opens.
    std::string probe = dashedOption;
    const auto optionWords = display::splitCommandLine(probe);
    probe.append(" X");
    auto closedWords = optionWords;
    closedWords.emplace_back("X");
    if (display::splitCommandLine(probe) == closedWords) {
        const auto split = display::splitCommandLine(
            display::displayCommandLine(program, option, compound, block));
        require(split == arguments, "the command line splits back into the arguments");
    }
}

// The operator's arguments, made into the option, come back from the display command line
// exactly, and the command's own words stay its own.
void checkRoundTrip(std::string_view program, const std::vector<std::string>& operatorArguments,
                    std::string_view compound, std::optional<std::string_view> block)
{
    std::vector<const char*> argv{"arbolix"};
    for (const std::string& argument : operatorArguments)
        argv.push_back(argument.c_str());
    const std::string option = commandOption(int(argv.size()), argv.data());

    const auto expected = reference::displayArguments(program, operatorArguments, compound, block);

    require(display::splitCommandLine(
                display::displayCommandLine(program, option, compound, block)) == expected,
            "the command line splits into the operator's arguments and the command's own");
    require(display::displayArguments(program, option, compound, block) == expected,
            "the started arguments are the operator's and the command's own");
}

// The option field's bytes as an argument vector: arguments end at NUL bytes, which no argument
// can hold; an empty field is no argument at all.
std::vector<std::string> operatorArgumentsOf(std::string_view field)
{
    std::vector<std::string> arguments;
    if (field.empty())
        return arguments;
    std::size_t start = 0;
    for (std::size_t end; (end = field.find('\0', start)) != std::string_view::npos;
         start = end + 1)
        arguments.emplace_back(field.substr(start, end - start));
    arguments.emplace_back(field.substr(start));
    return arguments;
}

// Without quotes a line is just words between blanks and tabs; with them but without
// backslashes, quotes never survive.
void checkSplit(std::string_view line)
{
    const auto arguments = display::splitCommandLine(line);
    std::size_t characters = 0;
    for (const std::string& argument : arguments) {
        require(holds(line, "\\") || !holds(argument, "\""),
                "no argument holds a double quote unless a backslash escaped it");
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
    const std::string_view name = directory::blockNameOf(line);
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
    checkRoundTrip(program, operatorArgumentsOf(option), compound, block);
    checkRoundTrip("/usr/local/pref", operatorArgumentsOf(option), compound, block);

    const std::string_view blockName = block ? *block : compound;
    checkBlockName(blockName);
    checkBlockName(program);
    if (!holds(blockName, " ")) {
        std::string line;
        directory::formatBlockLine(line, blockName, option);
        require(directory::blockNameOf(line) == blockName,
                "a block line gives back the block name it was made from");
    }
    return 0;
}
