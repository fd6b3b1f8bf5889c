// The fuzz input read front to back as a stream of bytes.
#ifndef ARBOLIX_FUZZ_FUZZINPUT_H
#define ARBOLIX_FUZZ_FUZZINPUT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace fuzz {

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos == m_size; }
    std::size_t size() const { return m_size; }

    // Nothing once the input is used up.
    std::optional<uint8_t> next()
    {
        if (empty())
            return std::nullopt;
        return m_data[m_pos++];
    }

    // 0 once the input is used up, for choices where running out needs no special case.
    uint8_t byteOr0() { return next().value_or(0); }

    // Up to length bytes, fewer when the input runs out; NUL bytes become 0x01, since names
    // handed through C strings cannot hold them.
    std::string text(std::size_t length)
    {
        std::string bytes;
        while (bytes.size() < length && !empty()) {
            const uint8_t byte = m_data[m_pos++];
            bytes.push_back(static_cast<char>(byte == 0 ? 1 : byte));
        }
        return bytes;
    }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace fuzz

#endif
