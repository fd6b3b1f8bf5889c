#include "app/commandoption.h"

#include <string_view>

std::string commandOption(int argc, const char* const* argv)
{
    std::string option;
    for (int i = 1; i < argc && argv[i]; ++i) {
        const std::string_view argument(argv[i]);
        if (i > 1)
            option.push_back(' ');
        // Quoted, an argument with blanks stays one argument when the display command line
        // is split again.
        const bool quoted = argument.find_first_of(" \t") != std::string_view::npos;
        if (quoted)
            option.push_back('"');
        option.append(argument);
        if (quoted)
            option.push_back('"');
    }
    return option;
}
