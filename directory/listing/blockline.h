// The text of a block item: "%-12s %s" of block name and block info.
#ifndef ARBOLIX_DIRECTORY_BLOCKLINE_H
#define ARBOLIX_DIRECTORY_BLOCKLINE_H

#include <string>
#include <string_view>

namespace directory {

inline constexpr std::size_t kBlockNameColumn = 12;

// Writes the line into out, reusing its capacity: called once per block on the hot path.
inline void formatBlockLine(std::string& out, std::string_view name, std::string_view info)
{
    out.assign(name);
    if (name.size() < kBlockNameColumn)
        out.append(kBlockNameColumn - name.size(), ' ');
    out.push_back(' ');
    out.append(info);
}

} // namespace directory

#endif
