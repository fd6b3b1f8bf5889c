#include "directory/listing/zeroedbuffer.h"

#include <cstdlib>

namespace directory {

namespace {
ZeroedAllocator g_allocator = &std::calloc;
ZeroedRelease g_release = &std::free;
} // namespace

void setZeroedAllocator(ZeroedAllocator allocator)
{
    g_allocator = allocator ? allocator : &std::calloc;
}

void setZeroedRelease(ZeroedRelease release)
{
    g_release = release ? release : &std::free;
}

void ZeroedBuffer::Free::operator()(char* bytes) const
{
    g_release(bytes);
}

bool ZeroedBuffer::allocate(int64_t count, std::size_t entrySize)
{
    m_bytes.reset();
    std::size_t total = 0;
    if (count <= 0 || entrySize == 0 ||
        __builtin_mul_overflow(static_cast<uint64_t>(count), entrySize, &total))
        return false;
    m_bytes.reset(static_cast<char*>(g_allocator(static_cast<std::size_t>(count), entrySize)));
    return m_bytes != nullptr;
}

} // namespace directory
