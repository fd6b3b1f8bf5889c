// The find walk over a three-level tree: which item each Find selects, and what it remembers.
#include "search/findwalk.h"
#include "tests/findtree.h"
#include "tests/reference.h"

#include <QTest>
#include <optional>
#include <random>
#include <string>
#include <vector>

using reference::blockLine;
using reference::passes;
using search::FindFragments;
using search::FindLevel;
using search::FindMemory;

namespace {

using testsupport::FindTree;
static_assert(search::FindableTree<FindTree>);

std::string joined(const std::vector<std::string>& path)
{
    std::string text;
    for (const std::string& part : path)
        text += (text.empty() ? "" : "/") + part;
    return text;
}

QString blockPath(const QString& compoundPath, const std::string& name, const std::string& info)
{
    return compoundPath + QLatin1Char('/') + QString::fromStdString(blockLine(name, info));
}

// The Find window's side: keeps the memory between Finds as the window will.
struct FindSession
{
    const FindTree& tree;
    FindMemory memory;

    QString find(std::string_view station, std::string_view compound, std::string_view block)
    {
        auto result = search::findNext(tree, FindFragments{station, compound, block}, memory);
        memory = std::move(result.memory);
        // "station/compound/block line", or "not found" for a null item.
        return QString::fromStdString(result.item ? joined(tree.path(result.item)) : "not found");
    }
    QString findBlock(std::string_view block = "") { return find("", "", block); }
    // Presses Find that many times with the same fragments.
    QStringList findTimes(int times, std::string_view station, std::string_view compound,
                          std::string_view block)
    {
        QStringList found;
        for (int i = 0; i < times; ++i)
            found << find(station, compound, block);
        return found;
    }
};

// Two stations, the second with the same block lines as the first, plus empty branches.
FindTree demoPlant()
{
    FindTree tree;
    const auto st01 = tree.add("ST01");
    const auto uc01 = tree.add("UC01", st01);
    tree.add(blockLine("AIN1", "AIN"), uc01);
    tree.add(blockLine("PIDA1", "PIDA"), uc01);
    tree.add("UC02", st01); // no blocks
    const auto uc03 = tree.add("UC03", st01);
    tree.add(blockLine("AIN1", "AIN"), uc03);
    tree.add(blockLine("OUT1", "PIDA"), uc03);
    tree.add("ST02"); // no compounds
    const auto cp03 = tree.add("CP03");
    const auto uc01b = tree.add("UC01", cp03);
    tree.add(blockLine("AIN1", "AIN"), uc01b);
    return tree;
}

} // namespace

class FindWalkTest : public QObject
{
    Q_OBJECT
private slots:
    void emptyFieldsWalkBlocksInTreeOrder();
    void stationFragmentStepsThroughStations();
    void compoundFragmentStepsThroughCompounds();
    void blockFragmentMakesBlockSearchFilteredByAncestors();
    void blockFragmentMatchesInfoColumn();
    void matchingIsCaseSensitive();
    void notFoundAfterLastMatchThenFirstAgain();
    void repeatedBlockLinesAreEachReachedInOrder();
    void fragmentChangeKeepingLastMatchResumesAfterIt();
    void fragmentChangeExcludingLastMatchRestartsAtTop();
    void removedRememberedItemRestartsAtTop();
    void levelsKeepSeparateMemories();
    void forgetStartsEveryLevelAtTop();
    void emptyTreeFindsNothing();
    void malformedMemoryRestartsAtTop();
    void agreesWithBruteForceOnRandomTrees();
};

void FindWalkTest::emptyFieldsWalkBlocksInTreeOrder()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(
        session.findTimes(6, "", "", ""),
        (QStringList{blockPath("ST01/UC01", "AIN1", "AIN"), blockPath("ST01/UC01", "PIDA1", "PIDA"),
                     blockPath("ST01/UC03", "AIN1", "AIN"), blockPath("ST01/UC03", "OUT1", "PIDA"),
                     blockPath("CP03/UC01", "AIN1", "AIN"), "not found"}));
}

void FindWalkTest::stationFragmentStepsThroughStations()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    // ST02 is a station without compounds.
    QCOMPARE(session.findTimes(3, "ST", "", ""), (QStringList{"ST01", "ST02", "not found"}));
    QCOMPARE(session.findTimes(3, "0", "", ""), (QStringList{"ST01", "ST02", "CP03"}));
    QCOMPARE(session.memory.station, (search::ItemPath{"CP03"}));
    QVERIFY(session.memory.block.empty());
}

void FindWalkTest::compoundFragmentStepsThroughCompounds()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    // ST01/UC02 is a compound without blocks.
    QCOMPARE(session.findTimes(5, "", "UC0", ""),
             (QStringList{"ST01/UC01", "ST01/UC02", "ST01/UC03", "CP03/UC01", "not found"}));
    QCOMPARE(session.find("CP", "UC0", ""), QStringLiteral("CP03/UC01"));
}

void FindWalkTest::blockFragmentMakesBlockSearchFilteredByAncestors()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.find("ST", "UC03", "AIN"), blockPath("ST01/UC03", "AIN1", "AIN"));
    QCOMPARE(session.find("ST", "UC03", "AIN"), QStringLiteral("not found"));
    QCOMPARE(session.find("CP", "", "AIN1"), blockPath("CP03/UC01", "AIN1", "AIN"));
    QCOMPARE(session.find("ST02", "", "AIN1"), QStringLiteral("not found"));
}

void FindWalkTest::blockFragmentMatchesInfoColumn()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findTimes(3, "", "", "PIDA"),
             (QStringList{blockPath("ST01/UC01", "PIDA1", "PIDA"),
                          blockPath("ST01/UC03", "OUT1", "PIDA"), "not found"}));
}

void FindWalkTest::matchingIsCaseSensitive()
{
    const FindTree tree = demoPlant();
    // Lower case against upper-case names, and blanks, which count: as the fragment rule says.
    for (const reference::Fragments& fragments :
         {reference::Fragments{"st", "", ""}, {"", "", "ain"}, {"", "", "1  "}}) {
        FindSession session{tree, {}};
        const auto matches = reference::matchesInOrder(tree, fragments);
        QCOMPARE(session.find(fragments[0], fragments[1], fragments[2]),
                 QString::fromStdString(matches.empty() ? "not found" : joined(matches[0].path)));
    }
}

void FindWalkTest::notFoundAfterLastMatchThenFirstAgain()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock("OUT"), blockPath("ST01/UC03", "OUT1", "PIDA"));
    QCOMPARE(session.findBlock("OUT"), QStringLiteral("not found"));
    QVERIFY(session.memory.block.empty());
    QCOMPARE(session.findBlock("OUT"), blockPath("ST01/UC03", "OUT1", "PIDA"));
    QCOMPARE(session.findBlock("OUT"), QStringLiteral("not found"));
}

void FindWalkTest::repeatedBlockLinesAreEachReachedInOrder()
{
    FindTree tree;
    for (const char* station : {"ST01", "ST02"}) {
        const auto s = tree.add(station);
        for (const char* compound : {"UC01", "UC02", "UC03"})
            tree.add(blockLine("AIN1", "AIN"), tree.add(compound, s));
    }
    FindSession session{tree, {}};
    for (const char* station : {"ST01", "ST02"}) {
        for (const char* compound : {"UC01", "UC02", "UC03"}) {
            QCOMPARE(session.findBlock("AIN1"),
                     blockPath(QStringLiteral("%1/%2").arg(station, compound), "AIN1", "AIN"));
        }
    }
    QCOMPARE(session.findBlock("AIN1"), QStringLiteral("not found"));
    QCOMPARE(session.findBlock("AIN1"), blockPath("ST01/UC01", "AIN1", "AIN"));
}

void FindWalkTest::fragmentChangeKeepingLastMatchResumesAfterIt()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock(), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.findBlock(), blockPath("ST01/UC01", "PIDA1", "PIDA"));
    // PIDA1 still passes "A", so the walk goes on after it, not at the top.
    QCOMPARE(session.findBlock("A"), blockPath("ST01/UC03", "AIN1", "AIN"));
    QCOMPARE(session.find("", "UC", "A"), blockPath("ST01/UC03", "OUT1", "PIDA"));
}

void FindWalkTest::fragmentChangeExcludingLastMatchRestartsAtTop()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock("PIDA1"), blockPath("ST01/UC01", "PIDA1", "PIDA"));
    // PIDA1 fails "AIN": the Find selects the first AIN block instead of reporting nothing.
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC03", "AIN1", "AIN"));
    QCOMPARE(session.find("CP", "", "AIN"), blockPath("CP03/UC01", "AIN1", "AIN"));
    // Nothing passes at all: not found, and nothing is remembered.
    QCOMPARE(session.findBlock("XYZ"), QStringLiteral("not found"));
    QVERIFY(session.memory.block.empty());
}

void FindWalkTest::removedRememberedItemRestartsAtTop()
{
    FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC03", "AIN1", "AIN"));
    tree.remove(tree.childNamed(tree.childNamed({}, "ST01"), "UC03"));
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.findBlock("AIN"), blockPath("CP03/UC01", "AIN1", "AIN"));
}

void FindWalkTest::levelsKeepSeparateMemories()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.find("ST", "", ""), QStringLiteral("ST01"));
    QCOMPARE(session.find("", "UC", ""), QStringLiteral("ST01/UC01"));
    QCOMPARE(session.find("ST", "", ""), QStringLiteral("ST02"));
    QCOMPARE(session.findBlock("AIN"), blockPath("ST01/UC03", "AIN1", "AIN"));
    QCOMPARE(session.find("", "UC", ""), QStringLiteral("ST01/UC02"));
    QCOMPARE(session.memory.station, (search::ItemPath{"ST02"}));
    QCOMPARE(session.memory.compound, (search::ItemPath{"ST01", "UC02"}));
    QCOMPARE(session.memory.block, (search::ItemPath{"ST01", "UC03", blockLine("AIN1", "AIN")}));
}

void FindWalkTest::forgetStartsEveryLevelAtTop()
{
    const FindTree tree = demoPlant();
    FindSession session{tree, {}};
    session.findBlock();
    session.findBlock();
    session.find("ST", "", "");
    session.find("", "UC", "");
    session.memory = FindMemory{};
    QCOMPARE(session.findBlock(), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.find("ST", "", ""), QStringLiteral("ST01"));
    QCOMPARE(session.find("", "UC", ""), QStringLiteral("ST01/UC01"));
}

void FindWalkTest::emptyTreeFindsNothing()
{
    const FindTree tree;
    FindSession session{tree, {}};
    QCOMPARE(session.findBlock(), QStringLiteral("not found"));
    QCOMPARE(session.find("S", "", ""), QStringLiteral("not found"));
    QCOMPARE(session.find("", "C", ""), QStringLiteral("not found"));
    QCOMPARE(session.memory, FindMemory{});

    FindTree bare; // stations only, compounds only: no blocks anywhere
    bare.add("UC01", bare.add("ST01"));
    bare.add("ST02");
    FindSession bareSession{bare, {}};
    QCOMPARE(bareSession.findBlock(), QStringLiteral("not found"));
    QCOMPARE(bareSession.find("", "UC", ""), QStringLiteral("ST01/UC01"));
}

void FindWalkTest::malformedMemoryRestartsAtTop()
{
    const FindTree tree = demoPlant();
    // Paths of the wrong depth name no item at the level: the walk starts at the top.
    FindSession session{tree, {{"ST01", "UC01"}, {"ST01"}, {"ST01", "UC01"}}};
    QCOMPARE(session.findBlock(), blockPath("ST01/UC01", "AIN1", "AIN"));
    QCOMPARE(session.find("ST", "", ""), QStringLiteral("ST01"));
    QCOMPARE(session.find("", "UC", ""), QStringLiteral("ST01/UC01"));
}

namespace {

// Nodes in tree order, so a node number tells which of two items comes first.
FindTree randomPlant(std::mt19937& random)
{
    // Short names over few letters, so fragments match often; siblings get distinct names.
    const auto names = [&](int maxCount, int maxLength) {
        std::vector<std::string> result;
        const int count = std::uniform_int_distribution<int>(0, maxCount)(random);
        for (int tries = 0; static_cast<int>(result.size()) < count && tries < 50; ++tries) {
            std::string name;
            const int length = std::uniform_int_distribution<int>(1, maxLength)(random);
            for (int i = 0; i < length; ++i)
                name.push_back("AB1"[std::uniform_int_distribution<int>(0, 2)(random)]);
            if (std::find(result.begin(), result.end(), name) == result.end())
                result.push_back(name);
        }
        return result;
    };
    FindTree tree;
    for (const std::string& s : names(4, 2)) {
        const auto station = tree.add(s);
        for (const std::string& c : names(3, 2)) {
            const auto compound = tree.add(c, station);
            for (const std::string& b : names(4, 3))
                tree.add(blockLine(b, b.substr(0, 1)), compound);
        }
    }
    return tree;
}

} // namespace

void FindWalkTest::agreesWithBruteForceOnRandomTrees()
{
    std::mt19937 random(7);
    const auto fragment = [&](int maxLength) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
        for (int i = 0; i < length; ++i)
            text.push_back("AB1 "[std::uniform_int_distribution<int>(0, 3)(random)]);
        return text;
    };

    for (int round = 0; round < 400; ++round) {
        const FindTree tree = randomPlant(random);
        FindSession session{tree, {}};
        // Walk with one set of fragments part of the way, then switch to another set.
        testsupport::FindTreeItem lastFound; // per the current level
        FindLevel lastLevel = FindLevel::Block;
        for (int phase = 0; phase < 2; ++phase) {
            const std::array<std::string, 3> fragments = {fragment(1), fragment(1), fragment(2)};
            const auto level = FindLevel(reference::levelOf(fragments));
            if (level != lastLevel)
                lastFound = {}; // other levels' memories are separate; this one starts empty
            const auto matches = reference::matchesInOrder(tree, fragments);
            // Where the next Find goes: after the last match if it still passes, else the top.
            std::size_t next = 0;
            if (lastFound && passes(tree.path(lastFound), fragments)) {
                while (next < matches.size() && matches[next].item.index <= lastFound.index)
                    ++next;
            }
            const int steps = phase == 0 ? std::uniform_int_distribution<int>(0, 4)(random)
                                         : static_cast<int>(matches.size()) + 3;
            for (int step = 0; step < steps; ++step) {
                const std::string expected =
                    next < matches.size() ? joined(matches[next].path) : "not found";
                const std::string actual =
                    session.find(fragments[0], fragments[1], fragments[2]).toStdString();
                QVERIFY2(actual == expected,
                         qPrintable(QStringLiteral("round %1 phase %2 step %3: %4 instead of %5")
                                        .arg(round)
                                        .arg(phase)
                                        .arg(step)
                                        .arg(QString::fromStdString(actual),
                                             QString::fromStdString(expected))));
                lastFound =
                    next < matches.size() ? matches[next++].item : testsupport::FindTreeItem{};
                if (!lastFound)
                    next = 0;
            }
            lastLevel = level;
        }
    }
}

QTEST_GUILESS_MAIN(FindWalkTest)
#include "tst_findwalk.moc"
