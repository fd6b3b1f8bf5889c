// Expanding a station or a compound lists it afresh from the directory.
#include "dirapi/dirapi_control.h"
#include "tests/accessibleevents.h"
#include "tests/branchpixels.h"
#include "tests/numberedname.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"
#include "toolkit/treestore.h"

#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <thread>

using namespace testsupport;
using dirapi_control::Function;
using Action = tk::TreeCtrl::ExpandAction;
using Texts = std::vector<std::string>;

namespace {

// Each row of the tree as a screen reader reads it: name, then description.
QStringList spokenRows(tk::TreeCtrl& tree)
{
    QStringList rows;
    QCoreApplication::processEvents(); // the view lays its rows out
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&tree);
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        QAccessibleInterface* row = iface->child(i);
        rows << row->text(QAccessible::Name) + " | " + row->text(QAccessible::Description);
    }
    return rows;
}

const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC01 PIDA1 PIDA\n"
                           "WP01 UC02 DOUT1 DOUT\n"
                           "WP02 UC03 CALC1 CALC\n";

std::vector<std::pair<Function, std::string>> listingCalls()
{
    std::vector<std::pair<Function, std::string>> calls;
    for (const auto& call : dirapi_control::calls()) {
        if (call.function == Function::AllSta || call.function == Function::AllCmp ||
            call.function == Function::AllBlk)
            calls.emplace_back(call.function, call.name);
    }
    return calls;
}

} // namespace

class TestRefresh : public MainWindowSuite
{
    Q_OBJECT
private slots:
    void everyExpansionReplacesChildrenWithCurrentListing()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});

        dirapi_control::clearCalls();
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QCOMPARE(listingCalls(),
                 (std::vector<std::pair<Function, std::string>>{{Function::AllCmp, "WP01"},
                                                                {Function::AllBlk, "UC01"},
                                                                {Function::AllBlk, "UC02"}}));
        QCOMPARE(childTexts(tree, wp01), (Texts{"UC01", "UC02"}));

        // The directory changes while the branch is open; the next expansion shows the change.
        dirapi_control::loadPlant("WP01 UC02 DOUT1 DOUT\n"
                                  "WP01 UC02 DOUT2 DOUT\n"
                                  "WP01 UC09 AIN7 AIN\n"
                                  "WP02 UC03 CALC1 CALC\n");
        QVERIFY(tree.expandItem(wp01, Action::Collapse));
        QCOMPARE(childTexts(tree, wp01), (Texts{"UC01", "UC02"})); // collapse changes nothing
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QCOMPARE(childTexts(tree, wp01), (Texts{"UC02", "UC09"}));
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01", "UC02"})),
                 (Texts{"DOUT1        DOUT", "DOUT2        DOUT"}));
        QCOMPARE(tree.model()->rowCount(tree.indexOf(wp01)), 2);
    }

    void compoundExpansionListsItsBlocks()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        dirapi_control::loadPlant("WP01 UC01 AIN1 AIN\nWP01 UC01 AIN2 AIN\n");
        dirapi_control::clearCalls();
        const tk::TreeItem uc01 = expandPath(tree, {"WP01", "UC01"});
        QCOMPARE(listingCalls(),
                 (std::vector<std::pair<Function, std::string>>{{Function::AllBlk, "UC01"}}));
        QCOMPARE(childTexts(tree, uc01), (Texts{"AIN1         AIN", "AIN2         AIN"}));
    }

    void collapseAndSearchingExpansionMakeNoDirectoryCall()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = expandPath(tree, {"WP01"});
        dirapi_control::clearCalls();
        tree.expandItem(wp01, Action::Collapse);
        QVERIFY(listingCalls().empty());

        dirapi_control::loadPlant("WP01 OTHER\n");
        w->dlg->m_bSearching = true;
        tree.expandItem(wp01, Action::Expand);
        expandPath(tree, {"WP01", "UC01"});
        w->dlg->m_bSearching = false;
        QVERIFY(listingCalls().empty());
        QVERIFY(tree.isItemExpanded(wp01));
        QCOMPARE(childTexts(tree, wp01), (Texts{"UC01", "UC02"}));
    }

    void expandedStationShowsItsCompoundsClosed()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = expandPath(tree, {"WP01"});
        expandPath(tree, {"WP01", "UC01"});
        tree.expandItem(wp01, Action::Collapse);
        tree.expandItem(wp01, Action::Expand);
        for (tk::TreeItem c = tree.childItem(wp01); c; c = tree.nextSiblingItem(c))
            QVERIFY(!tree.isItemExpanded(c));
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01", "UC01"})).size(), std::size_t(2));
    }

    void unknownCompoundLosesItsBlocks()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        dirapi_control::loadPlant("WP01 UC02 DOUT1 DOUT\n");
        const tk::TreeItem uc01 = expandPath(tree, {"WP01", "UC01"});
        QVERIFY(childTexts(tree, uc01).empty());
    }

    void failedBlockListingKeepsEarlierBlocksAndGoesOn()
    {
        std::string plant;
        for (int i = 1; i <= 5; ++i)
            plant += "WP01 UC01 B" + std::to_string(i) + " AIN\n";
        plant += "WP01 UC02 DOUT1 DOUT\n";
        auto w = openMainWindow(plant, 2);
        tk::TreeCtrl& tree = w->tree();
        // The station's refresh: cmp, blk UC01 (2 blocks), blk UC01 again (fails), blk UC02.
        dirapi_control::clearCalls();
        int blockCalls = 0;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (f == Function::AllBlk && ++blockCalls == 2)
                dirapi_control::failCall(Function::AllBlk, 1);
        });
        expandPath(tree, {"WP01"});
        dirapi_control::setBeforeCall(nullptr);
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01", "UC01"})),
                 (Texts{"B1           AIN", "B2           AIN"}));
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01", "UC02"})), (Texts{"DOUT1        DOUT"}));
    }

    void failedFirstCallKeepsTheItemExpandableUntilAListingSucceeds()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        dirapi_control::failCall(Function::AllCmp, 1);
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QVERIFY(childTexts(tree, wp01).empty());
        QVERIFY(tree.isItemExpanded(wp01));
        // A passing failure must not hide the branch: the expand button stays.
        QVERIFY(tree.itemHasChildren(wp01));
        QVERIFY(tree.model()->hasChildren(tree.indexOf(wp01)));

        tree.expandItem(wp01, Action::Collapse);
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QCOMPARE(childTexts(tree, wp01), (Texts{"UC01", "UC02"}));
    }

    void branchWhoseListingFailedShowsItsBoxOpenAndClosed()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp02 = findItem(tree, {"WP02"});
        const auto clickBox = [&] {
            const QRect box = tk::expandBoxRect(ownBranchCell(tree, wp02));
            QTest::mouseClick(tree.window()->windowHandle(), Qt::LeftButton, {},
                              tree.viewport()->mapTo(tree.window(), box.center()));
        };
        // The plant cannot be read: every listing fails until it can again.
        dirapi_control::failCall(Function::AllCmp, 1);
        dirapi_control::failCall(Function::AllCmp, 2);
        click(tree, wp02);
        clickBox();
        QVERIFY(tree.isItemExpanded(wp02) && childTexts(tree, wp02).empty());
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::Minus);
        QTest::keyClick(&tree, Qt::Key_Left);
        QVERIFY(!tree.isItemExpanded(wp02));
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::Plus);
        QTest::keyClick(&tree, Qt::Key_Right);
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::Minus);
        clickBox();
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::Plus);

        // Read again, the station lists its compound; emptied, it keeps no box.
        clickBox();
        QCOMPARE(childTexts(tree, wp02), (Texts{"UC03"}));
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::Minus);
        dirapi_control::loadPlant("WP01 UC01\nWP02\n");
        clickBox();
        clickBox();
        QVERIFY(childTexts(tree, wp02).empty());
        QCOMPARE(BranchPixels(tree).expandBoxOf(wp02), ExpandBox::None);
    }

    void emptyListingMakesALeaf()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp02 = findItem(tree, {"WP02"});
        dirapi_control::loadPlant("WP01 UC01\nWP02\n");
        tree.expandItem(wp02, Action::Expand);
        QVERIFY(childTexts(tree, wp02).empty());
        QVERIFY(!tree.itemHasChildren(wp02));
    }

    void textsStayRightWhenRefreshesCompactTheStore()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        const std::size_t slotCount = tree.store().nodeSlots();
        bool compacted = false;
        std::string expected;
        for (int cycle = 0; cycle < 150; ++cycle) {
            // Every expansion lists other names, as a directory under change does; never more
            // items than before, so the last slots stay with the station listed after WP01.
            const std::string compound = testsupport::numbered("C", cycle);
            std::string plant;
            expected = "WP01\n  " + compound + "\n";
            for (int b = 0; b < 1 + cycle % 4; ++b) {
                const std::string block =
                    testsupport::numbered("B", cycle, "_") + std::to_string(b);
                plant += "WP01 " + compound + " " + block + " AIN\n";
                expected += "    " + block + std::string(13 - block.size(), ' ') + "AIN\n";
            }
            dirapi_control::loadPlant(plant + "WP02 UC03 CALC1 CALC\n");
            const std::size_t arenaBefore = tree.store().arenaBytes();
            tree.expandItem(wp01, Action::Collapse);
            tree.expandItem(wp01, Action::Expand);
            compacted = compacted || tree.store().arenaBytes() < arenaBefore;
        }
        QVERIFY(compacted);
        QCOMPARE(tree.store().nodeSlots(), slotCount);
        QCOMPARE(dumpTree(tree), expected + "WP02\n"
                                            "  UC03\n"
                                            "    CALC1        CALC\n");
    }

    void terminationRequestEndsTheRefreshBeforeItsNextCall()
    {
        std::string plant;
        for (int i = 1; i <= 8; ++i)
            plant += "WP01 UC0" + std::to_string(i) + " AIN" + std::to_string(i) + " AIN\n";
        auto w = openMainWindow(plant, 1);
        CArbolixDlg* dlg = w->dlg.get();
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        std::size_t callsWhenEnded = 0;
        bool posted = false;
        dirapi_control::clearCalls();
        dirapi_control::setBeforeCall([&](Function, int) {
            if (!posted) {
                posted = true;
                // A termination request comes as a notification, while the directory is slow.
                QMetaObject::invokeMethod(
                    dlg,
                    [&] {
                        dlg->EndListing();
                        dlg->close();
                        callsWhenEnded = dirapi_control::calls().size();
                    },
                    Qt::QueuedConnection);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        });
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        dirapi_control::setBeforeCall(nullptr);
        // Seen during the refresh, it ended it: no call after the one under way.
        QVERIFY(callsWhenEnded > 0);
        QCOMPARE(dirapi_control::calls().size(), callsWhenEnded);
        // What was inserted stays, in order.
        const Texts compounds = childTexts(tree, wp01);
        QVERIFY(!compounds.empty() && compounds.size() < 8);
        for (std::size_t i = 0; i < compounds.size(); ++i)
            QCOMPARE(compounds[i], "UC0" + std::to_string(i + 1));
        // The window then closes as Exit closes it.
        QTRY_VERIFY(!dlg->isVisible());
    }

    void inputGivenDuringARefresh_data()
    {
        QTest::addColumn<bool>("byPointer");
        QTest::addColumn<bool>("onFindButton");
        QTest::addColumn<QString>("selectedAfter");
        // Aimed at WP02, where the refresh puts UC01: dropped, nothing opens.
        QTest::newRow("double-click on another row") << true << false << "WP01";
        // A key moves from where the operator is once the refresh is over.
        QTest::newRow("key") << false << false << "UC01";
        // A button has not moved: its click acts once the refresh is over.
        QTest::newRow("click on Find...") << true << true << "WP01";
    }
    void inputGivenDuringARefresh()
    {
        QFETCH(bool, byPointer);
        QFETCH(bool, onFindButton);
        QFETCH(QString, selectedAfter);
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        click(tree, wp01);
        QWidget* viewport = onFindButton ? w->dlg->m_btnFind : tree.viewport();
        const QPoint wp02 = onFindButton
                                ? QPoint(5, 5)
                                : tree.visualRect(tree.indexOf(findItem(tree, {"WP02"}))).center();
        bool posted = false;
        dirapi_control::setBeforeCall([&](Function, int) {
            if (posted)
                return;
            posted = true;
            if (!byPointer) {
                for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
                    QCoreApplication::postEvent(&tree,
                                                new QKeyEvent(type, Qt::Key_Down, Qt::NoModifier));
                return;
            }
            for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
                const Qt::MouseButtons held =
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
                QCoreApplication::postEvent(viewport,
                                            new QMouseEvent(type, wp02, viewport->mapToGlobal(wp02),
                                                            Qt::LeftButton, held, Qt::NoModifier));
            }
        });
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        dirapi_control::setBeforeCall(nullptr);
        QVERIFY(posted);
        QTRY_COMPARE(QString::fromUtf8(tree.itemText(tree.selectedItem())), selectedAfter);
        QTest::qWait(20);
        QVERIFY(w->launcher.started.empty());
        QCOMPARE(QString::fromUtf8(tree.itemText(tree.selectedItem())), selectedAfter);
        QCOMPARE(!w->dlg->m_pFindDlg.isNull(), onFindButton);
    }

    void selectedItemDeletedByRefreshIsNeverRemembered()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = expandPath(tree, {"WP01"});
        const tk::TreeItem uc01 = expandPath(tree, {"WP01", "UC01"});
        const tk::TreeItem block = findItem(tree, {"WP01", "UC01", "PIDA1        PIDA"});
        click(tree, block);
        QCOMPARE(w->dlg->m_hSelected, block);

        // Collapsing the compound moves the selection to it; expanding it deletes the block.
        tree.expandItem(uc01, Action::Collapse);
        QCOMPARE(w->dlg->m_hSelected, uc01);
        tree.expandItem(uc01, Action::Expand);
        QCOMPARE(w->dlg->m_hSelected, uc01);
        QVERIFY(!tree.itemText(w->dlg->m_hSelected).empty());

        // Same through the station: the compound itself is replaced.
        tree.expandItem(wp01, Action::Collapse);
        tree.expandItem(wp01, Action::Expand);
        QCOMPARE(w->dlg->m_hSelected, wp01);
        QCOMPARE(tree.itemText(w->dlg->m_hSelected), std::string_view("WP01"));
    }

    void rowsSayWhereTheyStandAndBranchesAreHeard()
    {
        testsupport::AccessibleEvents events;
        // Qt's view and its base class both report a model's rows; once is what is heard.
        const auto heard = [&events] {
            QStringList lines = events.take();
            lines.removeDuplicates();
            return lines.join(" / ");
        };
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        events.take();

        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QCOMPARE(heard(), QString("rows inserted 0-1 / expanded WP01"));
        QVERIFY(tree.expandItem(findItem(tree, {"WP01", "UC01"}), Action::Expand));
        QCOMPARE(heard(), QString("rows inserted 0-1 / expanded UC01"));
        // The hidden header is shown to screen readers; it carries the tree's name.
        QCOMPARE(
            spokenRows(tree),
            QStringList({"Object directory | ", "WP01 | station", "UC01 | compound of station WP01",
                         "AIN1, AIN | block in compound UC01 of station WP01",
                         "PIDA1, PIDA | block in compound UC01 of station WP01",
                         "UC02 | compound of station WP01", "WP02 | station"}));

        // A refresh replaces the station's rows: heard as their removal, then the new ones.
        dirapi_control::loadPlant("WP01 UC09 AIN7 AIN\n"
                                  "WP02 UC03 CALC1 CALC\n");
        QVERIFY(tree.expandItem(wp01, Action::Collapse));
        QCOMPARE(heard(), QString("rows removed 0-1 / collapsed WP01"));
        QVERIFY(tree.expandItem(wp01, Action::Expand));
        QCOMPARE(heard(), QString("rows inserted 0-0 / expanded WP01"));
        QCOMPARE(spokenRows(tree),
                 QStringList({"Object directory | ", "WP01 | station",
                              "UC09 | compound of station WP01", "WP02 | station"}));
    }
};

QTEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
