// A zero-filled byte buffer for the library's results, allocated once and freed on demand.
#ifndef ARBOLIX_DIRECTORY_ZEROEDBUFFER_H
#define ARBOLIX_DIRECTORY_ZEROEDBUFFER_H

#include <cstddef>
#include <cstdint>
#include <memory>

namespace directory {

// calloc's shape; tests put a failing one in place to reach the out-of-memory path.
using ZeroedAllocator = void* (*)(std::size_t count, std::size_t size);

void setZeroedAllocator(ZeroedAllocator allocator); // nullptr restores calloc

// free's shape; tests put a recording one in place to see when the buffers go.
using ZeroedRelease = void (*)(void* bytes);
void setZeroedRelease(ZeroedRelease release); // nullptr restores free

class ZeroedBuffer
{
public:
    // Allocates count entries of entrySize bytes, all zero. False (and empty) when count is not
    // positive, the size overflows, or the allocation fails.
    bool allocate(int64_t count, std::size_t entrySize);
    void release() { m_bytes.reset(); }

    char* data() const { return m_bytes.get(); }
    int32_t* words() const { return reinterpret_cast<int32_t*>(m_bytes.get()); }
    explicit operator bool() const { return m_bytes != nullptr; }

private:
    struct Free
    {
        void operator()(char* bytes) const;
    };
    std::unique_ptr<char, Free> m_bytes;
};

} // namespace directory

#endif
