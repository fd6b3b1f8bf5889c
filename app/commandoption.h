// The program's one setting: everything after the program name, handed to every display command.
#ifndef ARBOLIX_APP_COMMANDOPTION_H
#define ARBOLIX_APP_COMMANDOPTION_H

#include <string>

// The arguments after the program name joined by single blanks, each as display::quotedArgument
// gives it (an empty one, or one holding a blank, a tab or a double quote, in quotes with its
// quotes escaped), so splitting the display command line gives back the operator's arguments
// exactly, and none of them can reach the command's own words; none gives an empty string.
// Nothing is parsed: an argument that starts with '-' belongs to the option like any other.
std::string commandOption(int argc, const char* const* argv);

#endif
