#include "app/commandoption.h"

#include "display/displaycommand.h"

std::string commandOption(int argc, const char* const* argv)
{
    std::string option;
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (i > 1)
            option.push_back(' ');
        option.append(display::quotedArgument(argv[i]));
    }
    return option;
}
