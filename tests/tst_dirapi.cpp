// The stand-in directory library's batch protocol and its test controls.
#include "dirapi/dirapi_control.h"
#include "directory/dirapi.h"
#include "tests/dirapiclient.h"

#include <QtTest>

#include <algorithm>
#include <string>
#include <vector>

using namespace dirapiclient;
namespace control = dirapi_control;

namespace {

using Names = std::vector<std::string>;

// Ten stations S01..S10; S01 holds three compounds with blocks, S02 one empty compound.
const char* const kPlant = "S01 C1 B1 AIN\n"
                           "S01 C1 B2 AOUT\n"
                           "S01 C1 B3 PIDA\n"
                           "S01 C2 B1 AIN\n"
                           "S01 C3\n"
                           "S02 C4\n"
                           "S03\nS04\nS05\nS06\nS07\nS08\nS09\nS10\n";

Names stationNames(int from, int to)
{
    Names names;
    for (int i = from; i <= to; ++i)
        names.push_back((i < 10 ? "S0" : "S") + std::to_string(i));
    return names;
}

} // namespace

class TestDirapi : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        control::reset();
        QCOMPARE(control::loadPlant(kPlant), 0);
    }
    void cleanupTestCase() { control::reset(); }

    void listingComesInBatchesOfNWithTheRemainderLast()
    {
        LevelCaller stations(Level::Stations, {}, 4);
        std::vector<int32_t> counts;
        std::vector<int32_t> mores;
        Names names;
        do {
            QCOMPARE(stations.call(), 0);
            counts.push_back(stations.count);
            mores.push_back(stations.more);
            names.insert(names.end(), stations.names.begin(), stations.names.end());
        } while (stations.more != 0 && counts.size() < 10);
        QCOMPARE(counts, (std::vector<int32_t>{4, 4, 2}));
        QCOMPARE(mores, (std::vector<int32_t>{1, 1, 0}));
        QCOMPARE(names, stationNames(1, 10));
    }

    void exactMultipleOfNEndsWithMoreFlagZero()
    {
        const FullListing listing = listAll(Level::Stations, {}, 5);
        QCOMPARE(listing.result, 0);
        QCOMPARE(listing.batchCounts, (std::vector<int32_t>{5, 5}));
    }

    void listingsAtOtherLevelsBetweenBatchesDoNotDisturbOne()
    {
        LevelCaller stations(Level::Stations, {}, 3);
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, stationNames(1, 3));

        LevelCaller compounds(Level::Compounds, "S01", 2);
        QCOMPARE(compounds.call(), 0);
        QCOMPARE(compounds.names, (Names{"C1", "C2"}));
        // Complete block listings between two compound batches.
        const FullListing blocks = listAll(Level::Blocks, "C1", 2);
        QCOMPARE(blocks.names, (Names{"B1", "B2", "B3"}));
        QCOMPARE(listAll(Level::Blocks, "C2", 2).names, Names{"B1"});
        QCOMPARE(compounds.call(), 0);
        QCOMPARE(compounds.names, Names{"C3"});
        QCOMPARE(compounds.more, 0);
        QCOMPARE(listAll(Level::Compounds, "S02", 2).names, Names{"C4"});

        Names rest;
        while (stations.more != 0) {
            QCOMPARE(stations.call(), 0);
            rest.insert(rest.end(), stations.names.begin(), stations.names.end());
        }
        QCOMPARE(rest, stationNames(4, 10));
    }

    void firstCallIgnoresWhatTheCallerLeftInTheContinuationWord()
    {
        LevelCaller stations(Level::Stations, {}, 4);
        stations.cont = 0x7fffffff;
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, stationNames(1, 4));
        stations.cont = -12345;
        stations.more = 0;
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, stationNames(1, 4));
    }

    void continuationWithAChangedWordFailsAndOneWithAnotherNameContinues()
    {
        LevelCaller stations(Level::Stations, {}, 4);
        QCOMPARE(stations.call(), 0);
        stations.cont += 1;
        QVERIFY(stations.call() != 0);
        QCOMPARE(stations.more, 0);

        // The more flag makes a call a continuation of the level's listing; the name it passes
        // is not looked at. Callers must zero the flag to start a listing of another name.
        LevelCaller compounds(Level::Compounds, "S01", 1);
        QCOMPARE(compounds.call(), 0);
        LevelCaller other(Level::Compounds, "S02", 1);
        other.more = compounds.more;
        other.cont = compounds.cont;
        QCOMPARE(other.call(), 0);
        QCOMPARE(other.names, Names{listAll(Level::Compounds, "S01").names.at(1)});
    }

    void continuationWithoutAListingInProgressFails()
    {
        LevelCaller blocks(Level::Blocks, "C1", 4);
        blocks.more = 1;
        QVERIFY(blocks.call() != 0);
        QCOMPARE(blocks.more, 0);
        QCOMPARE(blocks.count, 0);
    }

    void firstCallAbandonsAnUnfinishedListingAtItsLevel()
    {
        LevelCaller first(Level::Stations, {}, 4);
        QCOMPARE(first.call(), 0);
        QCOMPARE(first.more, 1);

        LevelCaller second(Level::Stations, {}, 4);
        QCOMPARE(second.call(), 0);
        QCOMPARE(second.names, stationNames(1, 4));
        // The abandoned listing's word resumes nothing, and disturbs the new listing neither.
        QVERIFY(first.call() != 0);
        QCOMPARE(second.call(), 0);
        QCOMPARE(second.names, stationNames(5, 8));
    }

    void unknownStationOrCompoundFails()
    {
        QVERIFY(listAll(Level::Compounds, "S99").result != 0);
        QVERIFY(listAll(Level::Blocks, "C9").result != 0);
        QVERIFY(listAll(Level::Blocks, "S01").result != 0); // a station is no compound
        QVERIFY(listAll(Level::Compounds, "").result != 0);

        // A name filling its slot without a NUL is read no further than the slot.
        std::vector<char> unterminated(DIRAPI_COMPOUND_SLOT, 'C');
        std::vector<char> names(DIRAPI_BLOCK_SLOT * 4);
        std::vector<char> info(DIRAPI_BLOCK_INFO_SLOT * 4);
        int32_t more = 0, count = 0, cont = 0;
        QVERIFY(an_all_blk(unterminated.data(), 4, &more, &count, names.data(), info.data(),
                           &cont) != 0);
        QCOMPARE(more, 0);
    }

    void emptyStationOrCompoundListsNothingSuccessfully()
    {
        const FullListing none = listAll(Level::Compounds, "S03", 4);
        QCOMPARE(none.result, 0);
        QCOMPARE(none.batchCounts, std::vector<int32_t>{0});
        const FullListing empty = listAll(Level::Blocks, "C4", 4);
        QCOMPARE(empty.result, 0);
        QCOMPARE(empty.batchCounts, std::vector<int32_t>{0});
    }

    void namesAreDeliveredAsExactBytesWithNulPadding()
    {
        const std::string utf8 = "\xc3\x84"
                                 "BC"; // ÄBC in UTF-8
        const std::string latin1 = "K\xdc"
                                   "HL_12"; // KÜHL_12 in Latin-1
        const std::string twelve = "ABCDEFGHIJKL";
        control::loadPlant(utf8 + " " + latin1 + " " + twelve + " \xb5SEC\n");
        LevelCaller blocks(Level::Blocks, latin1, 4);
        QCOMPARE(blocks.call(), 0);
        QCOMPARE(blocks.names, Names{twelve});
        QCOMPARE(blocks.info, Names{"\xb5SEC"});
        QCOMPARE(blocks.nameSlot(0)[12], '\0');
        const char* info = blocks.infoSlot(0);
        QVERIFY(
            std::all_of(info + 4, info + DIRAPI_BLOCK_INFO_SLOT, [](char c) { return c == 0; }));
        QCOMPARE(listAll(Level::Stations).names, Names{utf8});
        QCOMPARE(listAll(Level::Compounds, utf8).names, Names{latin1});
    }

    void maxObjIsWhatGetMaxObjReturns()
    {
        QCOMPARE(get_maxobj(), 256);
        control::setMaxObj(3);
        QCOMPARE(get_maxobj(), 3);
        control::setMaxObj(0);
        QCOMPARE(get_maxobj(), 0);
        control::setMaxObj(-7);
        QCOMPARE(get_maxobj(), -7);
    }

    void listingWithNOfZeroOrLessOrNullArgumentsFails()
    {
        QVERIFY(listAll(Level::Stations, {}, 0).result != 0);
        QVERIFY(listAll(Level::Compounds, "S01", -1).result != 0);
        QVERIFY(listAll(Level::Blocks, "C1", 0).result != 0);

        std::vector<char> names(DIRAPI_BLOCK_SLOT * 4), info(DIRAPI_BLOCK_INFO_SLOT * 4);
        std::vector<int32_t> words(4);
        int32_t more = 0, count = 0, cont = 0;
        QVERIFY(an_all_sta(4, nullptr, &count, names.data(), info.data(), words.data(), &cont));
        QVERIFY(an_all_sta(4, &more, &count, names.data(), nullptr, words.data(), &cont));
        QVERIFY(an_all_sta(4, &more, &count, names.data(), info.data(), nullptr, &cont));
        QVERIFY(an_all_cmp(nullptr, 4, &more, &count, names.data(), &cont));
        QVERIFY(an_all_cmp("S01", 4, &more, nullptr, names.data(), &cont));
        QVERIFY(an_all_blk("C1", 4, &more, &count, nullptr, info.data(), &cont));
        QVERIFY(an_all_blk("C1", 4, &more, &count, names.data(), info.data(), nullptr));
        // The library is still in order afterwards.
        QCOMPARE(listAll(Level::Blocks, "C1").names, (Names{"B1", "B2", "B3"}));
    }

    void armedFailureFailsTheKthCallOfThatFunctionOnly()
    {
        control::failCall(control::Function::AllCmp, 2);
        QCOMPARE(listAll(Level::Compounds, "S01").result, 0);
        QCOMPARE(listAll(Level::Stations).result, 0);
        QVERIFY(listAll(Level::Compounds, "S01").result != 0);
        QCOMPARE(listAll(Level::Compounds, "S01").result, 0);
    }

    void armedFailureAfterBatchesLeavesTheWordsAndTheListingAsTheyWere()
    {
        control::failCall(control::Function::AllSta, 2);
        LevelCaller stations(Level::Stations, {}, 4);
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.more, 1);
        const int32_t countBefore = stations.count;
        QVERIFY(stations.call() != 0);
        QCOMPARE(stations.more, 1);
        QCOMPARE(stations.count, countBefore);
        // Coming back with the flag set continues where the listing was.
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, stationNames(5, 8));
    }

    void failureArmedFromTheHookHitsTheCallAboutToBeAnswered()
    {
        control::setBeforeCall([](control::Function function, int number) {
            if (function == control::Function::AllBlk && number == 2)
                control::failCall(control::Function::AllBlk, 1);
        });
        LevelCaller blocks(Level::Blocks, "C1", 2);
        QCOMPARE(blocks.call(), 0);
        QVERIFY(blocks.call() != 0);
        control::setBeforeCall(nullptr);
        QCOMPARE(listAll(Level::Blocks, "C1").names, (Names{"B1", "B2", "B3"}));
    }

    void armedFailuresOfGetMaxObjAndExit()
    {
        control::failCall(control::Function::GetMaxObj, 1);
        control::failCall(control::Function::Exit, 1);
        QCOMPARE(get_maxobj(), 0);
        QCOMPARE(get_maxobj(), 256);
        QVERIFY(an_exit() != 0);
        QCOMPARE(an_exit(), 0);
        QCOMPARE(control::exitCount(), 2);
    }

    void everyCallIsRecordedWithItsNameAndMoreFlag()
    {
        get_maxobj();
        listAll(Level::Stations, {}, 6);
        listAll(Level::Compounds, "S01", 2);
        listAll(Level::Blocks, "C9");
        an_exit();
        using F = control::Function;
        const std::vector<control::Call>& calls = control::calls();
        const std::vector<F> functions{F::GetMaxObj, F::AllSta, F::AllSta, F::AllCmp,
                                       F::AllCmp,    F::AllBlk, F::Exit};
        QCOMPARE(calls.size(), functions.size());
        for (std::size_t i = 0; i < calls.size(); ++i)
            QCOMPARE(calls[i].function, functions[i]);
        QCOMPARE(calls[1].name, std::string());
        QCOMPARE(calls[1].moreOnEntry, 0);
        QCOMPARE(calls[2].moreOnEntry, 1);
        QCOMPARE(calls[3].name, std::string("S01"));
        QCOMPARE(calls[4].moreOnEntry, 1);
        QCOMPARE(calls[5].name, std::string("C9"));
        QCOMPARE(control::exitCount(), 1);

        control::clearCalls();
        QVERIFY(control::calls().empty());
        control::reset();
        QCOMPARE(control::exitCount(), 0);
    }

    void hookRunsBeforeEachCallAndMayChangeThePlant()
    {
        std::vector<std::pair<control::Function, int>> seen;
        control::setBeforeCall([&seen](control::Function function, int number) {
            seen.emplace_back(function, number);
            if (function == control::Function::AllCmp && number == 2)
                control::loadPlant("S01 NEW\n");
        });
        QCOMPARE(listAll(Level::Compounds, "S01").names, (Names{"C1", "C2", "C3"}));
        QCOMPARE(listAll(Level::Compounds, "S01").names, Names{"NEW"});
        get_maxobj();
        control::setBeforeCall(nullptr);
        using F = control::Function;
        QCOMPARE(seen, (std::vector<std::pair<F, int>>{
                           {F::AllCmp, 1}, {F::AllCmp, 2}, {F::GetMaxObj, 1}}));
    }

    void listingInProgressFollowsAPlantChangedBetweenBatches()
    {
        LevelCaller stations(Level::Stations, {}, 4);
        QCOMPARE(stations.call(), 0);
        control::loadPlant("A1\nA2\nA3\nA4\nA5\nA6\n");
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, (Names{"A5", "A6"}));
        QCOMPARE(stations.more, 0);

        control::loadPlant(kPlant);
        LevelCaller compounds(Level::Compounds, "S01", 1);
        QCOMPARE(compounds.call(), 0);
        control::loadPlant("S02 C4\n"); // S01 is gone
        QVERIFY(compounds.call() != 0);
        QCOMPARE(compounds.more, 0);
    }

    void unterminatedSlotMisbehaviourFillsEverySlotToItsLastByte()
    {
        control::setMisbehaviour(control::Function::AllSta,
                                 control::Misbehaviour::UnterminatedSlot);
        control::setMisbehaviour(control::Function::AllBlk,
                                 control::Misbehaviour::UnterminatedSlot);
        LevelCaller stations(Level::Stations, {}, 4);
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.count, 4);
        for (int32_t i = 0; i < stations.count; ++i)
            QCOMPARE(stations.names[i].size(), std::size_t(DIRAPI_STATION_SLOT));
        QVERIFY(stations.names[0].starts_with("S01"));
        // Station info has no text to misbehave with: it stays empty.
        QCOMPARE(slotText(stations.infoSlot(0), DIRAPI_STATION_INFO_SLOT), std::string());

        LevelCaller blocks(Level::Blocks, "C1", 4);
        QCOMPARE(blocks.call(), 0);
        QCOMPARE(blocks.count, 3);
        QCOMPARE(blocks.names[2].size(), std::size_t(DIRAPI_BLOCK_SLOT));
        QCOMPARE(blocks.info[2].size(), std::size_t(DIRAPI_BLOCK_INFO_SLOT));
        QVERIFY(blocks.info[2].starts_with("PIDA"));
        // Other functions behave.
        QCOMPARE(listAll(Level::Compounds, "S01").names, (Names{"C1", "C2", "C3"}));
    }

    void countMisbehavioursReportWhatTheySay()
    {
        control::setMisbehaviour(control::Function::AllSta, control::Misbehaviour::CountAboveN);
        LevelCaller stations(Level::Stations, {}, 4);
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.count, 5);

        control::setMisbehaviour(control::Function::AllCmp, control::Misbehaviour::NegativeCount);
        LevelCaller compounds(Level::Compounds, "S01", 4);
        QCOMPARE(compounds.call(), 0);
        QCOMPARE(compounds.count, -1);
    }

    void endlessEmptyMoreNeverEnds()
    {
        control::setMisbehaviour(control::Function::AllBlk,
                                 control::Misbehaviour::EndlessEmptyMore);
        LevelCaller blocks(Level::Blocks, "C1", 4);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(blocks.call(), 0);
            QCOMPARE(blocks.more, 1);
            QCOMPARE(blocks.count, 0);
        }
        control::setMisbehaviour(control::Function::AllBlk, control::Misbehaviour::None);
        QCOMPARE(listAll(Level::Blocks, "C1").names, (Names{"B1", "B2", "B3"}));
    }
};

QTEST_GUILESS_MAIN(TestDirapi)
#include "tst_dirapi.moc"
