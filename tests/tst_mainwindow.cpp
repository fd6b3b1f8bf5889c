// The application's run: the option from the command line, the main window, and shutdown.
#include "app/arbolixapp.h"
#include "app/commandoption.h"
#include "app/directoryrelease.h"
#include "dirapi/dirapi_control.h"
#include "directory/listing/zeroedbuffer.h"
#include "display/displaycommand.h"
#include "display/displayutility.h"
#include "search/finddlg.h"
#include "tests/accessibleevents.h"
#include "tests/reference.h"
#include "tests/testsupport.h"
#include "toolkit/modalseam.h"
#include "toolkit/treectrl.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>
#include <cstdlib>
#include <functional>

using namespace testsupport;
using dirapi_control::Function;

namespace {

// Runs InitInstance and, once its window is filled, lets close() act on it.
void runAndClose(const std::function<void(CArbolixDlg&)>& close, std::string* option = nullptr)
{
    std::function<void()> poll;
    poll = [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<CArbolixDlg*>(widget);
            if (dlg && dlg->isVisible() && dlg->isPopulated()) {
                if (option)
                    *option = dlg->m_strCmdOption;
                close(*dlg);
                return;
            }
        }
        QTimer::singleShot(5, poll);
    };
    QTimer::singleShot(0, poll);
    theApp.InitInstance("AB01 extra");
}

// Counts the directory buffers freed before and after an_exit, while it is in place.
struct FreeRecorder
{
    static inline int beforeExit = 0;
    static inline int afterExit = 0;
    FreeRecorder()
    {
        beforeExit = afterExit = 0;
        directory::setZeroedRelease([](void* bytes) {
            ++(dirapi_control::exitCount() == 0 ? beforeExit : afterExit);
            std::free(bytes);
        });
    }
    ~FreeRecorder() { directory::setZeroedRelease(nullptr); }
    FreeRecorder(const FreeRecorder&) = delete;
    FreeRecorder& operator=(const FreeRecorder&) = delete;
};

CArbolixDlg* shownMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dlg = qobject_cast<CArbolixDlg*>(widget))
            return dlg;
    }
    return nullptr;
}

// Opens the main window, the Find window, the context menu or the About box as the operator does
// and lets check() look at it while it is shown and active.
void withOpenWindow(const QString& which, const std::function<void(QWidget&)>& check)
{
    auto w = openMainWindow("WP01 UC01 AIN1 AIN\n");
    CArbolixDlg& dlg = *w->dlg;
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    if (which == "main") {
        check(dlg);
    } else if (which == "find") {
        dlg.OnFind();
        QVERIFY(dlg.m_pFindDlg);
        QApplication::setActiveWindow(dlg.m_pFindDlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg.m_pFindDlg));
        check(*dlg.m_pFindDlg);
    } else if (which == "menu") {
        QTimer::singleShot(0, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                check(*menu);
                menu->close();
            }
        });
        dlg.OnContextMenu(dlg.mapToGlobal(QPoint(20, 20)), dlg.m_hSelected);
    } else {
        tk::ModalSeam::setRunnerForTests([&](tk::Dialog& about) {
            about.show();
            QApplication::setActiveWindow(&about);
            if (QTest::qWaitForWindowActive(&about))
                check(about);
            return 0;
        });
        dlg.OnSysCommand(dlg.aboutMenuCommand());
        tk::ModalSeam::setRunnerForTests(nullptr);
    }
}

QStringList labelNames(QAccessibleInterface* iface)
{
    QStringList names;
    for (const auto& [label, relation] : iface->relations(QAccessible::Label))
        names << label->text(QAccessible::Name);
    return names;
}

int countCalls(Function function)
{
    int n = 0;
    for (const auto& call : dirapi_control::calls())
        n += call.function == function;
    return n;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        dirapi_control::reset();
        dirapi_control::loadPlant("WP01 UC01 AIN1 AIN\n");
    }

    void optionIsTheArgumentsJoinedByBlanks_data() { addOptionRows(); }
    void optionIsTheArgumentsJoinedByBlanks()
    {
        QFETCH(reference::OptionRow, row);
        std::vector<const char*> argv{"arbolix"};
        for (const std::string& argument : row.arguments)
            argv.push_back(argument.c_str());
        const std::string made = commandOption(int(argv.size()), argv.data());
        QCOMPARE(made, row.option);

        // The display command line splits into the operator's arguments again, and the
        // command's own words stay its own.
        QCOMPARE(
            display::splitCommandLine(
                display::displayCommandLine(display::displayUtility(), made, "UC01", "AIN1")),
            reference::displayArguments(display::displayUtility(), row.arguments, "UC01", "AIN1"));
    }

    void exitEscapeAndCloseBoxEachReleaseOnce_data() { addCloseWayRows("Exit"); }
    void exitEscapeAndCloseBoxEachReleaseOnce()
    {
        QFETCH(CloseWay, way);
        std::string option;
        const FreeRecorder frees;
        runAndClose([way](CArbolixDlg& dlg) { closeBy(way, &dlg, dlg.m_btnExit); }, &option);
        QCOMPARE(option, std::string("AB01 extra"));
        QCOMPARE(dirapi_control::exitCount(), 1);
        QCOMPARE(countCalls(Function::GetMaxObj), 1);
        QCOMPARE(countCalls(Function::Exit), 1);
        // All six buffers were freed, each before an_exit, which is the library's last call.
        QCOMPARE(FreeRecorder::beforeExit, 6);
        QCOMPARE(FreeRecorder::afterExit, 0);
        QVERIFY(dirapi_control::calls().back().function == Function::Exit);
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<CArbolixDlg*>(widget));
    }

    void closeBoxDuringThePopulationActsOnceWhenItIsOver()
    {
        std::string plant;
        for (int s = 0; s < 6; ++s)
            plant += "ST" + std::to_string(s) + " UC" + std::to_string(s) + " AIN1 AIN\n";
        dirapi_control::loadPlant(plant);
        dirapi_control::setMaxObj(1);
        int closeRequests = 0;
        int callsAfterTheRequest = 0;
        bool actedDuringPopulation = false;
        int finished = 0;
        std::size_t stationsWhenFinished = 0;
        dirapi_control::setBeforeCall([&](Function f, int) {
            CArbolixDlg* dlg = shownMainWindow();
            if (!dlg || f == Function::Exit)
                return;
            if (closeRequests == 0 && f == Function::AllBlk) {
                QObject::connect(dlg, &QDialog::finished, [&, dlg] {
                    ++finished;
                    stationsWhenFinished = childTexts(*dlg->m_tree).size();
                });
                // The close box goes through close(), the window system's way in.
                ++closeRequests;
                dlg->close();
                return;
            }
            if (closeRequests > 0) {
                ++callsAfterTheRequest;
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                if (!dlg->isVisible() || finished != 0 || dirapi_control::exitCount() != 0)
                    actedDuringPopulation = true;
            }
        });
        // Should the request be lost, Exit ends the run so that the checks below can fail.
        bool requestLost = false;
        QTimer lostRequest;
        lostRequest.setSingleShot(true);
        QObject::connect(&lostRequest, &QTimer::timeout, [&requestLost] {
            requestLost = true;
            if (CArbolixDlg* dlg = shownMainWindow())
                dlg->done(QDialog::Accepted);
        });
        lostRequest.start(20000);
        theApp.InitInstance({});
        dirapi_control::setBeforeCall(nullptr);
        QCOMPARE(closeRequests, 1);
        QVERIFY(!requestLost);
        QVERIFY(callsAfterTheRequest > 3);
        QVERIFY(!actedDuringPopulation);
        // Then the held request ended the run, once, with the whole directory read.
        QCOMPARE(finished, 1);
        QCOMPARE(stationsWhenFinished, std::size_t(6));
        QCOMPARE(dirapi_control::exitCount(), 1);
        QVERIFY(!shownMainWindow());
    }

    void releaseWithoutInitialisationOnlyEndsTheLibrary()
    {
        CArbolixDlg dlg;
        QVERIFY(!dlg.m_pStationNames);
        QCOMPARE(dlg.m_nMaxObj, 0);
        QVERIFY(dlg.m_hSelected.isNull());
        dlg.ReleaseDirectory();
        QCOMPARE(dirapi_control::exitCount(), 1);
    }

    void releaseNotAnsweringForExitReleasesItsOwnWindowOnce()
    {
        auto first = openMainWindow("WP01\n");
        auto second = openMainWindow("WP02\n");
        CArbolixDlg& claimed = *first->dlg;
        CArbolixDlg& other = *second->dlg;
        QVERIFY(claimed.m_pStationNames && other.m_pStationNames);
        {
            // The first answers for exit(); the second cannot while it does.
            DirectoryRelease answering(claimed);
            {
                DirectoryRelease notAnswering(other);
                notAnswering.release();
                notAnswering.release();
                QVERIFY(!other.m_pStationNames);
                QVERIFY(claimed.m_pStationNames);
                QCOMPARE(dirapi_control::exitCount(), 1);
            }
            QVERIFY(claimed.m_pStationNames);
            QCOMPARE(dirapi_control::exitCount(), 1);
        }
        QVERIFY(!claimed.m_pStationNames);
        QCOMPARE(dirapi_control::exitCount(), 2);
    }

    void releaseFreesAllSixBuffers()
    {
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        QVERIFY(dlg.m_pStationNames && dlg.m_pStationInfo && dlg.m_pStationWords &&
                dlg.m_pCompoundNames && dlg.m_pBlockNames && dlg.m_pBlockInfo);
        dlg.ReleaseDirectory();
        QVERIFY(!dlg.m_pStationNames && !dlg.m_pStationInfo && !dlg.m_pStationWords &&
                !dlg.m_pCompoundNames && !dlg.m_pBlockNames && !dlg.m_pBlockInfo);
        QCOMPARE(dirapi_control::exitCount(), 1);
    }

    void everyWindowAndControlIsAnnounced_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control"); // empty: the window itself
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("focused"); // right after the window opened

        const int button = QAccessible::Button;
        const int field = QAccessible::EditableText;
        QTest::newRow("main") << "main"
                              << "" << int(QAccessible::Dialog) << "Arbolix" << QStringList() << ""
                              << false;
        QTest::newRow("Exit") << "main"
                              << "ctl1" << button << "Exit" << QStringList() << "" << true;
        QTest::newRow("tree") << "main"
                              << "ctl1000" << int(QAccessible::Tree) << "Object directory"
                              << QStringList() << "" << false;
        QTest::newRow("Find...") << "main"
                                 << "ctl1004" << button << "Find..." << QStringList() << ""
                                 << false;
        QTest::newRow("find") << "find"
                              << "" << int(QAccessible::Dialog) << "Find station, compound or block"
                              << QStringList() << "" << false;
        QTest::newRow("Find") << "find"
                              << "ctl1" << button << "Find" << QStringList() << "" << true;
        QTest::newRow("station") << "find"
                                 << "ctl1003" << field << "Station:" << QStringList{"Station:"}
                                 << "at most 6 characters" << false;
        QTest::newRow("compound") << "find"
                                  << "ctl1004" << field << "Compound:" << QStringList{"Compound:"}
                                  << "at most 12 characters" << false;
        QTest::newRow("block") << "find"
                               << "ctl1005" << field << "Block:" << QStringList{"Block:"}
                               << "at most 12 characters" << false;
        QTest::newRow("Close") << "find"
                               << "ctl1006" << button << "Close" << QStringList() << "" << false;
        QTest::newRow("menu") << "menu"
                              << "" << int(QAccessible::PopupMenu) << "Object menu" << QStringList()
                              << "" << false;
        QTest::newRow("about") << "about"
                               << "" << int(QAccessible::Dialog) << "About Arbolix" << QStringList()
                               << "" << false;
        QTest::newRow("OK") << "about"
                            << "ctl1" << button << "OK" << QStringList() << "" << true;
        QTest::newRow("de: compound") << "find"
                                      << "ctl1004" << field << "Verbund:" << QStringList{"Verbund:"}
                                      << "höchstens 12 Zeichen" << false;
        QTest::newRow("fr: tree") << "main"
                                  << "ctl1000" << int(QAccessible::Tree) << "Répertoire des objets"
                                  << QStringList() << "" << false;
        QTest::newRow("es: menu") << "menu"
                                  << "" << int(QAccessible::PopupMenu) << "Menú del objeto"
                                  << QStringList() << "" << false;
    }

    void everyWindowAndControlIsAnnounced()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QStringList, labels);
        QFETCH(QString, description);
        QFETCH(bool, focused);
        QTranslator program; // rows "de: ..." run in that language
        if (const QString tag = QTest::currentDataTag(); tag.contains(u':')) {
            QVERIFY(program.load(":/i18n/arbolix_" + tag.section(u':', 0, 0)));
            QCoreApplication::installTranslator(&program);
        }
        bool checked = false;
        withOpenWindow(window, [&](QWidget& shown) {
            QWidget* widget = control.isEmpty() ? &shown : shown.findChild<QWidget*>(control);
            QVERIFY(widget);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(iface);
            QCOMPARE(int(iface->role()), role);
            QCOMPARE(iface->text(QAccessible::Name), name);
            QCOMPARE(labelNames(iface), labels);
            QCOMPARE(iface->text(QAccessible::Description), description);
            QCOMPARE(bool(iface->state().focused), focused);
            checked = true;
        });
        QVERIFY(checked);
    }

    void tabIntoTheTreeLeavesTheReaderOnTheCurrentRow()
    {
        testsupport::AccessibleEvents events;
        auto w = openMainWindow("WP01 UC01 AIN1 AIN\nWP02\n");
        CArbolixDlg& dlg = *w->dlg;
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QVERIFY(dlg.m_btnExit->hasFocus());
        events.take();
        QTest::keyClick(dlg.m_btnExit, Qt::Key_Tab);
        QCoreApplication::processEvents();
        const QStringList heard = events.take();
        // Qt names the row, then the tree; the row must be named last, where the reader stays.
        QVERIFY(!heard.isEmpty());
        QCOMPARE(heard.last(), QString("focus row WP01"));
    }

    void windowFollowsItsTemplate()
    {
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        QCOMPARE(dlg.windowTitle(), QString("Arbolix"));
        QCOMPARE(dlg.m_btnExit->text(), QString("Exit"));
        QCOMPARE(dlg.m_btnFind->text(), QString("Find..."));
        QVERIFY(dlg.m_btnFind->isDefault());
        QVERIFY(!dlg.m_btnExit->isDefault());
        QVERIFY(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
        // Focus starts on Exit; Tab goes through the template's order: Exit, tree, Find...
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.m_btnExit));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.m_tree));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.m_btnFind));
        // The tree's font is fixed-pitch, so the info column lines up.
        QVERIFY(QFontInfo(dlg.m_tree->font()).fixedPitch());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
