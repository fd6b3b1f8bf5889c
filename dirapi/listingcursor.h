// The position of the listing in progress at one level (stations, compounds or blocks).
#ifndef ARBOLIX_DIRAPI_LISTINGCURSOR_H
#define ARBOLIX_DIRAPI_LISTINGCURSOR_H

#include <cstdint>
#include <string>
#include <string_view>

namespace dirapi {

struct Batch
{
    int32_t first = 0; // index of the first entry to deliver
    int32_t count = 0;
    bool more = false;
};

// The continuation word handed back to the caller names the listing and its position; a
// continuation is accepted only with the word this cursor wrote last, so a word that is stale
// (from an abandoned listing) or was never written cannot resume anything. The name a
// continuation call passes is not looked at.
class ListingCursor
{
public:
    // Abandons whatever was in progress and starts listing the entries of subject (the station
    // or compound listed; empty for the stations).
    void start(std::string_view subject);
    void abandon() { m_inProgress = false; }

    bool inProgress() const { return m_inProgress; }
    bool continues(int32_t word) const;
    const std::string& subject() const { return m_subject; }

    // The next batch of at most maxObj of total entries; the listing ends with its last batch.
    // A total that shrank since the last batch ends it with an empty batch.
    Batch take(int32_t total, int32_t maxObj);

    int32_t word() const { return m_word; }

private:
    void updateWord();

    bool m_inProgress = false;
    std::string m_subject;
    int32_t m_next = 0;
    uint32_t m_generation = 0;
    int32_t m_word = 0;
};

} // namespace dirapi

#endif
