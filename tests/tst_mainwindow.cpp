// The application's run: the option from the command line, the main window, and shutdown.
#include "app/arbolixapp.h"
#include "app/commandoption.h"
#include "dirapi/dirapi_control.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>
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

    void optionIsTheArgumentsJoinedByBlanks()
    {
        const char* none[] = {"arbolix"};
        QCOMPARE(commandOption(1, none), std::string());
        const char* one[] = {"arbolix", "WP01"};
        QCOMPARE(commandOption(2, one), std::string("WP01"));
        const char* two[] = {"/usr/bin/arbolix", "AB01", "extra"};
        QCOMPARE(commandOption(3, two), std::string("AB01 extra"));
        // Nothing is parsed: toolkit-looking options and blanks inside arguments are kept.
        const char* odd[] = {"arbolix", "-style", "fusion", "a b", ""};
        QCOMPARE(commandOption(5, odd), std::string("-style fusion a b "));
    }

    void exitEscapeAndCloseBoxEachReleaseOnce_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Exit") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void exitEscapeAndCloseBoxEachReleaseOnce()
    {
        QFETCH(int, how);
        std::string option;
        runAndClose(
            [how](CArbolixDlg& dlg) {
                if (how == 0)
                    QTest::mouseClick(dlg.m_btnExit, Qt::LeftButton);
                else if (how == 1)
                    QTest::keyClick(&dlg, Qt::Key_Escape);
                else
                    dlg.close();
            },
            &option);
        QCOMPARE(option, std::string("AB01 extra"));
        QCOMPARE(dirapi_control::exitCount(), 1);
        QCOMPARE(countCalls(Function::GetMaxObj), 1);
        QCOMPARE(countCalls(Function::Exit), 1);
        // an_exit is the last call: the buffers were freed before it.
        QVERIFY(dirapi_control::calls().back().function == Function::Exit);
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<CArbolixDlg*>(widget));
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
