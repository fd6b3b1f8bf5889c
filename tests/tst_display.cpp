// Double-clicking a compound or a block starts the display command for the selected item.
#include "display/displayutility.h"
#include "tests/reference.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"

#include <QTranslator>
#include <QtTest>

using namespace testsupport;
using Args = std::vector<std::string>;

namespace {

const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC01 ABCDEFGHIJKL PIDA\n"
                           "WP01 UC02\n"
                           "WP02\n";

// Opens the window and shows WP01's compounds and UC01's blocks.
std::unique_ptr<MainWindow> openExpanded(std::string option)
{
    auto w = openMainWindow(kPlant, 256, std::move(option));
    tk::TreeCtrl& tree = w->tree();
    expandPath(tree, {"WP01"});
    expandPath(tree, {"WP01", "UC01"});
    return w;
}

// What a double-click on the item opened with the option WP01 starts, alone.
std::vector<Args> started(std::string_view compound, std::optional<std::string_view> block = {})
{
    return {reference::displayArguments(display::displayUtility(), {"WP01"}, compound, block)};
}

} // namespace

class TestDisplay : public MainWindowSuite
{
    Q_OBJECT
private slots:
    void blockDoubleClickStartsTheBlockDisplay()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        doubleClick(tree, findItem(tree, {"WP01", "UC01", "AIN1         AIN"}));
        QCOMPARE(w->launcher.started, started("UC01", "AIN1"));
    }

    void compoundDoubleClickStartsTheCompoundDisplayAndTogglesIt()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem uc01 = findItem(tree, {"WP01", "UC01"});
        QVERIFY(tree.isItemExpanded(uc01));
        doubleClick(tree, uc01);
        QCOMPARE(w->launcher.started, started("UC01"));
        // The tree's own double-click handling went on: the compound closed.
        QVERIFY(!tree.isItemExpanded(uc01));
    }

    void optionKeepsTheOperatorsArguments_data() { addOptionRows(); }
    void optionKeepsTheOperatorsArguments()
    {
        QFETCH(reference::OptionRow, row);
        auto w = openExpanded(row.option);
        tk::TreeCtrl& tree = w->tree();
        doubleClick(tree, findItem(tree, {"WP01", "UC01", "ABCDEFGHIJKL PIDA"}));
        // A 12-character name is cut whole.
        QCOMPARE(w->launcher.started,
                 std::vector<Args>{reference::displayArguments(
                     display::displayUtility(), row.arguments, "UC01", "ABCDEFGHIJKL")});
    }

    void stationOrNoSelectionStartsNothing()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        // Nothing selected yet: a double-click below the items runs nothing.
        QVERIFY(w->dlg->m_hSelected.isNull() || tree.parentItem(w->dlg->m_hSelected).isNull());
        doubleClick(tree, {});
        QVERIFY(w->launcher.started.empty());
        const tk::TreeItem wp02 = findItem(tree, {"WP02"});
        doubleClick(tree, wp02);
        QCOMPARE(w->dlg->m_hSelected, wp02);
        QVERIFY(w->launcher.started.empty());
    }

    void middleButtonChangesNothingAndStartsNothing()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        // A compound is selected: a double-click anywhere would start its display.
        const tk::TreeItem uc02 = findItem(tree, {"WP01", "UC02"});
        const tk::TreeItem uc01 = findItem(tree, {"WP01", "UC01"});
        click(tree, uc02);
        QWindow* window = tree.window()->windowHandle();
        const auto inWindow = [&](QPoint p) { return tree.viewport()->mapTo(tree.window(), p); };
        const QRect row = tree.visualRect(tree.indexOf(uc01));
        const QPoint box = inWindow(QPoint(row.left() - tree.indentation() / 2, row.center().y()));
        const QPoint text = inWindow(row.center());
        const QPoint block = inWindow(tree.visualRect(tree.indexOf(tree.childItem(uc01))).center());
        for (const QPoint at : {text, box}) {
            QTest::mousePress(window, Qt::MiddleButton, {}, at);
            QTest::mouseMove(window, block);
            QTest::mouseRelease(window, Qt::MiddleButton, {}, block);
            QTest::mouseDClick(window, Qt::MiddleButton, {}, at);
        }
        QCOMPARE(w->dlg->m_hSelected, uc02);
        QVERIFY(tree.isItemExpanded(uc01));
        QVERIFY(w->launcher.started.empty());
    }

    void emptySpaceActsOnTheLastSelection()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        click(tree, findItem(tree, {"WP01", "UC02"}));
        doubleClick(tree, {});
        QCOMPARE(w->launcher.started, started("UC02"));
    }

    void displayCommandIsTheSameInEveryLanguage()
    {
        for (const QString language : {"C", "de", "fr", "es"}) {
            QTranslator program;
            QCOMPARE(program.load(":/i18n/arbolix_" + language), language != "C");
            QCoreApplication::installTranslator(&program);
            auto w = openExpanded("WP01");
            doubleClick(w->tree(), findItem(w->tree(), {"WP01", "UC01", "AIN1         AIN"}));
            doubleClick(w->tree(), findItem(w->tree(), {"WP01", "UC01"}));
            QCOMPARE(
                w->launcher.started,
                (std::vector<Args>{{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01:AIN1"},
                                   {"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01 CMP"}}));
        }
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
