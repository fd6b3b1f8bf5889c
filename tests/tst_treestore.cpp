// The compact item store: links, counts, positions, byte-exact texts, handles and capacity.
#include "tests/numberedname.h"
#include "toolkit/treestore.h"

#include <QtTest>
#include <random>
#include <string>
#include <vector>

using tk::TreeItem;
using tk::TreeStore;
using NodeId = TreeStore::NodeId;

namespace {

// The obvious tree the store must agree with.
struct ReferenceTree
{
    struct Entry
    {
        TreeItem handle;
        std::string text;
        int parent = -1;
        std::vector<int> children;
        bool alive = true;
    };
    std::vector<Entry> entries;
    std::vector<int> roots;

    std::vector<int>& childrenOf(int parent)
    {
        return parent < 0 ? roots : entries[size_t(parent)].children;
    }
    void kill(int entry)
    {
        entries[size_t(entry)].alive = false;
        for (int child : entries[size_t(entry)].children)
            kill(child);
    }
};

std::string randomText(std::mt19937& random)
{
    // Embedded NULs, invalid UTF-8 and valid multi-byte sequences alike.
    static const std::vector<std::string> pieces = {
        "A", "B", "12", " ", std::string(1, '\0'), "\xff", "\xe4\xb8\xad", "\xc3", "\x81"};
    std::string text;
    const int length = int(random() % 8);
    for (int i = 0; i < length; ++i)
        text += pieces[random() % pieces.size()];
    return text;
}

// Compares the children of one parent in the store with the reference, recursively.
void compareChildren(TreeStore& store, ReferenceTree& reference, NodeId parentNode, int parent)
{
    const std::vector<int>& expected = reference.childrenOf(parent);
    QCOMPARE(store.childCount(parentNode), uint32_t(expected.size()));
    NodeId node = store.firstChild(parentNode);
    NodeId previous = TreeStore::kNone;
    for (size_t i = 0; i < expected.size(); ++i) {
        const ReferenceTree::Entry& entry = reference.entries[size_t(expected[i])];
        QVERIFY(node != TreeStore::kNone);
        QCOMPARE(store.node(entry.handle), node);
        QCOMPARE(store.parent(node), parentNode);
        QCOMPARE(store.previousSibling(node), previous);
        QCOMPARE(store.row(node), uint32_t(i));
        QVERIFY(store.text(node) == entry.text);
        compareChildren(store, reference, node, expected[i]);
        previous = node;
        node = store.nextSibling(node);
    }
    QCOMPARE(node, TreeStore::kNone);
    QCOMPARE(store.lastChild(parentNode), previous);
}

} // namespace

class TreeStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void randomInsertsAndDeletesMatchAReferenceTree();
    void deepChainIsDeletedWithoutRecursion();
    void staleHandlesNeverNameAReusedSlot();
    void leavesRefuseChildrenAndBadParentsAreRejected();
    void textTakenFromTheStoreItselfIsCopiedIntact();
    void repeatedRefreshCyclesDoNotGrowTheArenaOrNodes();
    void exhaustedCapacityGivesNoItemAndChangesNothing();
    void fullArenaIsCompactedBeforeAnInsertFails();
    void textsSurviveTheCompactionsThatRefreshCyclesTrigger();
};

void TreeStoreTest::randomInsertsAndDeletesMatchAReferenceTree()
{
    TreeStore store;
    ReferenceTree reference;
    std::mt19937 random(20240611);
    std::vector<TreeItem> deleted;

    for (int step = 0; step < 6000; ++step) {
        std::vector<int> alive;
        for (size_t i = 0; i < reference.entries.size(); ++i) {
            if (reference.entries[i].alive)
                alive.push_back(int(i));
        }
        if (alive.empty() || random() % 100 < 70) {
            const int parent =
                alive.empty() || random() % 10 == 0 ? -1 : alive[random() % alive.size()];
            const std::string text = randomText(random);
            const NodeId parentNode = parent < 0
                                          ? TreeStore::kRoot
                                          : store.node(reference.entries[size_t(parent)].handle);
            const NodeId node = store.insert(parentNode, text);
            QVERIFY(node != TreeStore::kNone);
            reference.entries.push_back({store.item(node), text, parent, {}, true});
            reference.childrenOf(parent).push_back(int(reference.entries.size() - 1));
        } else {
            const int victim = alive[random() % alive.size()];
            std::vector<int>& siblings =
                reference.childrenOf(reference.entries[size_t(victim)].parent);
            siblings.erase(std::find(siblings.begin(), siblings.end(), victim));
            const size_t before = store.liveItemCount();
            const TreeItem handle = reference.entries[size_t(victim)].handle;
            const size_t removed = store.remove(store.node(handle));
            reference.kill(victim);
            QCOMPARE(before - store.liveItemCount(), removed);
            deleted.push_back(handle);
        }
        if (step % 500 == 0 || step == 5999) {
            compareChildren(store, reference, TreeStore::kRoot, -1);
            if (QTest::currentTestFailed())
                return;
            size_t liveItems = 0;
            size_t liveBytes = 0;
            for (const ReferenceTree::Entry& entry : reference.entries) {
                liveItems += entry.alive ? 1 : 0;
                liveBytes += entry.alive ? entry.text.size() : 0;
            }
            QCOMPARE(store.liveItemCount(), liveItems);
            QCOMPARE(store.liveTextBytes(), liveBytes);
            for (const TreeItem handle : deleted)
                QCOMPARE(store.node(handle), TreeStore::kNone);
        }
    }
}

void TreeStoreTest::deepChainIsDeletedWithoutRecursion()
{
    TreeStore store;
    NodeId top = store.insert(TreeStore::kRoot, "top");
    NodeId node = top;
    for (int depth = 0; depth < 200000; ++depth)
        node = store.insert(node, "x");
    const NodeId bottom = node;
    QVERIFY(store.isAncestorOrSelf(top, bottom));
    QCOMPARE(store.remove(top), size_t(200001));
    QCOMPARE(store.liveItemCount(), size_t(0));
    QCOMPARE(store.firstChild(TreeStore::kRoot), TreeStore::kNone);
}

void TreeStoreTest::staleHandlesNeverNameAReusedSlot()
{
    TreeStore store;
    const NodeId first = store.insert(TreeStore::kRoot, "old");
    const TreeItem oldHandle = store.item(first);
    store.insert(first, "child");
    store.remove(first);

    const NodeId reused = store.insert(TreeStore::kRoot, "new");
    const TreeItem newHandle = store.item(reused);
    QVERIFY(oldHandle != newHandle);
    QCOMPARE(store.node(oldHandle), TreeStore::kNone);
    QCOMPARE(store.node(newHandle), reused);
    QVERIFY(store.text(store.node(oldHandle)).empty());
    QCOMPARE(store.childCount(reused), 0u);
    QVERIFY(store.item(TreeStore::kRoot).isNull());
    QVERIFY(store.item(TreeStore::kNone).isNull());
    QCOMPARE(store.node(TreeItem()), TreeStore::kNone);
}

void TreeStoreTest::leavesRefuseChildrenAndBadParentsAreRejected()
{
    TreeStore store;
    const NodeId leaf = store.insert(TreeStore::kRoot, "AIN1         AIN", true);
    QVERIFY(store.isLeaf(leaf));
    QCOMPARE(store.insert(leaf, "child"), TreeStore::kNone);
    QCOMPARE(store.insert(TreeStore::kNone, "x"), TreeStore::kNone);
    QCOMPARE(store.insert(12345, "x"), TreeStore::kNone);
    const NodeId gone = store.insert(TreeStore::kRoot, "gone");
    store.remove(gone);
    QCOMPARE(store.insert(gone, "x"), TreeStore::kNone);
    QCOMPARE(store.remove(gone), size_t(0));
    QCOMPARE(store.remove(TreeStore::kRoot), size_t(0));
    QCOMPARE(store.liveItemCount(), size_t(1));
}

void TreeStoreTest::textTakenFromTheStoreItselfIsCopiedIntact()
{
    TreeStore store;
    const std::string original(1000, 'q');
    NodeId node = store.insert(TreeStore::kRoot, original);
    // Each copy doubles the arena past its capacity at some point.
    for (int i = 0; i < 40; ++i)
        node = store.insert(TreeStore::kRoot, store.text(node));
    QCOMPARE(std::string(store.text(node)), original);
}

void TreeStoreTest::repeatedRefreshCyclesDoNotGrowTheArenaOrNodes()
{
    TreeStore store;
    const NodeId station = store.insert(TreeStore::kRoot, "STAT01");
    auto refill = [&] {
        while (store.firstChild(station) != TreeStore::kNone)
            store.remove(store.firstChild(station));
        for (int c = 0; c < 20; ++c) {
            const NodeId compound = store.insert(station, "COMPOUND_" + std::to_string(c));
            for (int b = 0; b < 50; ++b)
                store.insert(compound, "BLOCK" + std::to_string(b) + "        INFO", true);
        }
    };
    refill();
    const size_t liveBytes = store.liveTextBytes();
    const size_t liveItems = store.liveItemCount();
    const size_t nodeSlots = store.nodeSlots();
    size_t largestArena = 0;
    for (int cycle = 0; cycle < 300; ++cycle) {
        refill();
        largestArena = std::max(largestArena, store.arenaCapacity());
        QCOMPARE(store.nodeSlots(), nodeSlots);
    }
    QCOMPARE(store.liveTextBytes(), liveBytes);
    QCOMPARE(store.liveItemCount(), liveItems);
    // 300 cycles wrote 300 times the live text; the arena holds a small multiple of it.
    QVERIFY2(largestArena <= 4 * (liveBytes + liveItems) + 16384,
             qPrintable(QString::number(largestArena)));
}

void TreeStoreTest::exhaustedCapacityGivesNoItemAndChangesNothing()
{
    TreeStore store(4, 1000); // the root and three items
    const NodeId a = store.insert(TreeStore::kRoot, "a");
    store.insert(a, "b");
    store.insert(a, "c");
    QCOMPARE(store.nodeSlots(), size_t(4));
    QVERIFY(!store.canInsert(a, 1));
    QCOMPARE(store.insert(a, "d"), TreeStore::kNone);
    QCOMPARE(store.childCount(a), 2u);
    QCOMPARE(store.liveItemCount(), size_t(3));

    QVERIFY(!store.canInsert(TreeStore::kRoot, TreeStore::kMaxTextLength + 1));
    store.remove(store.lastChild(a)); // frees a slot
    QVERIFY(store.insert(a, "d") != TreeStore::kNone);
}

void TreeStoreTest::fullArenaIsCompactedBeforeAnInsertFails()
{
    TreeStore store(100, 64);
    const NodeId keep = store.insert(TreeStore::kRoot, std::string(30, 'k'));
    const NodeId drop = store.insert(TreeStore::kRoot, std::string(30, 'd'));
    QCOMPARE(store.insert(TreeStore::kRoot, std::string(10, 'x')), TreeStore::kNone);
    store.remove(drop);
    // Only 30 live bytes, but 60 in the arena: the insert must reclaim the dead ones.
    const NodeId fresh = store.insert(TreeStore::kRoot, std::string(34, 'f'));
    QVERIFY(fresh != TreeStore::kNone);
    QCOMPARE(std::string(store.text(keep)), std::string(30, 'k'));
    QCOMPARE(std::string(store.text(fresh)), std::string(34, 'f'));
    QVERIFY(store.arenaBytes() <= 64);
    QCOMPARE(store.insert(TreeStore::kRoot, "y"), TreeStore::kNone);

    // An item's own text inserted again while the compaction frees the bytes it is read from.
    TreeStore again(100, 64);
    again.remove(again.insert(TreeStore::kRoot, std::string(30, 'd')));
    const NodeId original = again.insert(TreeStore::kRoot, std::string(30, 'o'));
    const NodeId copy = again.insert(TreeStore::kRoot, again.text(original));
    QVERIFY(copy != TreeStore::kNone);
    QCOMPARE(std::string(again.text(copy)), std::string(30, 'o'));
}

namespace {

// A station as the directory lists it in one refresh: its compounds, each with block lines.
struct ListedStation
{
    std::string name;
    std::vector<std::pair<std::string, std::vector<std::string>>> compounds;
};

ListedStation listing(int station, int cycle)
{
    // Counts and lengths change from cycle to cycle, so freed slots and dead text are reused
    // unevenly and new slots are appended at the end now and then.
    ListedStation listed{"ST" + std::to_string(station), {}};
    const int compounds = 2 + (cycle * 7 + station) % 5;
    for (int c = 0; c < compounds; ++c) {
        std::vector<std::string> blocks;
        const int count = 1 + (cycle * 3 + c) % 9;
        for (int b = 0; b < count; ++b)
            blocks.push_back(testsupport::numbered("B", b, "_") + std::to_string(cycle) +
                             std::string(size_t(1 + (b + cycle) % 7), ' ') + "INFO");
        listed.compounds.emplace_back(testsupport::numbered("C", c, "_") + std::to_string(cycle),
                                      std::move(blocks));
    }
    return listed;
}

std::string dump(const TreeStore& store, NodeId parent = TreeStore::kRoot, int depth = 0)
{
    std::string out;
    for (NodeId n = store.firstChild(parent); n != TreeStore::kNone; n = store.nextSibling(n)) {
        out += std::string(size_t(depth), '.') + std::string(store.text(n)) + '\n';
        out += dump(store, n, depth + 1);
    }
    return out;
}

std::string dump(const std::vector<ListedStation>& stations)
{
    std::string out;
    for (const ListedStation& s : stations) {
        out += s.name + '\n';
        for (const auto& [compound, blocks] : s.compounds) {
            out += "." + compound + '\n';
            for (const std::string& block : blocks)
                out += ".." + block + '\n';
        }
    }
    return out;
}

} // namespace

void TreeStoreTest::textsSurviveTheCompactionsThatRefreshCyclesTrigger()
{
    TreeStore store;
    std::vector<ListedStation> shown;
    std::vector<NodeId> stationNodes;
    auto insertChildren = [&](NodeId stationNode, const ListedStation& listed) {
        for (const auto& [compound, blocks] : listed.compounds) {
            const NodeId c = store.insert(stationNode, compound);
            for (const std::string& block : blocks)
                store.insert(c, block, true);
        }
    };
    for (int s = 0; s < 4; ++s) {
        shown.push_back(listing(s, 0));
        stationNodes.push_back(store.insert(TreeStore::kRoot, shown.back().name));
        insertChildren(stationNodes.back(), shown.back());
    }

    int compactions = 0;
    int compactionsWithTheLastSlotLive = 0;
    for (int cycle = 1; cycle < 400; ++cycle) {
        // A refresh: the station's children go one by one, then the new listing is appended.
        const int s = cycle % 3; // the last station is never refreshed
        while (store.firstChild(stationNodes[size_t(s)]) != TreeStore::kNone) {
            const size_t arenaBefore = store.arenaBytes();
            store.remove(store.firstChild(stationNodes[size_t(s)]));
            if (store.arenaBytes() < arenaBefore) {
                ++compactions;
                compactionsWithTheLastSlotLive += store.isItem(NodeId(store.nodeSlots() - 1));
            }
        }
        shown[size_t(s)] = listing(s, cycle);
        insertChildren(stationNodes[size_t(s)], shown[size_t(s)]);
        QCOMPARE(dump(store), dump(shown));
    }
    QVERIFY(compactions >= 3);
    QVERIFY(compactionsWithTheLastSlotLive >= 1);
}

QTEST_APPLESS_MAIN(TreeStoreTest)
#include "tst_treestore.moc"
