#include "dirapi/listingcursor.h"

#include <algorithm>

namespace dirapi {

namespace {

constexpr uint32_t kPositionBits = 24;
constexpr uint32_t kPositionMask = (1u << kPositionBits) - 1;
constexpr uint32_t kGenerationMask = 0x7f; // keeps the word positive

} // namespace

void ListingCursor::start(std::string_view subject)
{
    m_inProgress = true;
    m_subject.assign(subject);
    m_next = 0;
    ++m_generation;
    updateWord();
}

bool ListingCursor::continues(int32_t word) const
{
    return m_inProgress && word == m_word;
}

Batch ListingCursor::take(int32_t total, int32_t maxObj)
{
    Batch batch;
    batch.first = m_next;
    batch.count = std::clamp(total - m_next, 0, std::max(maxObj, 0));
    m_next += batch.count;
    batch.more = m_next < total && batch.count > 0;
    m_inProgress = batch.more;
    updateWord();
    return batch;
}

void ListingCursor::updateWord()
{
    const uint32_t generation = (m_generation & kGenerationMask) << kPositionBits;
    m_word = static_cast<int32_t>(generation | (static_cast<uint32_t>(m_next) & kPositionMask));
}

} // namespace dirapi
