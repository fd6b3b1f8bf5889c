#include "display/displaycommand.h"

#include <algorithm>

namespace display {

namespace {

std::string displayRequest(std::string_view compound, std::optional<std::string_view> block)
{
    std::string request = "stddisp ";
    request.append(compound);
    if (block) {
        request.push_back(':');
        request.append(*block);
    } else {
        request.append(" CMP");
    }
    return request;
}

bool isSeparator(char c)
{
    return c == ' ' || c == '\t';
}

// Appends text in double quotes, each quote and the backslashes that end up before a quote
// doubled or escaped, so splitCommandLine gives text back whole.
void appendQuoted(std::string& line, std::string_view text)
{
    line.push_back('"');
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                line.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        line.push_back(c);
    }
    line.append(backslashes, '\\');
    line.push_back('"');
}

} // namespace

std::string quotedArgument(std::string_view argument)
{
    std::string text;
    if (argument.empty() || argument.find_first_of(" \t\"") != std::string_view::npos)
        appendQuoted(text, argument);
    else
        text.assign(argument);
    return text;
}

std::string displayCommandLine(std::string_view program, std::string_view option,
                               std::string_view compound, std::optional<std::string_view> block)
{
    std::string line = quotedArgument(program);
    line.append(" -");
    line.append(option);
    line.append(" DMCMD ");
    appendQuoted(line, displayRequest(compound, block));
    return line;
}

std::vector<std::string> splitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false; // an empty "" still makes an argument
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            // Backslashes escape only a double quote: 2n before one give n and the quote
            // toggles, 2n + 1 give n and a quote; anywhere else they are ordinary characters.
            const std::size_t end = std::min(line.find_first_not_of('\\', i), line.size());
            const std::size_t run = end - i;
            const bool beforeQuote = end < line.size() && line[end] == '"';
            current.append(beforeQuote ? run / 2 : run, '\\');
            inArgument = true;
            if (beforeQuote && run % 2 == 1) {
                current.push_back('"');
                i = end;
            } else {
                i = end - 1;
            }
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && isSeparator(c)) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current.push_back(c);
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

std::vector<std::string> displayArguments(std::string_view program, std::string_view option,
                                          std::string_view compound,
                                          std::optional<std::string_view> block)
{
    std::vector<std::string> arguments;
    arguments.emplace_back(program);
    std::string optionPart = "-";
    optionPart.append(option);
    for (std::string& part : splitCommandLine(optionPart))
        arguments.push_back(std::move(part));
    arguments.emplace_back("DMCMD");
    arguments.push_back(displayRequest(compound, block));
    return arguments;
}

} // namespace display
