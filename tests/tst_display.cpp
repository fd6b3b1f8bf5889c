// Double-clicking a compound or a block starts the display command for the selected item.
#include "app/commandoption.h"
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

    void optionKeepsTheOperatorsArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << QStringList{} << QStringList{"-"};
        QTest::newRow("one word") << QStringList{"WP01"} << QStringList{"-WP01"};
        QTest::newRow("two words") << QStringList{"AB01", "extra"} << QStringList{"-AB01", "extra"};
        QTest::newRow("a blank inside") << QStringList{"AB 01"} << QStringList{"-AB 01"};
        QTest::newRow("a tab inside") << QStringList{"AB\t01", "x"} << QStringList{"-AB\t01", "x"};
        QTest::newRow("a quote and a blank") << QStringList{"x\"y z"} << QStringList{"-x\"y z"};
        QTest::newRow("an empty one") << QStringList{"A", "", "B"} << QStringList{"-A", "", "B"};
        QTest::newRow("an empty first one") << QStringList{"", "B"} << QStringList{"-", "B"};
        QTest::newRow("reaching for the command's words")
            << QStringList{"a\" DMCMD \"stddisp EVIL:X"}
            << QStringList{"-a\" DMCMD \"stddisp EVIL:X"};
        QTest::newRow("backslashes")
            << QStringList{"\\\"", "b\\ c\\"} << QStringList{"-\\\"", "b\\ c\\"};
    }
    void optionKeepsTheOperatorsArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        std::vector<std::string> words{"arbolix"};
        for (const QString& argument : arguments)
            words.push_back(argument.toStdString());
        std::vector<const char*> argv;
        for (const std::string& word : words)
            argv.push_back(word.c_str());
        auto w = openExpanded(commandOption(int(argv.size()), argv.data()));
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
        QCOMPARE(w->launcher.started,
                 (std::vector<Args>{{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC02 CMP"}}));
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
