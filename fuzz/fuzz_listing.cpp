// The listing helpers against a library whose every answer comes from the fuzz input: result,
// more flag, count (in range or not) and slot bytes (with or without a NUL). Whatever it answers,
// nothing is read past a slot, no call comes after the protocol has ended the listing, and
// exactly the entries the protocol lets through are taken, in order. Listings nest the way the
// population runs them, so a listing at one level must also leave the others undisturbed.
#include "directory/dirapi.h"
#include "directory/listing/listings.h"
#include "fuzz/fuzzinput.h"
#include "fuzz/fuzztarget.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using fuzz::FuzzInput;
using fuzz::require;

// The listings here always go on to the next call: stopping is the reader's, tested on its own.
bool neverStop()
{
    return true;
}

enum Level
{
    Station = 0,
    Compound = 1,
    Block = 2,
    LevelCount = 3
};

constexpr std::array<std::size_t, LevelCount> kNameSlot = {DIRAPI_STATION_SLOT,
                                                           DIRAPI_COMPOUND_SLOT, DIRAPI_BLOCK_SLOT};

struct Entry
{
    std::string name;
    std::string info; // blocks only

    friend bool operator==(const Entry&, const Entry&) = default;
};

// One listing as the protocol sees it, worked out from the library's answers call by call,
// independently of the helper under test.
struct ExpectedListing
{
    bool running = false;
    bool over = false;       // the protocol allows no further call
    bool failed = false;     // over through a failure rather than a more flag of 0
    bool continuing = false; // the next call is a continuation: it sees what the library left
    int32_t leftMore = 0;
    int32_t leftCont = 0;
    std::string owner; // the station or compound named to the library
    std::vector<Entry> entries;
};

// Each buffer exactly N slots long, without slack, so AddressSanitizer sees any read past it.
struct LevelBuffers
{
    explicit LevelBuffers(int32_t maxObj)
        : stationNames(slots(maxObj, DIRAPI_STATION_SLOT)),
          stationInfo(slots(maxObj, DIRAPI_STATION_INFO_SLOT)),
          stationWords(std::make_unique<int32_t[]>(std::size_t(maxObj))),
          compoundNames(slots(maxObj, DIRAPI_COMPOUND_SLOT)),
          blockNames(slots(maxObj, DIRAPI_BLOCK_SLOT)),
          blockInfo(slots(maxObj, DIRAPI_BLOCK_INFO_SLOT))
    {
    }

    static std::unique_ptr<char[]> slots(int32_t maxObj, std::size_t width)
    {
        return std::make_unique<char[]>(std::size_t(maxObj) * width);
    }

    std::unique_ptr<char[]> stationNames;
    std::unique_ptr<char[]> stationInfo;
    std::unique_ptr<int32_t[]> stationWords;
    std::unique_ptr<char[]> compoundNames;
    std::unique_ptr<char[]> blockNames;
    std::unique_ptr<char[]> blockInfo;
};

// The library's side: reads each answer from the input and records what the protocol lets
// through. A call that finds the input used up fails, so the script always comes to an end.
class ScriptedLibrary
{
public:
    ScriptedLibrary(FuzzInput& input, int32_t maxObj) : m_input(input), m_maxObj(maxObj) {}

    ExpectedListing& listing(Level level) { return m_listings[level]; }
    std::size_t calls() const { return m_calls; }

    int32_t answer(Level level, const char* owner, int32_t maxObj, int32_t* more, int32_t* count,
                   char* names, char* info, int32_t* cont)
    {
        ExpectedListing& expected = m_listings[level];
        require(expected.running && !expected.over, "no call after the listing has ended");
        ++m_calls;
        require(maxObj == m_maxObj, "every call passes the batch capacity");
        if (level != Station)
            require(owner != nullptr && owner == expected.owner,
                    "the owner's name reaches the library whole, within its slot width");
        if (expected.continuing)
            require(*more == expected.leftMore && *cont == expected.leftCont,
                    "a continuation sees the more flag and continuation word the library left");
        else
            require(*more == 0, "a listing starts with its more flag zeroed");

        const auto resultByte = m_input.next();
        const auto moreByte = m_input.next();
        const auto countByte = m_input.next();
        if (!countByte)
            return endListing(expected, true, -1);
        const int32_t result = resultOf(*resultByte);
        const int32_t moreFlag = moreOf(*moreByte);
        const int32_t delivered = countOf(*countByte);

        // Stale bytes without a NUL beyond what is written, so only the count keeps us in.
        std::memset(names, 0x7f, std::size_t(m_maxObj) * kNameSlot[level]);
        if (info)
            std::memset(info, 0x7e, std::size_t(m_maxObj) * DIRAPI_BLOCK_INFO_SLOT);
        std::vector<Entry> batch;
        const int32_t written = std::clamp(delivered, 0, m_maxObj);
        for (int32_t i = 0; i < written; ++i) {
            Entry entry;
            const auto name =
                writeSlot(names + std::size_t(i) * kNameSlot[level], kNameSlot[level]);
            if (!name)
                return endListing(expected, true, -1);
            entry.name = *name;
            if (level == Block) {
                const auto blockInfo = writeSlot(info + std::size_t(i) * DIRAPI_BLOCK_INFO_SLOT,
                                                 DIRAPI_BLOCK_INFO_SLOT);
                if (!blockInfo)
                    return endListing(expected, true, -1);
                entry.info = *blockInfo;
            }
            batch.push_back(std::move(entry));
        }

        *more = moreFlag;
        *count = delivered;
        *cont = static_cast<int32_t>(m_calls);

        if (result != 0 || delivered < 0 || delivered > m_maxObj)
            return endListing(expected, true, result);
        expected.entries.insert(expected.entries.end(), batch.begin(), batch.end());
        if (moreFlag == 0)
            return endListing(expected, false, result);
        if (delivered == 0)
            return endListing(expected, true, result);
        expected.continuing = true;
        expected.leftMore = moreFlag;
        expected.leftCont = *cont;
        return result;
    }

private:
    // Hands back the library's own result: the protocol, not the result, decides the end.
    static int32_t endListing(ExpectedListing& expected, bool failed, int32_t result)
    {
        expected.over = true;
        expected.failed = failed;
        expected.continuing = false;
        return result;
    }

    static int32_t resultOf(uint8_t byte)
    {
        if (byte < 0xe0)
            return 0;
        if (byte == 0xff)
            return INT32_MIN;
        return (byte & 1) ? -int32_t(byte) : int32_t(byte);
    }

    static int32_t moreOf(uint8_t byte)
    {
        if (byte < 0x40)
            return 0;
        switch (byte) {
        case 0xfd:
            return -1;
        case 0xfe:
            return INT32_MIN;
        case 0xff:
            return INT32_MAX;
        default:
            return 1;
        }
    }

    int32_t countOf(uint8_t byte) const
    {
        if (byte < 0xe0)
            return byte % (m_maxObj + 1);
        switch (byte) {
        case 0xe0:
            return -1;
        case 0xe1:
            return INT32_MIN;
        case 0xe2:
            return INT32_MAX;
        case 0xe3:
            return m_maxObj + 1;
        default:
            return (byte & 1) ? -int32_t(byte) : m_maxObj + int32_t(byte);
        }
    }

    // A name of 0 to width bytes: at full width the slot holds no NUL at all. Nothing when the
    // script runs out on the way.
    std::optional<std::string> writeSlot(char* slot, std::size_t width)
    {
        const auto length = m_input.next();
        if (!length)
            return std::nullopt;
        std::string name = m_input.text(*length % (width + 1));
        if (name.size() != *length % (width + 1))
            return std::nullopt;
        std::memcpy(slot, name.data(), name.size());
        if (name.size() < width)
            slot[name.size()] = '\0';
        return name;
    }

    FuzzInput& m_input;
    const int32_t m_maxObj;
    std::size_t m_calls = 0;
    std::array<ExpectedListing, LevelCount> m_listings;
};

ScriptedLibrary* g_library = nullptr;

// Runs listings the way the population does, optionally nesting the next level inside a take.
class ListingRunner
{
public:
    ListingRunner(FuzzInput& input, ScriptedLibrary& library, int32_t maxObj)
        : m_input(input), m_library(library), m_maxObj(maxObj), m_buffers(maxObj)
    {
    }

    void run(Level level, std::string_view owner)
    {
        ExpectedListing& expected = m_library.listing(level);
        expected = ExpectedListing{};
        expected.running = true;
        // The helpers hand the owner back within the width of the slot it came from.
        const std::size_t ownerWidth = level == Block ? DIRAPI_COMPOUND_SLOT : DIRAPI_STATION_SLOT;
        expected.owner = std::string(owner.substr(0, ownerWidth));

        std::vector<Entry> taken;
        directory::ListingResult result;
        switch (level) {
        case Station:
            result =
                directory::listStations(m_maxObj, m_words[Station],
                                        {m_buffers.stationNames.get(), m_buffers.stationInfo.get(),
                                         m_buffers.stationWords.get()},
                                        neverStop, [&](std::string_view name) {
                                            taken.push_back({std::string(name), {}});
                                            nestMaybe(Compound, name);
                                            return true;
                                        });
            break;
        case Compound:
            result = directory::listCompounds(owner, m_maxObj, m_words[Compound],
                                              m_buffers.compoundNames.get(), neverStop,
                                              [&](std::string_view name) {
                                                  taken.push_back({std::string(name), {}});
                                                  nestMaybe(Block, name);
                                                  return true;
                                              });
            break;
        case Block:
        case LevelCount:
            result =
                directory::listBlocks(owner, m_maxObj, m_words[Block],
                                      {m_buffers.blockNames.get(), m_buffers.blockInfo.get()},
                                      neverStop, [&](std::string_view name, std::string_view info) {
                                          taken.push_back({std::string(name), std::string(info)});
                                          return true;
                                      });
            break;
        }

        require(expected.over, "the listing goes on until the protocol ends it");
        require(taken == expected.entries, "exactly the delivered entries are taken, in order");
        require(result.taken == int64_t(taken.size()), "the result counts what was taken");
        require((result.end == directory::ListingEnd::Failed) == expected.failed,
                "the result tells a failure from the end");
        expected.running = false;
    }

private:
    void nestMaybe(Level level, std::string_view owner)
    {
        if (m_input.byteOr0() & 1)
            run(level, owner);
    }

    FuzzInput& m_input;
    ScriptedLibrary& m_library;
    const int32_t m_maxObj;
    LevelBuffers m_buffers;
    std::array<directory::ListingWords, LevelCount> m_words;
};

constexpr int32_t kLargestBatch = 64;

} // namespace

extern "C" {

int32_t an_all_sta(int32_t maxobj, int32_t* more, int32_t* count, char* names, char* info,
                   int32_t* words, int32_t* cont)
{
    require(g_library != nullptr, "listings run only while a script is loaded");
    const int32_t result =
        g_library->answer(Station, nullptr, maxobj, more, count, names, nullptr, cont);
    // Never read by the caller, but the library may write all of it.
    std::memset(info, 0x55, std::size_t(maxobj) * DIRAPI_STATION_INFO_SLOT);
    std::memset(words, 0x55, std::size_t(maxobj) * DIRAPI_STATION_WORD_SIZE);
    return result;
}

int32_t an_all_cmp(const char* station, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   int32_t* cont)
{
    require(g_library != nullptr, "listings run only while a script is loaded");
    return g_library->answer(Compound, station, maxobj, more, count, names, nullptr, cont);
}

int32_t an_all_blk(const char* compound, int32_t maxobj, int32_t* more, int32_t* count, char* names,
                   char* info, int32_t* cont)
{
    require(g_library != nullptr, "listings run only while a script is loaded");
    return g_library->answer(Block, compound, maxobj, more, count, names, info, cont);
}

} // extern "C"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int32_t maxObj = 1 + input.byteOr0() % kLargestBatch;
    ScriptedLibrary library(input, maxObj);
    g_library = &library;
    ListingRunner runner(input, library, maxObj);
    while (!input.empty()) {
        const uint8_t choice = input.byteOr0();
        const auto level = static_cast<Level>(choice % LevelCount);
        // Owners may be longer than any slot: only the slot's width reaches the library.
        const std::string owner = input.text(choice / LevelCount % 17);
        runner.run(level, owner);
    }
    g_library = nullptr;
    // Each listing takes at least one byte to start, and each call but its last three more.
    require(library.calls() <= size, "the number of calls is bounded by the script");
    return 0;
}
