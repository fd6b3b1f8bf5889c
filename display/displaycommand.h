// The display command for a compound or a block: its command line, and the argument vector
// that is actually started.
#ifndef ARBOLIX_DISPLAY_DISPLAYCOMMAND_H
#define ARBOLIX_DISPLAY_DISPLAYCOMMAND_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace display {

// "<program> -<option> DMCMD \"stddisp <compound>:<block>\"" for a block,
// "<program> -<option> DMCMD \"stddisp <compound> CMP\"" for a compound (no block).
std::string displayCommandLine(std::string_view program, std::string_view option,
                               std::string_view compound,
                               std::optional<std::string_view> block = std::nullopt);

// Splits a command line into arguments. Blanks and tabs separate arguments; a double quote
// toggles quoting, and quoted text (blanks and tabs included) belongs to the argument at hand,
// without the quotes. So quoted and unquoted parts that touch join into one argument, "" alone
// gives an empty argument, and an unclosed quote runs to the end of the line. A backslash is an
// ordinary character.
std::vector<std::string> splitCommandLine(std::string_view line);

// The arguments of the display command, built part by part rather than by splitting the whole
// line, so a blank or a quote inside a name stays inside its argument: the program, "-<option>"
// split as above, "DMCMD", and the quoted request as one argument. For names without blanks,
// tabs or quotes this equals splitCommandLine(displayCommandLine(...)).
std::vector<std::string> displayArguments(std::string_view program, std::string_view option,
                                          std::string_view compound,
                                          std::optional<std::string_view> block = std::nullopt);

// The block name of a block line: the text before its first blank, or the whole line if it has
// none.
std::string_view blockNameOf(std::string_view blockLine);

} // namespace display

#endif
