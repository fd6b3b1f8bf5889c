// The display command for a compound or a block: its command line, and the argument vector
// that is actually started.
#ifndef ARBOLIX_DISPLAY_DISPLAYCOMMAND_H
#define ARBOLIX_DISPLAY_DISPLAYCOMMAND_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace display {

// One argument as command-line text that splitCommandLine gives back whole: unchanged when it is
// not empty and holds no blank, tab or double quote; otherwise in double quotes, each quote in it
// escaped with a backslash and the backslashes before a quote or the closing quote doubled.
std::string quotedArgument(std::string_view argument);

// "<program> -<option> DMCMD \"stddisp <compound>:<block>\"" for a block,
// "<program> -<option> DMCMD \"stddisp <compound> CMP\"" for a compound (no block). The option
// is command-line text already and goes in as it is; the program goes in as quotedArgument gives
// it, and the request is quoted the same way (always in quotes), so a quote or a backslash in a
// name cannot end it early.
std::string displayCommandLine(std::string_view program, std::string_view option,
                               std::string_view compound,
                               std::optional<std::string_view> block = std::nullopt);

// Splits a command line into arguments. Blanks and tabs separate arguments; a double quote
// toggles quoting, and quoted text (blanks and tabs included) belongs to the argument at hand,
// without the quotes. So quoted and unquoted parts that touch join into one argument, "" alone
// gives an empty argument, and an unclosed quote runs to the end of the line. Backslashes matter
// only before a double quote: 2n of them give n backslashes and the quote toggles, 2n + 1 give n
// backslashes and a literal quote; elsewhere a backslash is an ordinary character.
std::vector<std::string> splitCommandLine(std::string_view line);

// The arguments of the display command, built part by part rather than by splitting the whole
// line, so a blank or a quote inside a name stays inside its argument: the program, "-<option>"
// split as above, "DMCMD", and the quoted request as one argument. It equals
// splitCommandLine(displayCommandLine(...)) whenever the option splits alone without an unclosed
// quote, as every option commandOption makes does.
std::vector<std::string> displayArguments(std::string_view program, std::string_view option,
                                          std::string_view compound,
                                          std::optional<std::string_view> block = std::nullopt);

} // namespace display

#endif
