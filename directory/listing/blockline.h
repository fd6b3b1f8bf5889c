// The text of a block item, "%-12s %s" of block name and block info: written, and read back.
#ifndef ARBOLIX_DIRECTORY_BLOCKLINE_H
#define ARBOLIX_DIRECTORY_BLOCKLINE_H

#include "directory/dirapi.h"

#include <string>
#include <string_view>

namespace directory {

inline constexpr std::size_t kBlockNameColumn = 12;
// A full name, the blank and a full info.
inline constexpr std::size_t kLongestBlockLine =
    kBlockNameColumn + 1 + (std::size_t(DIRAPI_BLOCK_INFO_SLOT) - 1);

// Writes the line into out, reusing its capacity: called once per block on the hot path.
inline void formatBlockLine(std::string& out, std::string_view name, std::string_view info)
{
    out.assign(name);
    if (name.size() < kBlockNameColumn)
        out.append(kBlockNameColumn - name.size(), ' ');
    out.push_back(' ');
    out.append(info);
}

// The block name: the text before the first blank, or the whole line without one.
inline std::string_view blockNameOf(std::string_view line)
{
    return line.substr(0, line.find(' '));
}

// The block info: what follows the blanks after the name; empty when nothing does.
inline std::string_view blockInfoOf(std::string_view line)
{
    const std::size_t start = line.find_first_not_of(' ', blockNameOf(line).size());
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

} // namespace directory

#endif
