// The batch protocol against a scripted library: every way a library can answer, and what
// the listing takes from it.
#include "dirapi/dirapi_control.h"
#include "directory/listing/batchlisting.h"
#include "directory/listing/blockline.h"
#include "directory/listing/directoryreader.h"
#include "directory/listing/listings.h"
#include "directory/listing/slottext.h"
#include "directory/listing/zeroedbuffer.h"
#include "tests/reference.h"

#include <QtTest>
#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace directory;

namespace {

// One scripted answer of the library.
struct Answer
{
    int32_t result;
    int32_t more;
    int32_t count;
};

// Plays a script of answers; each answer's entries are numbered on from the last batch.
struct ScriptedLibrary
{
    explicit ScriptedLibrary(std::vector<Answer> answers) : script(std::move(answers)) {}

    std::vector<Answer> script;
    std::size_t calls = 0;
    std::vector<int32_t> moreSeen;
    std::vector<int32_t> contSeen;
    int32_t nextEntry = 0;
    std::vector<int32_t> batch;

    int32_t operator()(ListingWords& words)
    {
        moreSeen.push_back(words.more);
        contSeen.push_back(words.cont);
        if (calls >= script.size())
            return 99; // a script that ran out fails, never loops
        const Answer answer = script[calls++];
        words.more = answer.more;
        words.count = answer.count;
        words.cont = 1000 + int32_t(calls); // the library's own bookkeeping
        batch.clear();
        // Entries only as far as a batch can be valid; the rest is the library's lie.
        for (int32_t i = 0; i < std::clamp(answer.count, 0, 64); ++i)
            batch.push_back(nextEntry++);
        return answer.result;
    }
};

bool neverStop()
{
    return true;
}

std::vector<int32_t> run(ScriptedLibrary& library, int32_t maxObj, ListingWords& words,
                         ListingResult* result = nullptr)
{
    std::vector<int32_t> taken;
    const ListingResult r = runListing(maxObj, words, neverStop, std::ref(library), [&](int32_t i) {
        taken.push_back(library.batch.at(std::size_t(i)));
        return true;
    });
    if (result)
        *result = r;
    return taken;
}

std::vector<int32_t> range(int32_t from, int32_t to)
{
    std::vector<int32_t> v;
    for (int32_t i = from; i < to; ++i)
        v.push_back(i);
    return v;
}

void* failingAllocator(std::size_t, std::size_t)
{
    return nullptr;
}

// Writes down what the reader hands it, and answers stop at the given ask (0: never).
struct RecordingSink
{
    int stopAtAsk = 0;
    int asks = 0;
    std::vector<std::string> events;

    bool proceed() { return stopAtAsk == 0 || ++asks < stopAtAsk; }
    using Item = std::optional<std::string>;

    Item station(std::string_view name)
    {
        events.push_back("station " + std::string(name));
        return std::string(name);
    }
    Item compound(const Item& station, std::string_view name)
    {
        events.push_back("compound " + *station + "/" + std::string(name));
        return std::string(name);
    }
    void block(const Item& compound, std::string_view line)
    {
        events.push_back("block " + *compound + "/" + std::string(line));
    }
    void listedBelow(const Item& item, const ListingResult& listing)
    {
        events.push_back("listed " + *item + (listing.stopped() ? " stopped" : ""));
    }
    void stationRead() { events.push_back("read"); }
};

// N = 2 and the six buffers for the reader.
struct SmallBuffers
{
    static constexpr int32_t kN = 2;
    std::vector<char> stationNames = std::vector<char>(kN * DIRAPI_STATION_SLOT);
    std::vector<char> stationInfo = std::vector<char>(kN * DIRAPI_STATION_INFO_SLOT);
    std::vector<int32_t> stationWords = std::vector<int32_t>(kN);
    std::vector<char> compoundNames = std::vector<char>(kN * DIRAPI_COMPOUND_SLOT);
    std::vector<char> blockNames = std::vector<char>(kN * DIRAPI_BLOCK_SLOT);
    std::vector<char> blockInfo = std::vector<char>(kN * DIRAPI_BLOCK_INFO_SLOT);

    DirectoryBuffers buffers()
    {
        return {kN,
                {stationNames.data(), stationInfo.data(), stationWords.data()},
                compoundNames.data(),
                {blockNames.data(), blockInfo.data()}};
    }
};

std::vector<std::string> callNames()
{
    std::vector<std::string> names;
    for (const auto& call : dirapi_control::calls())
        names.push_back(call.name.empty() ? std::string("sta") : call.name);
    return names;
}

} // namespace

class TestBatchListing : public QObject
{
    Q_OBJECT
private slots:
    void takesBatchesOfNAndTheRemainderInOrder()
    {
        ScriptedLibrary library{{{0, 1, 4}, {0, 1, 4}, {0, 0, 3}}};
        ListingWords words;
        ListingResult result;
        QCOMPARE(run(library, 4, words, &result), range(0, 11));
        QCOMPARE(result.end, ListingEnd::Complete);
        QCOMPARE(result.taken, int64_t(11));
        QCOMPARE(library.calls, std::size_t(3));
    }

    void emptyListingIsComplete()
    {
        ScriptedLibrary library{{{0, 0, 0}}};
        ListingWords words;
        ListingResult result;
        QVERIFY(run(library, 4, words, &result).empty());
        QCOMPARE(result.end, ListingEnd::Complete);
    }

    void failureKeepsWhatWasTakenAndStops()
    {
        ScriptedLibrary library{{{0, 1, 4}, {3, 1, 4}, {0, 0, 2}}};
        ListingWords words;
        ListingResult result;
        QCOMPARE(run(library, 4, words, &result), range(0, 4));
        QVERIFY(result.end == ListingEnd::Failed);
        QCOMPARE(library.calls, std::size_t(2));
    }

    void continuationSeesTheLibrarysWordsUntouched()
    {
        ScriptedLibrary library{{{0, 1, 2}, {0, 7, 2}, {0, 0, 1}}};
        ListingWords words;
        run(library, 2, words);
        // First call: the flag zeroed; later calls: exactly what the library left.
        QCOMPARE(library.moreSeen, (std::vector<int32_t>{0, 1, 7}));
        QCOMPARE(library.contSeen, (std::vector<int32_t>{0, 1001, 1002}));
        QCOMPARE(words.cont, 1003);
    }

    void everyListingStartsWithTheMoreFlagZeroed()
    {
        // A listing that failed half way leaves the flag set; the next one must not start as
        // its continuation.
        ScriptedLibrary failed{{{0, 1, 2}, {5, 1, 0}}};
        ListingWords words;
        run(failed, 2, words);
        QCOMPARE(words.more, 1);

        ScriptedLibrary next{{{0, 0, 1}}};
        run(next, 2, words);
        QCOMPARE(next.moreSeen.front(), 0);
    }

    void countOutsideZeroToNFailsAndTakesNothingFromThatCall_data()
    {
        QTest::addColumn<int32_t>("badCount");
        QTest::newRow("negative") << int32_t(-1);
        QTest::newRow("most negative") << std::numeric_limits<int32_t>::min();
        QTest::newRow("N + 1") << int32_t(5);
        QTest::newRow("huge") << std::numeric_limits<int32_t>::max();
    }
    void countOutsideZeroToNFailsAndTakesNothingFromThatCall()
    {
        QFETCH(int32_t, badCount);
        ScriptedLibrary library{{{0, 1, 4}, {0, 0, badCount}}};
        ListingWords words;
        ListingResult result;
        QCOMPARE(run(library, 4, words, &result), range(0, 4));
        QVERIFY(result.end == ListingEnd::Failed);
        QCOMPARE(result.taken, int64_t(4));
    }

    void moreWithNothingDeliveredEndsTheListing()
    {
        std::vector<Answer> endless(1000, Answer{0, 1, 0});
        ScriptedLibrary library{endless};
        ListingWords words;
        ListingResult result;
        QVERIFY(run(library, 4, words, &result).empty());
        QVERIFY(result.end == ListingEnd::Failed);
        QCOMPARE(library.calls, std::size_t(1));
    }

    void successWithoutCountTakesNothing()
    {
        // A library that never writes the count must not hand us the previous batch's count.
        ListingWords words;
        int calls = 0;
        std::vector<int32_t> taken;
        const ListingResult result = runListing(
            4, words, neverStop,
            [&](ListingWords& w) {
                if (++calls == 1) {
                    w.count = 3;
                    w.more = 1;
                } else {
                    w.more = 0;
                }
                return 0;
            },
            [&](int32_t i) {
                taken.push_back(i);
                return true;
            });
        QCOMPARE(taken, (std::vector<int32_t>{0, 1, 2}));
        QCOMPARE(result.taken, int64_t(3));
    }

    void listingAfterAFailedOneGetsItsOwnNamesChildren()
    {
        // With the stand-in library: S1's listing fails after its first batch and leaves the
        // more flag set, which the library reads as "continue". Listing S2 next must still
        // give S2's compounds, not the rest of S1's.
        dirapi_control::reset();
        dirapi_control::loadPlant("S1 A1\nS1 A2\nS1 A3\nS2 B1\n");
        dirapi_control::failCall(dirapi_control::Function::AllCmp, 2);
        std::vector<char> names(2 * DIRAPI_COMPOUND_SLOT);
        ListingWords words;
        std::vector<std::string> taken;
        const auto take = [&](std::string_view name) {
            taken.emplace_back(name);
            return true;
        };

        QCOMPARE(listCompounds("S1", 2, words, names.data(), neverStop, take).end,
                 ListingEnd::Failed);
        QCOMPARE(taken, (std::vector<std::string>{"A1", "A2"}));
        QCOMPARE(words.more, 1);

        // Without the zeroing, the library hands over S1's rest for S2:
        ListingWords unzeroed = words;
        QCOMPARE(an_all_cmp("S2", 2, &unzeroed.more, &unzeroed.count, names.data(), &unzeroed.cont),
                 0);
        QCOMPARE(slotText(names.data(), DIRAPI_COMPOUND_SLOT), std::string_view("A3"));

        dirapi_control::failCall(dirapi_control::Function::AllCmp, 2);
        taken.clear();
        QCOMPARE(listCompounds("S1", 2, words, names.data(), neverStop, take).end,
                 ListingEnd::Failed);
        taken.clear();
        QVERIFY(listCompounds("S2", 2, words, names.data(), neverStop, take).end !=
                ListingEnd::Failed);
        QCOMPARE(taken, (std::vector<std::string>{"B1"}));
        dirapi_control::reset();
    }

    void proceedIsAskedBeforeEveryCallAndStopEndsBetweenCalls()
    {
        ScriptedLibrary library{{{0, 1, 4}, {0, 1, 4}, {0, 0, 3}}};
        ListingWords words;
        int asks = 0;
        std::vector<int32_t> taken;
        const ListingResult result = runListing(
            8, words, [&] { return ++asks < 2; }, std::ref(library),
            [&](int32_t i) {
                taken.push_back(library.batch.at(std::size_t(i)));
                return true;
            });
        QCOMPARE(result.end, ListingEnd::Stopped);
        QCOMPARE(library.calls, std::size_t(1));
        QCOMPARE(taken, range(0, 4)); // the batch taken is taken whole
        QCOMPARE(result.taken, int64_t(4));

        // A take that answers false ends the listing there: the rest of its batch and the next
        // call are left.
        ScriptedLibrary cut{{{0, 1, 4}, {0, 0, 3}}};
        taken.clear();
        const ListingResult cutShort =
            runListing(8, words, neverStop, std::ref(cut), [&](int32_t i) {
                taken.push_back(cut.batch.at(std::size_t(i)));
                return i < 2;
            });
        QVERIFY(cutShort.stopped());
        QCOMPARE(cut.calls, std::size_t(1));
        QCOMPARE(taken, range(0, 3));
        QCOMPARE(cutShort.taken, int64_t(3));
    }

    void readerHandsTheSinkTheDirectoryInListingOrder()
    {
        dirapi_control::reset();
        dirapi_control::loadPlant("S1 A1 B1 AIN\nS1 A1 B2 PIDA\nS1 A1 B3 DOUT\nS1 A2\n"
                                  "S2 C1 B4 AOUT\nS3\n");
        SmallBuffers small;
        LevelWords words;
        std::string line;
        RecordingSink sink;
        DirectoryReader reader(small.buffers(), words, line, sink);
        QCOMPARE(reader.countStations().taken, int64_t(3));
        QVERIFY(sink.events.empty());
        dirapi_control::clearCalls();
        QVERIFY(reader.readStations().end != ListingEnd::Failed);
        QCOMPARE(sink.events,
                 (std::vector<std::string>{
                     "station S1", "compound S1/A1", "block A1/B1           AIN",
                     "block A1/B2           PIDA", "block A1/B3           DOUT", "listed A1",
                     "compound S1/A2", "listed A2", "listed S1", "read", "station S2",
                     "compound S2/C1", "block C1/B4           AOUT", "listed C1", "listed S2",
                     "read", "station S3", "listed S3", "read"}));
        // A batch is walked whole before the next call at its level: A1's blocks take two calls,
        // and the second station batch follows S2's compounds.
        QCOMPARE(callNames(), (std::vector<std::string>{"sta", "S1", "A1", "A1", "A2", "S2", "C1",
                                                        "sta", "S3"}));
        dirapi_control::reset();
    }

    void readerStopsAtTheSinksWordWithoutAnotherCall()
    {
        dirapi_control::reset();
        dirapi_control::loadPlant("S1 A1 B1 AIN\nS1 A1 B2 PIDA\nS1 A1 B3 DOUT\nS2 C1\n");
        SmallBuffers small;
        LevelWords words;
        std::string line;
        RecordingSink sink;
        sink.stopAtAsk = 4; // stations, S1's compounds, A1's first blocks; not A1's rest
        DirectoryReader reader(small.buffers(), words, line, sink);
        QVERIFY(reader.readStations().stopped());
        QVERIFY(reader.stopped());
        QCOMPARE(callNames(), (std::vector<std::string>{"sta", "S1", "A1"}));
        QCOMPARE(sink.events, (std::vector<std::string>{"station S1", "compound S1/A1",
                                                        "block A1/B1           AIN",
                                                        "block A1/B2           PIDA",
                                                        "listed A1 stopped", "listed S1 stopped"}));
        // Once stopped, it stays stopped.
        QVERIFY(reader.readStations().stopped());
        QCOMPARE(dirapi_control::calls().size(), std::size_t(3));
        dirapi_control::reset();
    }

    void slotTextEndsAtNulOrWidth()
    {
        const char bytes[] = "AB\0\0\0\0\0CDEFGHIJKLMNOP"; // first slot "AB", second has no NUL
        QCOMPARE(slotText(bytes, 7), std::string_view("AB"));
        QCOMPARE(slotText(bytes + 7, 7), std::string_view("CDEFGHI"));
        QCOMPARE(slotText(bytes + 7, 13).size(), std::size_t(13));
    }

    void slotNameIsBoundedAndTerminated()
    {
        const SlotName<7> exact(std::string_view("WP01"));
        QCOMPARE(std::strlen(exact.c_str()), std::size_t(4));
        QCOMPARE(std::string_view(exact.c_str()), std::string_view("WP01"));

        const SlotName<7> full(std::string_view("ABCDEFGHIJ"));
        QCOMPARE(std::string_view(full.c_str()), std::string_view("ABCDEFG"));

        const std::string withNul("A\0B", 3);
        const SlotName<7> nul(withNul);
        QCOMPARE(std::string_view(nul.c_str()), std::string_view("A"));
    }

    void blockLinePadsTheNameToTwelveThenOneBlank()
    {
        std::string line;
        formatBlockLine(line, "AIN1", "AIN");
        QCOMPARE(line.size(), std::size_t(16));
        // A name longer than the column (a slot without a NUL) is kept whole, as printf does.
        const std::string latin1("\xC4\xD6\xDC", 3);
        for (const auto& [name, info] :
             std::vector<std::pair<std::string, std::string>>{{"AIN1", "AIN"},
                                                              {"ABCDEFGHIJKL", "PIDA"},
                                                              {"", ""},
                                                              {"ABCDEFGHIJKLM", "X"},
                                                              {latin1, "\xB5"}}) {
            formatBlockLine(line, name, info);
            QCOMPARE(line, reference::blockLine(name, info));
        }
    }

    void zeroedBufferRefusesBadSizesAndFailedAllocations()
    {
        ZeroedBuffer buffer;
        QVERIFY(buffer.allocate(3, 13));
        QVERIFY(std::all_of(buffer.data(), buffer.data() + 39, [](char c) { return c == 0; }));

        QVERIFY(!buffer.allocate(0, 13));
        QVERIFY(!buffer);
        QVERIFY(!buffer.allocate(-5, 13));
        QVERIFY(!buffer.allocate(std::numeric_limits<int64_t>::max(), 13));
        QVERIFY(!buffer);

        setZeroedAllocator(&failingAllocator);
        QVERIFY(!buffer.allocate(4, 7));
        QVERIFY(!buffer);
        setZeroedAllocator(nullptr);
        QVERIFY(buffer.allocate(4, 7));
    }
};

QTEST_APPLESS_MAIN(TestBatchListing)
#include "tst_batchlisting.moc"
