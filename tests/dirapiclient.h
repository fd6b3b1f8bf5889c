// Calling the stand-in directory library from its tests: one level's words and buffers, the
// batch protocol run to its end, and standard error captured around a piece of code.
#ifndef ARBOLIX_TESTS_DIRAPICLIENT_H
#define ARBOLIX_TESTS_DIRAPICLIENT_H

#include "directory/dirapi.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace dirapiclient {

enum class Level
{
    Stations,
    Compounds,
    Blocks
};

// A slot's text: up to its NUL, never past its width.
inline std::string slotText(const char* slot, std::size_t width)
{
    return std::string(slot, ::strnlen(slot, width));
}

// One level's words and buffers, kept across calls as a caller of the library keeps them.
class LevelCaller
{
public:
    LevelCaller(Level level, std::string subject, int32_t maxObj)
        : m_level(level), m_subject(std::move(subject)), m_maxObj(maxObj),
          m_capacity(maxObj > 0 ? static_cast<std::size_t>(maxObj) : 1),
          m_names(m_capacity * DIRAPI_COMPOUND_SLOT, '\x55'),
          m_info(m_capacity * DIRAPI_STATION_INFO_SLOT, '\x55'), m_words(m_capacity, 0)
    {
    }

    // One call with the words as they are; the last batch's entries are read back when the
    // count is within the buffers.
    int32_t call()
    {
        int32_t result = 0;
        switch (m_level) {
        case Level::Stations:
            result = an_all_sta(m_maxObj, &more, &count, m_names.data(), m_info.data(),
                                m_words.data(), &cont);
            break;
        case Level::Compounds:
            result = an_all_cmp(m_subject.c_str(), m_maxObj, &more, &count, m_names.data(), &cont);
            break;
        case Level::Blocks:
            result = an_all_blk(m_subject.c_str(), m_maxObj, &more, &count, m_names.data(),
                                m_info.data(), &cont);
            break;
        }
        names.clear();
        info.clear();
        if (result == 0 && count > 0 && static_cast<std::size_t>(count) <= m_capacity) {
            for (int32_t i = 0; i < count; ++i) {
                names.push_back(slotText(nameSlot(i), nameWidth()));
                if (m_level == Level::Blocks)
                    info.push_back(slotText(infoSlot(i), DIRAPI_BLOCK_INFO_SLOT));
            }
        }
        return result;
    }

    std::size_t nameWidth() const
    {
        return m_level == Level::Stations ? DIRAPI_STATION_SLOT : DIRAPI_COMPOUND_SLOT;
    }
    const char* nameSlot(int32_t i) const { return m_names.data() + i * nameWidth(); }
    const char* infoSlot(int32_t i) const
    {
        return m_info.data() +
               i * (m_level == Level::Blocks ? DIRAPI_BLOCK_INFO_SLOT : DIRAPI_STATION_INFO_SLOT);
    }

    int32_t more = 0;
    int32_t count = 0;
    int32_t cont = 0;
    std::vector<std::string> names; // of the last batch
    std::vector<std::string> info;  // of the last batch, blocks only

private:
    Level m_level;
    std::string m_subject;
    int32_t m_maxObj;
    std::size_t m_capacity;
    std::vector<char> m_names;
    std::vector<char> m_info;
    std::vector<int32_t> m_words;
};

struct FullListing
{
    int32_t result = 0; // of the last call
    std::vector<std::string> names;
    std::vector<std::string> info;
    std::vector<int32_t> batchCounts;
};

// The batch protocol from a zeroed more flag to its end, with a guard against a library that
// never ends.
inline FullListing listAll(Level level, const std::string& subject = {}, int32_t maxObj = 256)
{
    LevelCaller caller(level, subject, maxObj);
    FullListing listing;
    for (int guard = 0; guard < 100000; ++guard) {
        listing.result = caller.call();
        if (listing.result != 0)
            break;
        listing.batchCounts.push_back(caller.count);
        listing.names.insert(listing.names.end(), caller.names.begin(), caller.names.end());
        listing.info.insert(listing.info.end(), caller.info.begin(), caller.info.end());
        if (caller.more == 0)
            break;
    }
    return listing;
}

// Standard error, file descriptor 2, sent to a temporary file while this object lives.
class StderrCapture
{
public:
    StderrCapture() : m_file(std::tmpfile()), m_saved(::dup(2))
    {
        std::fflush(stderr);
        if (m_file != nullptr && m_saved >= 0)
            ::dup2(::fileno(m_file), 2);
    }
    ~StderrCapture()
    {
        restore();
        if (m_file != nullptr)
            std::fclose(m_file);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written so far; standard error is its own again after this.
    std::string text()
    {
        restore();
        std::string captured;
        if (m_file == nullptr)
            return captured;
        std::rewind(m_file);
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            captured.append(buffer, got);
        return captured;
    }

private:
    void restore()
    {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, 2);
            ::close(m_saved);
            m_saved = -1;
        }
    }

    std::FILE* m_file;
    int m_saved;
};

} // namespace dirapiclient

#endif
