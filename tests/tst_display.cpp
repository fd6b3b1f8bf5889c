// Double-clicking a compound or a block starts the display command for the selected item.
#include "dirapi/dirapi_control.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"

#include <QtTest>

using namespace testsupport;
using Action = tk::TreeCtrl::ExpandAction;
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
    tree.expandItem(findItem(tree, {"WP01"}), Action::Expand);
    tree.expandItem(findItem(tree, {"WP01", "UC01"}), Action::Expand);
    return w;
}

} // namespace

class TestDisplay : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { dirapi_control::reset(); }

    void blockDoubleClickStartsTheBlockDisplay()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        doubleClick(tree, findItem(tree, {"WP01", "UC01", "AIN1         AIN"}));
        QCOMPARE(w->launcher.started,
                 (std::vector<Args>{{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01:AIN1"}}));
    }

    void compoundDoubleClickStartsTheCompoundDisplayAndTogglesIt()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem uc01 = findItem(tree, {"WP01", "UC01"});
        QVERIFY(tree.isItemExpanded(uc01));
        doubleClick(tree, uc01);
        QCOMPARE(w->launcher.started,
                 (std::vector<Args>{{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01 CMP"}}));
        // The tree's own double-click handling went on: the compound closed.
        QVERIFY(!tree.isItemExpanded(uc01));
    }

    void optionFormsTheHyphenArguments_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << QString() << QStringList{"-"};
        QTest::newRow("two words") << QString("AB01 extra") << QStringList{"-AB01", "extra"};
    }
    void optionFormsTheHyphenArguments()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, expected);
        auto w = openExpanded(option.toStdString());
        tk::TreeCtrl& tree = w->tree();
        doubleClick(tree, findItem(tree, {"WP01", "UC01", "ABCDEFGHIJKL PIDA"}));
        Args args{"/usr/local/pref"};
        for (const QString& part : expected)
            args.push_back(part.toStdString());
        args.push_back("DMCMD");
        args.push_back("stddisp UC01:ABCDEFGHIJKL"); // a 12-character name is cut whole
        QCOMPARE(w->launcher.started, std::vector<Args>{args});
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

    void emptySpaceActsOnTheLastSelection()
    {
        auto w = openExpanded("WP01");
        tk::TreeCtrl& tree = w->tree();
        click(tree, findItem(tree, {"WP01", "UC02"}));
        doubleClick(tree, {});
        QCOMPARE(w->launcher.started,
                 (std::vector<Args>{{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC02 CMP"}}));
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
