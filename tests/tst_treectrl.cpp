// The tree control: notifications, caret moves, expansion with replaced children, display.
#include "tests/branchpixels.h"
#include "tests/numberedname.h"
#include "toolkit/treectrl.h"

#include <QAbstractItemModelTester>
#include <QtTest>
#include <string>
#include <vector>

using testsupport::numbered;
using tk::TreeCtrl;
using tk::TreeItem;
using Action = TreeCtrl::ExpandAction;
using testsupport::BranchPixels;
using testsupport::ExpandBox;

Q_DECLARE_METATYPE(tk::TreeItem)

namespace {

struct Notice
{
    TreeItem item;
    Action action;
    int rowsBefore; // the item's rows in the model when it was reported
};

// Two stations of two compounds of two blocks: S1 { C1 { B1 B2 } C2 { B3 B4 } } S2 { ... }.
struct Plant
{
    TreeItem s[2], c[4], b[8];
    // The item with that text, none for an empty text; a text that names no item fails the test.
    TreeItem byText(const TreeCtrl& tree, const QString& text) const
    {
        for (const TreeItem& item :
             {s[0], s[1], c[0], c[1], c[2], c[3], b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]})
            if (!text.isEmpty() && tree.itemText(item) == text.toStdString())
                return item;
        if (!text.isEmpty())
            QTest::qFail(qPrintable("no item " + text), __FILE__, __LINE__);
        return {};
    }
    explicit Plant(TreeCtrl& tree)
    {
        for (int i = 0; i < 8; ++i) {
            if (i % 4 == 0)
                s[i / 4] = tree.insertItem(numbered("S", i / 4 + 1));
            if (i % 2 == 0)
                c[i / 2] = tree.insertItem(numbered("C", i / 2 + 1), s[i / 4]);
            b[i] = tree.insertLeafItem(numbered("B", i + 1), c[i / 2]);
        }
    }
};

std::vector<std::string> childTexts(const TreeCtrl& tree, TreeItem parent)
{
    std::vector<std::string> texts;
    const QModelIndex index = tree.indexOf(parent);
    for (int r = 0; r < tree.model()->rowCount(index); ++r)
        texts.push_back(tree.model()->index(r, 0, index).data().toString().toStdString());
    return texts;
}

QPoint inWindow(const TreeCtrl& tree, QPoint viewportPoint)
{
    return tree.viewport()->mapTo(&tree, viewportPoint);
}

// Shows the tree at that size; false when it never came on screen.
bool shownAt(TreeCtrl& tree, QSize size)
{
    tree.resize(size);
    tree.show();
    return QTest::qWaitForWindowExposed(&tree);
}

// Takes the first press and release sent to a widget, as input dropped meanwhile would.
struct LostClick : QObject
{
    int taken = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        return (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonRelease) &&
               taken++ < 2;
    }
};

} // namespace

class TreeCtrlTest : public QObject
{
    Q_OBJECT
private slots:
    void modelStaysConsistentThroughEveryKindOfChange();
    void expandingIsReportedBeforeTheRowsAppear();
    void expandHandlerReplacingChildrenShowsTheNewOnes();
    void collapseIsReportedAndKeepsTheChildren();
    void itemLeftWithoutChildrenByItsHandlerBecomesALeaf();
    void selectItemExpandsAncestorsOutermostFirstBeforeReturning_data();
    void selectItemExpandsAncestorsOutermostFirstBeforeReturning();
    void deletingTheCaretOrItsAncestorMovesAndReportsIt_data();
    void deletingTheCaretOrItsAncestorMovesAndReportsIt();
    void collapseHidingTheCaretMovesItToTheCollapsedItem();
    void doubleClickIsReportedOnItemsAndOnEmptySpace();
    void doubleClickWhoseFirstPressTheTreeNeverSawIsAPress_data();
    void doubleClickWhoseFirstPressTheTreeNeverSawIsAPress();
    void childAddedToAVisibleCollapsedItemGetsAnExpandButton();
    void displayDecodesTextWhileTheBytesStayExact();
    void caretIsAlwaysTheHighlightedSelection();
    void selectionMovesOnlyByAPressOnAnItem_data();
    void selectionMovesOnlyByAPressOnAnItem();
    void markedRowIsFramedWhileTheSelectionStays();
    void branchAreaDrawsWhatTheStylesAsk_data();
    void branchAreaDrawsWhatTheStylesAsk();
    void expandableItemKeepsItsBoxOpenOrClosedUntilListedEmpty();
};

void TreeCtrlTest::modelStaysConsistentThroughEveryKindOfChange()
{
    TreeCtrl tree;
    QAbstractItemModelTester tester(tree.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    int refreshes = 0;
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action action) {
        if (action != Action::Expand)
            return;
        ++refreshes;
        while (TreeItem child = tree.childItem(item))
            tree.deleteItem(child);
        for (int i = 0; i < 3; ++i)
            tree.insertItem(numbered("R", i), item);
    });
    Plant plant(tree);
    // Nothing can be fetched while a change is announced: a view fetching then would nest one
    // change inside another.
    const auto fetchable = [&] { return tree.model()->canFetchMore(tree.indexOf(plant.s[0])); };
    QVERIFY(fetchable());
    bool fetchableDuringAChange = false;
    for (const auto announcement :
         {&QAbstractItemModel::rowsAboutToBeInserted, &QAbstractItemModel::rowsAboutToBeRemoved})
        connect(tree.model(), announcement, &tree, [&] { fetchableDuringAChange |= fetchable(); });
    tree.expandItem(plant.s[1], Action::Expand);
    const TreeItem second = tree.nextSiblingItem(tree.childItem(plant.s[1]));
    QVERIFY(tree.selectItem(second));
    tree.insertItem("late", plant.s[1]);
    tree.expandItem(plant.s[0], Action::Expand);
    tree.deleteItem(second);
    tree.expandItem(plant.s[1], Action::Collapse);
    tree.expandItem(plant.s[1], Action::Expand);
    QCOMPARE(childTexts(tree, plant.s[1]), (std::vector<std::string>{"R0", "R1", "R2"}));
    tree.deleteItem(plant.s[0]);
    tree.deleteItem(tree.rootItem());
    QVERIFY(refreshes > 0);
    QVERIFY(!fetchableDuringAChange);
    QCOMPARE(tree.model()->rowCount(), 0);
    QVERIFY(tree.selectedItem().isNull());
}

void TreeCtrlTest::expandingIsReportedBeforeTheRowsAppear()
{
    TreeCtrl tree;
    Plant plant(tree);
    tree.show();
    std::vector<Notice> notices;
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action action) {
        notices.push_back({item, action, tree.model()->rowCount(tree.indexOf(item))});
    });

    QVERIFY(tree.expandItem(plant.s[0], Action::Expand));
    tree.selectItem(plant.s[1]);
    QTest::keyClick(&tree, Qt::Key_Right); // as the operator does it
    QCOMPARE(notices.size(), size_t(2));
    QCOMPARE(notices[0].item, plant.s[0]);
    QCOMPARE(notices[1].item, plant.s[1]);
    for (const Notice& notice : notices) {
        QCOMPARE(notice.action, Action::Expand);
        QCOMPARE(notice.rowsBefore, 0);
        QVERIFY(tree.isItemExpanded(notice.item));
        QCOMPARE(tree.model()->rowCount(tree.indexOf(notice.item)), 2);
    }
    // Leaves and already expanded items are not reported.
    QVERIFY(!tree.expandItem(plant.b[0], Action::Expand));
    QVERIFY(tree.expandItem(plant.s[0], Action::Expand));
    QCOMPARE(notices.size(), size_t(2));
}

void TreeCtrlTest::expandHandlerReplacingChildrenShowsTheNewOnes()
{
    TreeCtrl tree;
    Plant plant(tree);
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action) {
        for (TreeItem child = tree.childItem(item); child;) {
            const TreeItem next = tree.nextSiblingItem(child);
            tree.deleteItem(child);
            child = next;
        }
        tree.insertItem("NEW1", item);
        tree.insertItem("NEW2", item);
    });
    QVERIFY(tree.expandItem(plant.s[0], Action::Expand));
    QCOMPARE(childTexts(tree, plant.s[0]), (std::vector<std::string>{"NEW1", "NEW2"}));
    QVERIFY(tree.itemText(plant.c[0]).empty());
    QVERIFY(tree.parentItem(plant.b[0]).isNull());
    QCOMPARE(tree.itemText(tree.childItem(plant.s[0])), std::string_view("NEW1"));
}

void TreeCtrlTest::collapseIsReportedAndKeepsTheChildren()
{
    TreeCtrl tree;
    Plant plant(tree);
    tree.expandItem(plant.s[0], Action::Expand);
    tree.expandItem(plant.c[0], Action::Expand);
    std::vector<Action> actions;
    connect(&tree, &TreeCtrl::itemExpanding, &tree,
            [&](TreeItem, Action action) { actions.push_back(action); });

    QVERIFY(tree.expandItem(plant.s[0], Action::Collapse));
    QCOMPARE(actions, std::vector<Action>{Action::Collapse});
    QVERIFY(!tree.isItemExpanded(plant.s[0]));
    QCOMPARE(tree.childItem(plant.s[0]), plant.c[0]);
    QCOMPARE(tree.childItem(plant.c[0]), plant.b[0]);
    QVERIFY(!tree.indexOf(plant.c[0]).isValid());

    // Coming back, the children are closed again, whatever was open before.
    tree.expandItem(plant.s[0], Action::Expand);
    QCOMPARE(childTexts(tree, plant.s[0]), (std::vector<std::string>{"C1", "C2"}));
    QVERIFY(!tree.isItemExpanded(plant.c[0]));
}

void TreeCtrlTest::itemLeftWithoutChildrenByItsHandlerBecomesALeaf()
{
    TreeCtrl tree;
    Plant plant(tree);
    tree.expandItem(plant.s[0], Action::Expand);
    int notices = 0;
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action) {
        ++notices;
        while (TreeItem child = tree.childItem(item))
            tree.deleteItem(child);
    });
    tree.expandItem(plant.c[1], Action::Expand);
    QCOMPARE(notices, 1);
    QVERIFY(!tree.itemHasChildren(plant.c[1]));
    QVERIFY(!tree.model()->hasChildren(tree.indexOf(plant.c[1])));
    QVERIFY(!tree.expandItem(plant.c[1], Action::Expand));
    QCOMPARE(notices, 1);
}

void TreeCtrlTest::selectItemExpandsAncestorsOutermostFirstBeforeReturning_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("hidden view") << false;
    QTest::newRow("shown view") << true;
}

void TreeCtrlTest::selectItemExpandsAncestorsOutermostFirstBeforeReturning()
{
    QFETCH(bool, shown);
    TreeCtrl tree;
    if (shown)
        tree.show();
    Plant plant(tree);
    std::vector<TreeItem> expanded;
    std::vector<TreeItem> carets;
    connect(&tree, &TreeCtrl::itemExpanding, &tree,
            [&](TreeItem item, Action) { expanded.push_back(item); });
    connect(&tree, &TreeCtrl::caretChanged, &tree, [&](TreeItem item) { carets.push_back(item); });

    QVERIFY(tree.selectItem(plant.b[7]));
    QCOMPARE(expanded, (std::vector<TreeItem>{plant.s[1], plant.c[3]}));
    QCOMPARE(carets, std::vector<TreeItem>{plant.b[7]});
    QCOMPARE(tree.selectedItem(), plant.b[7]);
    QCOMPARE(tree.currentIndex(), tree.indexOf(plant.b[7]));
    QVERIFY(tree.selectionModel()->isSelected(tree.indexOf(plant.b[7])));

    // An ancestor whose refresh drops the target leaves the caret where it was.
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action) {
        while (TreeItem child = tree.childItem(item))
            tree.deleteItem(child);
    });
    QVERIFY(!tree.selectItem(plant.b[0]));
    QCOMPARE(tree.selectedItem(), plant.b[7]);
}

void TreeCtrlTest::deletingTheCaretOrItsAncestorMovesAndReportsIt_data()
{
    QTest::addColumn<QString>("caret");
    QTest::addColumn<QString>("before"); // deleted first, unobserved
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("expected"); // text of the new caret
    const auto row = [](const char* name, const char* caret, const char* before,
                        const char* deleted, const char* expected) {
        QTest::newRow(name) << QString(caret) << QString(before) << QString(deleted)
                            << QString(expected);
    };
    row("to the next sibling", "B1", "", "B1", "B2");
    row("to the previous sibling", "B2", "", "B2", "B1");
    row("to the next sibling rather than the previous", "B8", "", "B8", "B9");
    row("to the parent", "B2", "B1", "B2", "C1");
    row("from an ancestor to its sibling", "B2", "", "C1", "C2");
    row("from the last ancestor to its sibling", "B6", "", "S2", "S1");
}

void TreeCtrlTest::deletingTheCaretOrItsAncestorMovesAndReportsIt()
{
    QFETCH(QString, caret);
    QFETCH(QString, before);
    QFETCH(QString, deleted);
    QFETCH(QString, expected);
    TreeCtrl tree;
    Plant plant(tree);
    tree.insertLeafItem("B9", plant.c[3]); // so that B8 has a sibling on either side
    QVERIFY(tree.selectItem(plant.byText(tree, caret)));
    tree.deleteItem(plant.byText(tree, before));
    const TreeItem victim = plant.byText(tree, deleted);
    std::vector<TreeItem> reported;
    connect(&tree, &TreeCtrl::caretChanged, &tree,
            [&](TreeItem item) { reported.push_back(item); });

    QVERIFY(tree.deleteItem(victim));
    QCOMPARE(reported.size(), size_t(1));
    QCOMPARE(reported[0], tree.selectedItem());
    QCOMPARE(QString::fromStdString(std::string(tree.itemText(reported[0]))), expected);
    QVERIFY(!tree.deleteItem(victim));
}

void TreeCtrlTest::collapseHidingTheCaretMovesItToTheCollapsedItem()
{
    TreeCtrl tree;
    Plant plant(tree);
    tree.selectItem(plant.b[2]);
    std::vector<TreeItem> reported;
    connect(&tree, &TreeCtrl::caretChanged, &tree,
            [&](TreeItem item) { reported.push_back(item); });

    tree.expandItem(plant.c[0], Action::Collapse); // a sibling branch: caret stays
    QVERIFY(reported.empty());
    tree.expandItem(plant.s[0], Action::Collapse);
    QCOMPARE(reported, std::vector<TreeItem>{plant.s[0]});
    QCOMPARE(tree.selectedItem(), plant.s[0]);

    // Down to the last item, then away: an empty tree reports no caret.
    tree.deleteItem(plant.s[1]);
    tree.deleteItem(plant.s[0]);
    QCOMPARE(reported.back(), TreeItem());
    QCOMPARE(tree.rootItem(), TreeItem());
}

void TreeCtrlTest::doubleClickIsReportedOnItemsAndOnEmptySpace()
{
    TreeCtrl tree;
    Plant plant(tree);
    QVERIFY(shownAt(tree, {300, 400}));
    std::vector<std::string> events;
    connect(&tree, &TreeCtrl::caretChanged, &tree,
            [&](TreeItem item) { events.push_back("caret " + std::string(tree.itemText(item))); });
    connect(&tree, &TreeCtrl::doubleClick, &tree, [&] {
        events.push_back(tree.isItemExpanded(plant.s[1]) ? "double open" : "double closed");
    });

    const QRect row = tree.visualRect(tree.indexOf(plant.s[1]));
    QTest::mouseDClick(tree.windowHandle(), Qt::LeftButton, {}, inWindow(tree, row.center()));
    QCOMPARE(events, (std::vector<std::string>{"caret S2", "double closed"}));
    QVERIFY(tree.isItemExpanded(plant.s[1])); // the tree's own handling comes after

    events.clear();
    QTest::mouseDClick(tree.windowHandle(), Qt::LeftButton, {},
                       inWindow(tree, QPoint(row.center().x(), tree.viewport()->height() - 5)));
    QCOMPARE(events, std::vector<std::string>{"double open"});
}

void TreeCtrlTest::doubleClickWhoseFirstPressTheTreeNeverSawIsAPress_data()
{
    QTest::addColumn<int>("pressedBefore");
    QTest::addColumn<bool>("justBefore");
    QTest::newRow("another row just before") << 0 << true;
    QTest::newRow("the same row a while before") << 1 << false;
}

void TreeCtrlTest::doubleClickWhoseFirstPressTheTreeNeverSawIsAPress()
{
    QFETCH(int, pressedBefore);
    QFETCH(bool, justBefore);
    TreeCtrl tree;
    Plant plant(tree);
    QVERIFY(shownAt(tree, {300, 400}));
    const auto at = [&](int s) {
        return inWindow(tree, tree.visualRect(tree.indexOf(plant.s[s])).center());
    };
    QTest::mouseClick(tree.windowHandle(), Qt::LeftButton, {}, at(pressedBefore));
    if (justBefore)
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    int doubleClicks = 0;
    connect(&tree, &TreeCtrl::doubleClick, &tree, [&] { ++doubleClicks; });
    LostClick lost;
    tree.viewport()->installEventFilter(&lost);
    QTest::mouseDClick(tree.windowHandle(), Qt::LeftButton, {}, at(1));
    // The second press selects the row under the pointer and opens nothing.
    QCOMPARE(doubleClicks, 0);
    QCOMPARE(tree.selectedItem(), plant.s[1]);
    QVERIFY(!tree.isItemExpanded(plant.s[1]));
}

void TreeCtrlTest::childAddedToAVisibleCollapsedItemGetsAnExpandButton()
{
    TreeCtrl tree;
    const TreeItem station = tree.insertItem("S1");
    QVERIFY(shownAt(tree, {300, 200}));
    QCoreApplication::processEvents(); // the row is laid out while it has no children
    const QRect row = tree.visualRect(tree.indexOf(station));
    const QRect buttonArea(row.left() - tree.indentation(), row.top(), tree.indentation(),
                           row.height());
    const QImage without = tree.viewport()->grab(buttonArea).toImage();
    tree.insertItem("C1", station);
    QCoreApplication::processEvents();
    QVERIFY(tree.viewport()->grab(buttonArea).toImage() != without);

    QTest::mouseClick(tree.windowHandle(), Qt::LeftButton, {}, inWindow(tree, buttonArea.center()));
    QVERIFY(tree.isItemExpanded(station));
    QCOMPARE(childTexts(tree, station), std::vector<std::string>{"C1"});
}

void TreeCtrlTest::displayDecodesTextWhileTheBytesStayExact()
{
    TreeCtrl tree;
    const std::string bytes("AB\xff\x00\xc3\xa4", 6);
    const TreeItem item = tree.insertItem(bytes);
    QCOMPARE(tree.itemText(item), std::string_view(bytes));
    const QString shown = tree.indexOf(item).data().toString();
    // Not UTF-8: each byte as its Latin-1 character; UTF-8 is read as UTF-8.
    QCOMPARE(shown, QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    QCOMPARE(tree.indexOf(tree.insertItem("K\xc3\x84LTE")).data().toString(),
             QString::fromLatin1("K\xc4LTE"));

    const TreeItem leaf = tree.insertLeafItem("B1", item);
    QVERIFY(!(tree.model()->flags(tree.indexOf(item)) & Qt::ItemNeverHasChildren));
    tree.expandItem(item, Action::Expand);
    QVERIFY(tree.model()->flags(tree.indexOf(leaf)) & Qt::ItemNeverHasChildren);
    QVERIFY(tree.insertItem("child", leaf).isNull());
}

void TreeCtrlTest::caretIsAlwaysTheHighlightedSelection()
{
    TreeCtrl tree;
    Plant plant(tree);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    // Focus coming in, or keys with Ctrl, move the current item without selecting it in Qt.
    const QModelIndex second = tree.indexOf(plant.s[1]);
    tree.selectionModel()->setCurrentIndex(second, QItemSelectionModel::NoUpdate);
    QCOMPARE(tree.selectedItem(), plant.s[1]);
    QCOMPARE(tree.selectionModel()->selectedIndexes(), QModelIndexList{second});
    tree.selectItem(plant.s[0]);
    QCOMPARE(tree.selectionModel()->selectedIndexes(), QModelIndexList{tree.indexOf(plant.s[0])});
}

void TreeCtrlTest::selectionMovesOnlyByAPressOnAnItem_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("selected"); // S2 is selected before
    const auto row = [](const char* name, const char* gesture, const char* selected) {
        QTest::newRow(name) << QString(gesture) << QString(selected);
    };
    row("press below the rows, move up over them", "blank drag", "S2");
    row("press on an item, move over others", "item drag", "S1");
    row("Ctrl+click on the selected item", "ctrl click S2", "S2");
    row("Ctrl+click on another item", "ctrl click C1", "C1");
    row("Ctrl+Space on the selected item", "ctrl space", "S2");
    row("key down", "down", "S2"); // the last row: nowhere to go
    row("key up", "up", "C2");
}

void TreeCtrlTest::selectionMovesOnlyByAPressOnAnItem()
{
    QFETCH(QString, gesture);
    QFETCH(QString, selected);
    TreeCtrl tree;
    Plant plant(tree);
    tree.expandItem(plant.s[0], Action::Expand); // rows S1 C1 C2 S2
    QVERIFY(shownAt(tree, {300, 300}));
    tree.setFocus();
    QVERIFY(tree.selectItem(plant.s[1]));
    QWindow* window = tree.windowHandle();
    const auto centre = [&](TreeItem item) {
        return inWindow(tree, tree.visualRect(tree.indexOf(item)).center());
    };
    const auto drag = [&](QPoint from, const std::vector<TreeItem>& over) {
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QPoint at = from;
        for (const TreeItem item : over) {
            at = centre(item);
            QMouseEvent move(QEvent::MouseMove, at, tree.mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree.viewport(), &move);
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    };
    if (gesture == "blank drag")
        drag(inWindow(tree, QPoint(30, tree.viewport()->height() - 5)),
             {plant.s[1], plant.c[1], plant.c[0], plant.s[0]});
    else if (gesture == "item drag")
        drag(centre(plant.s[0]), {plant.c[0], plant.c[1]});
    else if (gesture == "ctrl click S2")
        QTest::mouseClick(window, Qt::LeftButton, Qt::ControlModifier, centre(plant.s[1]));
    else if (gesture == "ctrl click C1")
        QTest::mouseClick(window, Qt::LeftButton, Qt::ControlModifier, centre(plant.c[0]));
    else if (gesture == "ctrl space")
        QTest::keyClick(&tree, Qt::Key_Space, Qt::ControlModifier);
    else if (gesture == "down")
        QTest::keyClick(&tree, Qt::Key_Down);
    else if (gesture == "up")
        QTest::keyClick(&tree, Qt::Key_Up);
    const TreeItem expected = plant.byText(tree, selected);
    QCOMPARE(tree.selectedItem(), expected);
    // Never a tree without its selection, nor a selection the caret is not.
    QCOMPARE(tree.selectionModel()->selectedIndexes(), QModelIndexList{tree.indexOf(expected)});
}

void TreeCtrlTest::markedRowIsFramedWhileTheSelectionStays()
{
    TreeCtrl tree;
    Plant plant(tree);
    QVERIFY(shownAt(tree, {300, 300}));
    QVERIFY(tree.selectItem(plant.s[0]));
    const QColor highlight = tree.palette().color(QPalette::Active, QPalette::Highlight);
    // highlighted ITEM: how many pixels of the item's row are in the highlight colour
    const auto highlighted = [&](TreeItem item) {
        QCoreApplication::processEvents();
        const QImage image = tree.viewport()->grab().toImage();
        const QRect row = tree.visualRect(tree.indexOf(item));
        int count = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x <= row.right(); ++x)
                count += image.pixelColor(x, y) == highlight;
        }
        return count;
    };
    QCOMPARE(highlighted(plant.s[1]), 0);
    tree.setMarkedItem(plant.s[1]);
    QCOMPARE(tree.markedItem(), plant.s[1]);
    QVERIFY(highlighted(plant.s[1]) > 2 * tree.visualRect(tree.indexOf(plant.s[1])).height());
    QCOMPARE(tree.selectedItem(), plant.s[0]);
    tree.setMarkedItem({});
    QCOMPARE(highlighted(plant.s[1]), 0);
}

void TreeCtrlTest::branchAreaDrawsWhatTheStylesAsk_data()
{
    QTest::addColumn<bool>("lines");
    QTest::addColumn<bool>("buttons");
    QTest::addColumn<bool>("linesAtRoot");
    QTest::addColumn<bool>("dark");
    QTest::newRow("classic") << true << true << true << false;
    QTest::newRow("classic, dark palette") << true << true << true << true;
    QTest::newRow("no lines") << false << true << true << false;
    QTest::newRow("no buttons") << true << false << true << false;
    QTest::newRow("nothing at the root") << true << true << false << false;
}

void TreeCtrlTest::branchAreaDrawsWhatTheStylesAsk()
{
    QFETCH(bool, lines);
    QFETCH(bool, buttons);
    QFETCH(bool, linesAtRoot);
    QFETCH(bool, dark);
    TreeCtrl tree;
    if (dark) {
        QPalette palette = tree.palette();
        palette.setColor(QPalette::Base, QColor(20, 20, 24));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
        tree.setPalette(palette);
    }
    tree.setBranchStyle({.lines = lines, .buttons = buttons, .linesAtRoot = linesAtRoot});
    Plant plant(tree);
    tree.expandItem(plant.s[0], Action::Expand);
    tree.expandItem(plant.c[0], Action::Expand);
    QVERIFY(shownAt(tree, {300, 300}));

    const BranchPixels pixels(tree);
    const ExpandBox open = buttons ? ExpandBox::Minus : ExpandBox::None;
    const ExpandBox closed = buttons ? ExpandBox::Plus : ExpandBox::None;
    QCOMPARE(pixels.expandBoxOf(plant.c[0]), open);
    QCOMPARE(pixels.expandBoxOf(plant.c[1]), closed);
    QCOMPARE(pixels.expandBoxOf(plant.b[0]), ExpandBox::None);
    QCOMPARE(pixels.linePixelsOf(plant.b[0]) > 0, lines);
    QCOMPARE(pixels.linePixelsOf(plant.c[1]) > 0, lines);
    // A first child joins its parent as every other child does; the last has no line down.
    const auto drawn = [&](const char* pieces) { return QString(lines ? pieces : ""); };
    QCOMPARE(pixels.linesOf(plant.b[0]), drawn("up down right"));
    QCOMPARE(pixels.linesOf(plant.b[1]), drawn("up right"));
    QCOMPARE(pixels.linesOf(plant.c[0]), drawn("up down right"));
    QCOMPARE(pixels.linesOf(plant.c[1]), drawn("up right"));
    if (linesAtRoot) {
        // The first root has nothing above it to join.
        QCOMPARE(pixels.linesOf(plant.s[0]), drawn("down right"));
        QCOMPARE(pixels.linesOf(plant.s[1]), drawn("up right"));
        QCOMPARE(pixels.expandBoxOf(plant.s[0]), open);
        QCOMPARE(pixels.expandBoxOf(plant.s[1]), closed);
        QCOMPARE(pixels.linePixelsOf(plant.s[1]) > 0, lines);
    } else {
        // The roots have no branch column at all.
        QCOMPARE(tree.visualRect(tree.indexOf(plant.s[0])).left(), 0);
    }
    if (buttons) {
        // The box in the palette's colours: a glyph in the text colour on the background, a
        // frame between the two, on a light desktop and on a dark one alike.
        const QRect box = tk::expandBoxRect(testsupport::ownBranchCell(tree, plant.c[1]));
        const QColor text = tree.palette().color(QPalette::Text);
        const QColor base = tree.palette().color(QPalette::Base);
        QCOMPARE(pixels.at(box.center()), text);
        QCOMPARE(pixels.at(box.center() + QPoint(0, 3)), base);
        const int frame = pixels.at(box.topLeft()).lightness();
        QVERIFY(frame > std::min(text.lightness(), base.lightness()));
        QVERIFY(frame < std::max(text.lightness(), base.lightness()));
    }
}

void TreeCtrlTest::expandableItemKeepsItsBoxOpenOrClosedUntilListedEmpty()
{
    TreeCtrl tree;
    const TreeItem station = tree.insertItem("S1");
    tree.insertItem("S2");
    tree.setItemExpandable(station, true);
    // The first two listings fail (nothing inserted, still expandable); the third says empty.
    int listings = 0;
    connect(&tree, &TreeCtrl::itemExpanding, &tree, [&](TreeItem item, Action action) {
        if (action == Action::Expand && ++listings == 3)
            tree.setItemExpandable(item, false);
    });
    QVERIFY(shownAt(tree, {300, 200}));
    const auto clickBox = [&] {
        const QRect box = tk::expandBoxRect(testsupport::ownBranchCell(tree, station));
        QTest::mouseClick(tree.windowHandle(), Qt::LeftButton, {}, inWindow(tree, box.center()));
    };

    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::Plus);
    clickBox();
    QCOMPARE(listings, 1);
    QVERIFY(tree.isItemExpanded(station));
    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::Minus);
    clickBox(); // the open box closes the item, which has no rows to hide
    QVERIFY(!tree.isItemExpanded(station));
    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::Plus);
    QTest::keyClick(&tree, Qt::Key_Right);
    QCOMPARE(listings, 2);
    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::Minus);
    QTest::keyClick(&tree, Qt::Key_Left);
    QVERIFY(!tree.isItemExpanded(station));
    QCOMPARE(tree.selectedItem(), station);
    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::Plus);

    clickBox();
    QCOMPARE(listings, 3);
    QCOMPARE(BranchPixels(tree).expandBoxOf(station), ExpandBox::None);
}

QTEST_MAIN(TreeCtrlTest)
#include "tst_treectrl.moc"
