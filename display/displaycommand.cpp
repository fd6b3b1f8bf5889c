#include "display/displaycommand.h"

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

} // namespace

std::string displayCommandLine(std::string_view program, std::string_view option,
                               std::string_view compound, std::optional<std::string_view> block)
{
    std::string line(program);
    line.append(" -");
    line.append(option);
    line.append(" DMCMD \"");
    line.append(displayRequest(compound, block));
    line.push_back('"');
    return line;
}

std::vector<std::string> splitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false; // an empty "" still makes an argument
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
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

std::string_view blockNameOf(std::string_view blockLine)
{
    return blockLine.substr(0, blockLine.find(' '));
}

} // namespace display
