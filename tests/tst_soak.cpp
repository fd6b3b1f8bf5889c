// Thousands of random operator steps on a plant that changes and fails under the program: every
// refresh shows the directory, the selection never names a deleted item, the tree store holds
// exactly the items shown, and nothing grows.
#include "dirapi/dirapi_control.h"
#include "res/resource.h"
#include "search/finddlg.h"
#include "tests/numberedname.h"
#include "tests/reference.h"
#include "tests/testsupport.h"
#include "toolkit/messagebox.h"
#include "toolkit/treectrl.h"
#include "toolkit/treestore.h"

#include <QLineEdit>
#include <QtTest>
#include <algorithm>
#include <random>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define ARBOLIX_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ARBOLIX_UNDER_ASAN 1
#endif
#endif

using namespace testsupport;
using dirapi_control::Function;
using Action = tk::TreeCtrl::ExpandAction;
using Texts = std::vector<std::string>;

namespace {

constexpr unsigned kSeed = 20240611;
constexpr int kSteps = 3000;
constexpr int kWarmUpSteps = 1000;
constexpr int32_t kMaxObj = 3; // small, so most listings take several batches
constexpr std::size_t kMaxStations = 6;
constexpr std::size_t kMaxCompounds = 4;
constexpr std::size_t kMaxBlocks = 5;
// Not checked under AddressSanitizer, whose allocator keeps freed memory in quarantine.
[[maybe_unused]] constexpr long kResidentGrowthLimit = 8L * 1024 * 1024;

struct Block
{
    std::string name;
    std::string info;
};
struct Compound
{
    std::string name;
    std::vector<Block> blocks;
};
struct Station
{
    std::string name;
    std::vector<Compound> compounds;
};

// The directory as the test knows it. Compound names are unique in the whole plant. The stations
// stay those of the first plant and always hold a compound: the tree lists stations only once,
// and a station listed empty becomes a leaf for good.
class PlantModel
{
public:
    explicit PlantModel(std::mt19937& random) : m_random(random) {}

    void regenerate()
    {
        if (m_stations.empty())
            m_stations.resize(pick(2, kMaxStations));
        for (std::size_t s = 0; s < m_stations.size(); ++s) {
            m_stations[s].name = "WP" + std::to_string(11 + s);
            newCompounds(m_stations[s]);
        }
    }

    // One edit of the kind a running plant sees: blocks or compounds come or go.
    void edit()
    {
        Station& station = m_stations[pick(0, m_stations.size() - 1)];
        switch (pick(0, 4)) {
        case 0:
            if (station.compounds.size() < kMaxCompounds)
                station.compounds.push_back(newCompound());
            break;
        case 1:
            if (station.compounds.size() > 1)
                station.compounds.erase(station.compounds.begin() +
                                        long(pick(0, station.compounds.size() - 1)));
            break;
        case 2:
        case 3:
            if (!station.compounds.empty()) {
                Compound& compound = station.compounds[pick(0, station.compounds.size() - 1)];
                compound.blocks = newBlocks();
            }
            break;
        default:
            newCompounds(station);
            break;
        }
    }

    std::string listingText() const
    {
        std::string text;
        for (const Station& station : m_stations) {
            text += station.name + "\n";
            for (const Compound& compound : station.compounds) {
                text += station.name + " " + compound.name + "\n";
                for (const Block& block : compound.blocks)
                    text += station.name + " " + compound.name + " " + block.name + " " +
                            block.info + "\n";
            }
        }
        return text;
    }

    const Station* station(std::string_view name) const
    {
        for (const Station& station : m_stations)
            if (station.name == name)
                return &station;
        return nullptr;
    }

    const Compound* compound(std::string_view name) const
    {
        for (const Station& station : m_stations)
            for (const Compound& compound : station.compounds)
                if (compound.name == name)
                    return &compound;
        return nullptr;
    }

    std::size_t pick(std::size_t low, std::size_t high)
    {
        return std::uniform_int_distribution<std::size_t>(low, high)(m_random);
    }

private:
    void newCompounds(Station& station)
    {
        station.compounds.clear();
        const std::size_t compounds = pick(1, kMaxCompounds);
        for (std::size_t c = 0; c < compounds; ++c)
            station.compounds.push_back(newCompound());
    }

    Compound newCompound()
    {
        // The serial keeps compound names unique across regenerations too.
        return Compound{"UC" + std::to_string(++m_compoundSerial), newBlocks()};
    }

    std::vector<Block> newBlocks()
    {
        static const char* const kInfos[] = {"AIN", "AOUT", "PIDA", "CALC", "DOUT", "X"};
        std::vector<Block> blocks;
        const std::size_t count = pick(0, kMaxBlocks);
        for (std::size_t b = 0; b < count; ++b) {
            // Now and then a name that fills its twelve characters.
            std::string name = pick(0, 5) == 0 ? numbered("LONGBLOCK", 100 + b)
                                               : numbered("B", b, numbered("X", pick(0, 9)));
            blocks.push_back(Block{std::move(name), kInfos[pick(0, 5)]});
        }
        return blocks;
    }

    std::mt19937& m_random;
    std::vector<Station> m_stations;
    int m_compoundSerial = 0;
};

struct StoreUse
{
    std::size_t nodeSlots = 0;
    std::size_t arenaCapacity = 0;
};

long residentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    long size = 0;
    long resident = -1;
    if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
        resident = -1;
    std::fclose(statm);
    return resident < 0 ? -1 : resident * ::sysconf(_SC_PAGESIZE);
}

bool isLive(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    return tree.store().node(item) != tk::TreeStore::kNone;
}

int levelOf(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    int level = 0;
    for (tk::TreeItem parent = tree.parentItem(item); parent; parent = tree.parentItem(parent))
        ++level;
    return level;
}

bool isPrefix(const Texts& shown, const Texts& listed)
{
    return shown.size() <= listed.size() && std::equal(shown.begin(), shown.end(), listed.begin());
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        tk::MessageBox::setRecorderForTests(nullptr);
        dirapi_control::reset();
    }

    void randomOperatorStepsKeepTreeTrueToDirectoryAndStoreExact();

private:
    // The whole soak; a failed check returns early with m_failure saying where.
    void run();
    void step();
    void expandOrCollapse(bool expand);
    void selectAnyItem();
    void clickVisibleItem();
    void doubleClickVisibleItem();
    void find();
    void changePlant();
    void armFailure();
    void disarmFailures();
    void checkRefreshed(tk::TreeItem item, tk::TreeCtrl::ExpandAction action);
    void checkInvariants();
    void fail(const std::string& what);
    std::vector<tk::TreeItem> allItems(bool visibleOnly) const;
    // One of allItems(visibleOnly) at random, the action on it told to the failure report; null
    // when there is none.
    tk::TreeItem pickItem(bool visibleOnly, const char* action);
    tk::TreeCtrl& tree() const { return m_window->tree(); }

    std::mt19937 m_random{kSeed};
    PlantModel m_plant{m_random};
    std::unique_ptr<MainWindow> m_window;
    int m_step = 0;
    std::string m_failure;
    std::string m_lastAction;

    std::array<int, 5> m_callNumbers{};
    std::vector<std::pair<Function, int>> m_armed; // function and the call number that fails
    bool m_failureFired = false;
    int m_refreshesChecked = 0;
    int m_failedRefreshes = 0;
    int m_matches = 0;
    int m_messages = 0;
    std::size_t m_peakLive = 0;
    StoreUse m_afterWarmUp;
    StoreUse m_peakLater;
    long m_residentAfterWarmUp = -1;
};

void TestSoak::randomOperatorStepsKeepTreeTrueToDirectoryAndStoreExact()
{
    run();
    QVERIFY2(m_failure.empty(), m_failure.c_str());
    qInfo("%d refreshes checked (%d with a failed call), %d matches, %d messages, %zu commands",
          m_refreshesChecked, m_failedRefreshes, m_matches, m_messages,
          m_window->launcher.started.size());
    // The steps reached what they are meant to exercise.
    QVERIFY(m_refreshesChecked > kSteps / 10);
    QVERIFY(m_failedRefreshes > 0);
    QVERIFY(m_matches > 0);
    QVERIFY(m_messages > 0);
    QVERIFY(!m_window->launcher.started.empty());
}

void TestSoak::run()
{
    tk::MessageBox::setRecorderForTests([this](const tk::MessageBoxRecord&) { ++m_messages; });
    m_plant.regenerate();
    m_window = openMainWindow(m_plant.listingText(), kMaxObj);
    if (!m_window->dlg->isPopulated())
        return fail("the main window was not populated");
    m_window->dlg->resize(420, 360);
    disarmFailures();
    // Connected after the window's own handler, so it runs once the refresh is done.
    connect(&tree(), &tk::TreeCtrl::itemExpanding, this,
            [this](tk::TreeItem item, tk::TreeCtrl::ExpandAction action) {
                checkRefreshed(item, action);
            });

    for (m_step = 1; m_step <= kSteps && m_failure.empty(); ++m_step) {
        m_failureFired = false;
        step();
        // A failure armed for a call that did not come would hit a later, unrelated call.
        if (!m_armed.empty())
            disarmFailures();
        checkInvariants();
        if (m_step == kWarmUpSteps) {
            m_afterWarmUp = {tree().store().nodeSlots(), tree().store().arenaCapacity()};
            m_residentAfterWarmUp = residentBytes();
        }
    }
    if (!m_failure.empty())
        return;

    if (m_peakLater.nodeSlots > m_afterWarmUp.nodeSlots + kMaxStations * kMaxCompounds)
        return fail("node slots grew from " + std::to_string(m_afterWarmUp.nodeSlots) + " to " +
                    std::to_string(m_peakLater.nodeSlots));
    if (m_peakLater.arenaCapacity > 2 * m_afterWarmUp.arenaCapacity + 4096)
        return fail("text arena grew from " + std::to_string(m_afterWarmUp.arenaCapacity) + " to " +
                    std::to_string(m_peakLater.arenaCapacity) + " bytes");
#ifndef ARBOLIX_UNDER_ASAN
    const long resident = residentBytes();
    if (m_residentAfterWarmUp > 0 && resident > m_residentAfterWarmUp + kResidentGrowthLimit)
        return fail("resident memory grew from " + std::to_string(m_residentAfterWarmUp) + " to " +
                    std::to_string(resident) + " bytes");
#endif
}

void TestSoak::step()
{
    const std::size_t roll = m_plant.pick(0, 99);

    if (roll < 10)
        changePlant();
    if (m_plant.pick(0, 3) == 0)
        armFailure();
    if (roll < 35)
        expandOrCollapse(true);
    else if (roll < 50)
        expandOrCollapse(false);
    else if (roll < 62)
        selectAnyItem();
    else if (roll < 72)
        clickVisibleItem();
    else if (roll < 87)
        find();
    else
        doubleClickVisibleItem();
}

void TestSoak::expandOrCollapse(bool expand)
{

    std::vector<tk::TreeItem> candidates;
    for (tk::TreeItem item : allItems(true)) {
        if (tree().itemHasChildren(item) && tree().isItemExpanded(item) != expand)
            candidates.push_back(item);
    }
    if (candidates.empty()) {
        // Everything open (or closed): the other way round, so the steps keep moving.
        for (tk::TreeItem item : allItems(true)) {
            if (tree().itemHasChildren(item) && tree().isItemExpanded(item) == expand)
                candidates.push_back(item);
        }
        if (candidates.empty())
            return;
        expand = !expand;
    }
    const tk::TreeItem item = candidates[m_plant.pick(0, candidates.size() - 1)];
    m_lastAction =
        std::string(expand ? "expand " : "collapse ") + std::string(tree().itemText(item));
    const int before = m_refreshesChecked;
    tree().expandItem(item, expand ? Action::Expand : Action::Collapse);
    if (expand && m_refreshesChecked == before)
        fail("expanding gave no refresh");
}

void TestSoak::selectAnyItem()
{
    // Also items inside collapsed branches: their ancestors are expanded, and so refreshed,
    // on the way, which may take the item itself away.
    const tk::TreeItem item = pickItem(false, "select");
    if (!item)
        return;
    const bool selected = tree().selectItem(item);
    if (selected && tree().selectedItem() != item)
        fail("a successful select left another item selected");
    if (!selected && isLive(tree(), item) && tree().selectedItem() == item)
        fail("a failed select selected the item");
}

void TestSoak::clickVisibleItem()
{
    const tk::TreeItem item = pickItem(true, "click");
    if (!item)
        return;
    click(tree(), item);
    if (m_window->dlg->m_hSelected != item)
        fail("a click did not select the item");
}

void TestSoak::doubleClickVisibleItem()
{
    const tk::TreeItem item = pickItem(true, "double-click");
    if (!item)
        return;
    const int level = levelOf(tree(), item);
    const std::string line(tree().itemText(item));
    const std::string expected =
        level == 2   ? reference::displayRequest(tree().itemText(tree().parentItem(item)),
                                                 line.substr(0, line.find(' ')))
        : level == 1 ? reference::displayRequest(line)
                     : std::string();
    auto& started = m_window->launcher.started;
    const std::size_t before = started.size();
    doubleClick(tree(), item);
    if (expected.empty()) {
        if (started.size() != before)
            fail("a double-click on a station started a command");
    } else if (started.size() != before + 1 || started.back().empty() ||
               started.back().back() != expected) {
        fail("a double-click did not start '" + expected + "' once");
    }
}

void TestSoak::find()
{
    CArbolixDlg& main = *m_window->dlg;
    if (!main.m_pFindDlg)
        main.OnFind();
    CFindDlg* findDlg = main.m_pFindDlg;
    if (!findDlg)
        return fail("Find... gave no Find window");

    // Mostly pieces of the texts of one item and its ancestors, so that searches match; now and
    // then fragments from anywhere, so that they do not.
    static const char* const kFragments[] = {"", "1", "WP1", "UC", "B1", "LONG", "AIN", "ZZ"};
    std::array<std::string, 3> fragments; // station, compound, block
    const std::vector<tk::TreeItem> items = allItems(false);
    if (items.empty() || m_plant.pick(0, 3) == 0) {
        for (std::string& fragment : fragments)
            fragment = kFragments[m_plant.pick(0, std::size(kFragments) - 1)];
    } else {
        tk::TreeItem item = items[m_plant.pick(0, items.size() - 1)];
        for (int level = levelOf(tree(), item); item; item = tree().parentItem(item), --level) {
            const std::string_view text = tree().itemText(item);
            const std::size_t from = m_plant.pick(0, text.size());
            const std::size_t length =
                m_plant.pick(0, std::min<std::size_t>(text.size() - from, 4));
            fragments[std::size_t(level)] = std::string(text.substr(from, length));
        }
    }
    const int ids[] = {res::IDC_STATION, res::IDC_COMPOUND, res::IDC_BLOCK};
    for (int i = 0; i < 3; ++i) {
        if (auto* field = qobject_cast<QLineEdit*>(findDlg->control(ids[i])))
            field->setText(QString::fromStdString(fragments[std::size_t(i)]));
    }
    m_lastAction = "find '" + fragments[0] + "' '" + fragments[1] + "' '" + fragments[2] + "'";

    dirapi_control::clearCalls();
    const int messagesBefore = m_messages;
    findDlg->FindNext();
    if (!dirapi_control::calls().empty())
        return fail("a search called the directory");
    if (main.m_bSearching)
        return fail("the search left m_bSearching set");
    if (m_messages != messagesBefore)
        return;

    // The match passes the fragments at the level they choose.
    const tk::TreeItem match = tree().selectedItem();
    if (!match || levelOf(tree(), match) != int(reference::levelOf(fragments)))
        return fail("the match is not at the level the fragments choose");
    reference::Path path;
    for (tk::TreeItem item = match; item; item = tree().parentItem(item))
        path.emplace(path.begin(), tree().itemText(item));
    if (!reference::passes(path, fragments))
        return fail("the match does not pass the fragments");
    ++m_matches;
    // Now and then Close, so the next search opens a fresh window.
    if (m_plant.pick(0, 9) == 0) {
        findDlg->OnCloseButton();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void TestSoak::changePlant()
{
    if (m_plant.pick(0, 9) == 0)
        m_plant.regenerate();
    else
        m_plant.edit();
    if (dirapi_control::loadPlant(m_plant.listingText()) != 0)
        fail("the generated plant has rejected lines");
}

void TestSoak::armFailure()
{
    const Function function = m_plant.pick(0, 1) == 0 ? Function::AllCmp : Function::AllBlk;
    const int k = int(m_plant.pick(1, 4));
    dirapi_control::failCall(function, k);
    m_armed.emplace_back(function, m_callNumbers[std::size_t(function)] + k);
}

void TestSoak::disarmFailures()
{
    dirapi_control::reset();
    if (dirapi_control::loadPlant(m_plant.listingText()) != 0)
        fail("the generated plant has rejected lines");
    dirapi_control::setMaxObj(kMaxObj);
    m_armed.clear();
    m_callNumbers = {};
    dirapi_control::setBeforeCall([this](Function function, int number) {
        m_callNumbers[std::size_t(function)] = number;
        const auto armed = std::find(m_armed.begin(), m_armed.end(), std::pair(function, number));
        if (armed != m_armed.end()) {
            m_armed.erase(armed);
            m_failureFired = true;
        }
    });
}

// The branch just refreshed is the directory's, or, when a call failed, what the directory
// delivered before the failure.
void TestSoak::checkRefreshed(tk::TreeItem item, tk::TreeCtrl::ExpandAction action)
{
    if (action != Action::Expand || m_window->dlg->m_bSearching || !m_failure.empty())
        return;
    const bool failed = m_failureFired;
    m_failureFired = false;
    ++m_refreshesChecked;
    if (failed)
        ++m_failedRefreshes;
    auto matches = [failed](const Texts& shown, const Texts& listed) {
        return failed ? isPrefix(shown, listed) : shown == listed;
    };
    auto blockLines = [](const Compound* compound) {
        Texts lines;
        if (compound)
            for (const Block& block : compound->blocks)
                lines.push_back(reference::blockLine(block.name, block.info));
        return lines;
    };

    const std::string name(tree().itemText(item));
    if (tree().parentItem(item)) {
        if (!matches(childTexts(tree(), item), blockLines(m_plant.compound(name))))
            fail("compound " + name + " does not show its blocks");
        return;
    }
    const Station* station = m_plant.station(name);
    Texts compounds;
    if (station)
        for (const Compound& compound : station->compounds)
            compounds.push_back(compound.name);
    const Texts shown = childTexts(tree(), item);
    if (!matches(shown, compounds))
        return fail("station " + name + " does not show its compounds");
    for (tk::TreeItem child = tree().childItem(item); child;
         child = tree().nextSiblingItem(child)) {
        const Compound* compound = m_plant.compound(tree().itemText(child));
        if (!matches(childTexts(tree(), child), blockLines(compound)))
            return fail("compound " + std::string(tree().itemText(child)) + " of station " + name +
                        " does not show its blocks");
        if (tree().isItemExpanded(child))
            return fail("a refreshed station shows a compound open");
    }
}

void TestSoak::checkInvariants()
{
    if (!m_failure.empty())
        return;
    const tk::TreeCtrl& t = tree();
    const tk::TreeItem selected = m_window->dlg->m_hSelected;
    if (selected && !isLive(t, selected))
        return fail("m_hSelected names a deleted item");
    if (selected != t.selectedItem())
        return fail("m_hSelected is not the tree's selected item");

    std::size_t items = 0;
    std::size_t bytes = 0;
    for (tk::TreeItem item : allItems(false)) {
        ++items;
        bytes += t.itemText(item).size();
    }
    const tk::TreeStore& store = t.store();
    if (store.liveItemCount() != items || store.liveTextBytes() != bytes)
        return fail("the store holds " + std::to_string(store.liveItemCount()) + " items of " +
                    std::to_string(store.liveTextBytes()) + " bytes, the tree " +
                    std::to_string(items) + " of " + std::to_string(bytes));
    m_peakLive = std::max(m_peakLive, items);
    // Deleted slots are reused before new ones are taken; the root has one of its own.
    if (store.nodeSlots() > m_peakLive + 1)
        return fail("the store took " + std::to_string(store.nodeSlots()) +
                    " node slots for at most " + std::to_string(m_peakLive) + " items");
    // Dead text is compacted away once it outgrows the live text and the slots by a margin.
    if (store.arenaBytes() > 2 * bytes + store.nodeSlots() + 4096)
        return fail("the arena keeps " + std::to_string(store.arenaBytes()) + " bytes for " +
                    std::to_string(bytes) + " live");
    if (m_step > kSteps - kWarmUpSteps) {
        m_peakLater.nodeSlots = std::max(m_peakLater.nodeSlots, store.nodeSlots());
        m_peakLater.arenaCapacity = std::max(m_peakLater.arenaCapacity, store.arenaCapacity());
    }
}

void TestSoak::fail(const std::string& what)
{
    if (m_failure.empty())
        m_failure = "seed " + std::to_string(kSeed) + ", step " + std::to_string(m_step) + " (" +
                    m_lastAction + "): " + what + "\n" +
                    (m_window ? dumpTree(tree()) : std::string());
}

std::vector<tk::TreeItem> TestSoak::allItems(bool visibleOnly) const
{
    std::vector<tk::TreeItem> items;
    std::vector<tk::TreeItem> pending;
    for (tk::TreeItem root = tree().rootItem(); root; root = tree().nextSiblingItem(root))
        pending.push_back(root);
    while (!pending.empty()) {
        const tk::TreeItem item = pending.back();
        pending.pop_back();
        items.push_back(item);
        if (visibleOnly && !tree().isItemExpanded(item))
            continue;
        for (tk::TreeItem child = tree().childItem(item); child;
             child = tree().nextSiblingItem(child))
            pending.push_back(child);
    }
    return items;
}

tk::TreeItem TestSoak::pickItem(bool visibleOnly, const char* action)
{
    const std::vector<tk::TreeItem> items = allItems(visibleOnly);
    if (items.empty())
        return {};
    const tk::TreeItem item = items[m_plant.pick(0, items.size() - 1)];
    m_lastAction = action + (" " + std::string(tree().itemText(item)));
    return item;
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
