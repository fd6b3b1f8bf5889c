// Reading names out of the library's fixed-width slots, and handing names back to it.
#ifndef ARBOLIX_DIRECTORY_SLOTTEXT_H
#define ARBOLIX_DIRECTORY_SLOTTEXT_H

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace directory {

// A slot's text ends at its first NUL or at the slot's width: a library that fills a slot to
// its last byte must not make us read into the next slot or past the buffer.
inline std::string_view slotText(const char* slot, std::size_t width)
{
    return {slot, ::strnlen(slot, width)};
}

// A NUL-terminated copy of a name, at most Width bytes long, so the library never reads past
// what we hand it even when the name came from a slot without a NUL.
template <std::size_t Width> class SlotName
{
public:
    explicit SlotName(std::string_view text)
    {
        const std::size_t length = text.size() < Width ? text.size() : Width;
        std::memcpy(m_bytes.data(), text.data(), length);
        m_bytes[length] = '\0';
    }
    const char* c_str() const { return m_bytes.data(); }

private:
    std::array<char, Width + 1> m_bytes{};
};

} // namespace directory

#endif
