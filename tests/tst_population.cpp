// The first timer tick fills the tree from the directory, behind the Initializing window.
#include "dirapi/dirapi_control.h"
#include "directory/initdlg.h"
#include "tests/dirapiclient.h"
#include "tests/numberedname.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"

#include <QAbstractEventDispatcher>
#include <QMetaEnum>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

using namespace testsupport;
using dirapi_control::Function;

namespace {

const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC01 PIDA1 PIDA\n"
                           "WP01 UC02\n"
                           "WP01 BOILER_FEED1 ABCDEFGHIJKL CALC\n"
                           "AW01\n"
                           "AW02 UC03 DOUT1 DOUT\n";

// A plant of stations S0, S1, ... and nothing below them.
std::string stationsOnly(int count)
{
    std::string plant;
    for (int i = 0; i < count; ++i)
        plant += numbered("S", i, "\n");
    return plant;
}

// Records the progress bar while the population runs, from inside the library's calls.
struct ProgressProbe
{
    int maximum = -1;
    int value = -1;
};

// Calls back for every event of one type that reaches the watched object, and may take it.
class EventProbe : public QObject
{
public:
    EventProbe(QObject* watched, QEvent::Type type, std::function<bool()> onEvent)
        : m_type(type), m_onEvent(std::move(onEvent))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != m_type || !m_onEvent())
            return false;
        event->accept(); // taken, as a widget takes input it handles
        return true;
    }

private:
    QEvent::Type m_type;
    std::function<bool()> m_onEvent;
};

// One event of each kind of input the operator can give, aimed at a widget.
QEvent* inputEvent(QEvent::Type type, QWidget* target)
{
    const QPointF at(5, 5);
    const QPointF global = target->mapToGlobal(at);
    const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return new QKeyEvent(type, Qt::Key_End, Qt::NoModifier);
    case QEvent::Shortcut:
        return new QShortcutEvent(QKeySequence(QKeySequence::Copy), 0);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return new QMouseEvent(type, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    case QEvent::MouseButtonRelease:
        return new QMouseEvent(type, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    case QEvent::Wheel:
        return new QWheelEvent(at, global, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                               Qt::NoScrollPhase, false);
    case QEvent::ContextMenu:
        return new QContextMenuEvent(QContextMenuEvent::Keyboard, at.toPoint(), global.toPoint());
    case QEvent::TouchBegin:
        return new QTouchEvent(type, mouse);
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return new QTabletEvent(type, mouse, at, global, 0.5, 0, 0, 0, 0, 0, Qt::NoModifier,
                                Qt::LeftButton, Qt::LeftButton);
    default:
        return nullptr;
    }
}

} // namespace

class TestPopulation : public MainWindowSuite
{
    Q_OBJECT
private slots:
    void init() { dirapi_control::reset(); }

    void wholePlantLandsInTheTreeInOrder()
    {
        auto w = openMainWindow(kPlant);
        QCOMPARE(dumpTree(w->tree()), std::string("WP01\n"
                                                  "  UC01\n"
                                                  "    AIN1         AIN\n"
                                                  "    PIDA1        PIDA\n"
                                                  "  UC02\n"
                                                  "  BOILER_FEED1\n"
                                                  "    ABCDEFGHIJKL CALC\n"
                                                  "AW01\n"
                                                  "AW02\n"
                                                  "  UC03\n"
                                                  "    DOUT1        DOUT\n"));
        // Initialisation sized the buffers by N and the Initializing window is gone.
        QVERIFY(w->dlg->m_pCompoundNames);
        QVERIFY(!w->dlg->m_pInitDlg);
    }

    void namesKeepTheirBytesExactly()
    {
        // Latin-1 bytes that are not valid UTF-8 must survive into the store unchanged.
        const std::string plant = "ST\xC4"
                                  "1 C\xD6MP B\xDC"
                                  "1 \xB5X\n";
        auto w = openMainWindow(plant);
        const tk::TreeItem station = w->tree().rootItem();
        QCOMPARE(w->tree().itemText(station), std::string_view("ST\xC4"
                                                               "1"));
        const tk::TreeItem compound = w->tree().childItem(station);
        QCOMPARE(w->tree().itemText(compound), std::string_view("C\xD6MP"));
        const tk::TreeItem block = w->tree().childItem(compound);
        QCOMPARE(w->tree().itemText(block), std::string_view("B\xDC"
                                                             "1          \xB5X"));
        // What the operator sees is decoded: bytes that are no UTF-8 as Latin-1, none lost.
        const QString shown = w->tree().indexOf(station).data().toString();
        QCOMPARE(shown, QString::fromLatin1("ST\xC4"
                                            "1"));
    }

    void itemsWithoutChildrenHaveNoExpandButton()
    {
        auto w = openMainWindow(kPlant);
        tk::TreeCtrl& tree = w->tree();
        QVERIFY(!tree.itemHasChildren(findItem(tree, {"AW01"})));
        QVERIFY(!tree.itemHasChildren(findItem(tree, {"WP01", "UC02"})));
        QVERIFY(tree.itemHasChildren(findItem(tree, {"WP01", "UC01"})));
        const QModelIndex leaf = tree.indexOf(findItem(tree, {"AW01"}));
        QVERIFY(!tree.model()->hasChildren(leaf));
        const QModelIndex block = tree.indexOf(findItem(tree, {"WP01"}));
        QVERIFY(tree.model()->hasChildren(block));
    }

    void progressCountsStationsOverBatches()
    {
        // N stations in one batch and 3 in the next: range and steps are N + 3.
        const int n = 4;
        auto w = openMainWindow(stationsOnly(n + 3), n, {}, false);
        int steps = 0;
        int maximum = -1;
        QProgressBar* watched = nullptr;
        dirapi_control::setBeforeCall([&](Function, int) {
            QProgressBar* bar = w->dlg->m_pInitDlg ? w->dlg->m_pInitDlg->m_progress : nullptr;
            if (bar && bar != watched) {
                watched = bar;
                QObject::connect(bar, &QProgressBar::valueChanged, [&](int) { ++steps; });
            }
            if (bar)
                maximum = bar->maximum();
        });
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated(); }));
        dirapi_control::setBeforeCall(nullptr);
        QVERIFY(watched);
        QCOMPARE(maximum, n + 3);
        QCOMPARE(steps, n + 3);
        QCOMPARE(childTexts(w->tree()).size(), std::size_t(n + 3));
    }

    void progressRangeIsTheWholeTotalOrAnEmptyBar_data()
    {
        QTest::addColumn<int>("stations");
        QTest::addColumn<int>("maximum");
        // 65,536 stations must not wrap to an empty range.
        QTest::newRow("beyond 16 bits") << 65538 << 65538;
        QTest::newRow("none") << 0 << 1;
    }
    void progressRangeIsTheWholeTotalOrAnEmptyBar()
    {
        QFETCH(int, stations);
        QFETCH(int, maximum);
        auto w = openMainWindow(stationsOnly(stations), 256, {}, false);
        int seenMaximum = -1;
        int seenValue = -1;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (f == Function::AllSta && w->dlg->m_pInitDlg && w->dlg->m_pInitDlg->m_progress) {
                seenMaximum = w->dlg->m_pInitDlg->m_progress->maximum();
                seenValue = w->dlg->m_pInitDlg->m_progress->value();
            }
        });
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated(); }));
        dirapi_control::setBeforeCall(nullptr);
        QCOMPARE(seenMaximum, maximum);
        // Never the busy animation a 0 .. 0 range gives; an empty directory shows an empty bar.
        QVERIFY(seenValue >= 0);
        QCOMPARE(childTexts(w->tree()).size(), std::size_t(stations));
    }

    void failedCompoundListingKeepsWhatItInsertedAndGoesOn()
    {
        std::string plant;
        for (int i = 0; i < 5; ++i)
            plant += "WP01 C" + std::to_string(i) + " B1 AIN\n";
        plant += "WP02 D1 B1 AIN\n";
        dirapi_control::reset();
        auto w = openMainWindow(plant, 2, {}, false);
        dirapi_control::failCall(Function::AllCmp, 2); // after the first batch of WP01
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated(); }));
        tk::TreeCtrl& tree = w->tree();
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01"})),
                 (std::vector<std::string>{"C0", "C1"}));
        QCOMPARE(childTexts(tree, findItem(tree, {"WP01", "C1"})),
                 (std::vector<std::string>{"B1           AIN"}));
        QCOMPARE(childTexts(tree, findItem(tree, {"WP02"})), (std::vector<std::string>{"D1"}));
    }

    void failedCountingPassStillLists()
    {
        auto w = openMainWindow(kPlant, 256, {}, false);
        dirapi_control::failCall(Function::AllSta, 1);
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated(); }));
        QCOMPARE(childTexts(w->tree()), (std::vector<std::string>{"WP01", "AW01", "AW02"}));
    }

    void nothingReachesTheWindowBeforeThePopulationEnds()
    {
        auto w = openMainWindow(kPlant, 1, {}, false);
        CArbolixDlg* dlg = w->dlg.get();
        bool exitClicked = false;
        QObject::connect(dlg->m_btnExit, &QPushButton::clicked, [&] { exitClicked = true; });
        bool queued = false;
        bool handledDuringPopulation = false;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (!queued && f == Function::AllBlk) {
                queued = true;
                const QPoint centre = dlg->m_btnExit->rect().center();
                QCoreApplication::postEvent(
                    dlg->m_tree, new QKeyEvent(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier));
                QCoreApplication::postEvent(dlg->m_btnExit,
                                            new QMouseEvent(QEvent::MouseButtonPress, centre,
                                                            dlg->m_btnExit->mapToGlobal(centre),
                                                            Qt::LeftButton, Qt::LeftButton,
                                                            Qt::NoModifier));
                QCoreApplication::postEvent(
                    dlg->m_btnExit, new QMouseEvent(QEvent::MouseButtonRelease, centre,
                                                    dlg->m_btnExit->mapToGlobal(centre),
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
                QCoreApplication::postEvent(dlg, new QCloseEvent);
            }
            // Many later calls let pending events through; none of them may have acted.
            if (queued && (exitClicked || !dlg->isVisible() || dlg->m_tree->selectedItem()))
                handledDuringPopulation = true;
            if (queued)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        QVERIFY(QTest::qWaitFor([&] { return dlg->isPopulated(); }));
        dirapi_control::setBeforeCall(nullptr);
        QVERIFY(queued);
        QVERIFY(!handledDuringPopulation);
        // Afterwards they are handled, in order.
        QVERIFY(QTest::qWaitFor([&] { return exitClicked; }));
        QVERIFY(QTest::qWaitFor([&] { return !dlg->isVisible(); }));
    }

    void everyKindOfInputIsHeldUntilThePopulationEnds_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("inTree");
        for (QEvent::Type type :
             {QEvent::KeyPress, QEvent::KeyRelease, QEvent::ShortcutOverride, QEvent::Shortcut,
              QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
              QEvent::Wheel, QEvent::ContextMenu, QEvent::TouchBegin, QEvent::TabletPress,
              QEvent::TabletRelease})
            QTest::addRow("%s", QMetaEnum::fromType<QEvent::Type>().valueToKey(type))
                << int(type) << false;
        QTest::newRow("click in the tree") << int(QEvent::MouseButtonPress) << true;
    }
    void everyKindOfInputIsHeldUntilThePopulationEnds()
    {
        QFETCH(int, type);
        QFETCH(bool, inTree);
        const int deliveredAfterwards = inTree ? 0 : 1; // the rows came in under the pointer
        auto w = openMainWindow(kPlant, 1, {}, false);
        CArbolixDlg* dlg = w->dlg.get();
        QWidget* target = inTree ? dlg->m_tree->viewport() : dlg->m_btnFind;
        target->setAttribute(Qt::WA_AcceptTouchEvents); // as the tree's viewport does
        int duringPopulation = 0;
        int afterwards = 0;
        // On the widget and every parent that Qt offers input to which a child left unaccepted.
        // Eaten once counted: what the event would do afterwards is not this test's business.
        std::vector<std::unique_ptr<EventProbe>> probes;
        for (QWidget* widget = target; widget; widget = widget->parentWidget()) {
            probes.push_back(std::make_unique<EventProbe>(widget, QEvent::Type(type), [&] {
                ++(dlg->m_pInitDlg ? duringPopulation : afterwards);
                return true;
            }));
        }
        bool posted = false;
        int callsAfterPosting = 0;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (!posted && f == Function::AllBlk) {
                posted = true;
                QCoreApplication::postEvent(target, inputEvent(QEvent::Type(type), target));
            } else if (posted) {
                ++callsAfterPosting;
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        });
        QVERIFY(QTest::qWaitFor([&] { return dlg->isPopulated() && !dlg->m_pInitDlg; }));
        dirapi_control::setBeforeCall(nullptr);
        QVERIFY(callsAfterPosting > 3);
        QCOMPARE(duringPopulation, 0);
        // Held, not dropped, and delivered once: not once more for every parent of the target.
        QTRY_VERIFY(afterwards >= deliveredAfterwards);
        QTest::qWait(20);
        QCOMPARE(afterwards, deliveredAfterwards);
    }

    void populationLeavesNoTimerRunning()
    {
        auto w = openMainWindow(kPlant);
        QTest::qWait(50); // the views' own one-off timers fire and stop
        // A zero-period timer left running would wake the program for ever with nothing to do.
        QList<QObject*> objects = w->dlg->findChildren<QObject*>();
        objects.prepend(w->dlg.get());
        for (QObject* object : objects) {
            const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(object);
            for (const QAbstractEventDispatcher::TimerInfo& timer : timers)
                QVERIFY2(timer.interval > 0, object->metaObject()->className());
        }
    }

    void initializingWindowShowsTheBarAdvancingWhileTheDirectoryIsSlow()
    {
        std::string plant;
        for (int i = 0; i < 12; ++i)
            plant += numbered("S", i, numbered(" UC", i, " AIN1 AIN\n"));
        auto w = openMainWindow(plant, 256, {}, false);
        std::unique_ptr<EventProbe> probe;
        std::vector<int> paintedValues;
        dirapi_control::setBeforeCall([&](Function, int) {
            QProgressBar* bar = w->dlg->m_pInitDlg ? w->dlg->m_pInitDlg->m_progress : nullptr;
            if (bar && !probe) {
                probe = std::make_unique<EventProbe>(bar, QEvent::Paint, [&paintedValues, bar] {
                    paintedValues.push_back(bar->value());
                    return false;
                });
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(15)); // a slow network
        });
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated() && !w->dlg->m_pInitDlg; }));
        dirapi_control::setBeforeCall(nullptr);
        QVERIFY(probe);
        // The bar was painted while the tree filled, and not only at its start.
        QVERIFY(!paintedValues.empty());
        QVERIFY2(*std::max_element(paintedValues.begin(), paintedValues.end()) > 0,
                 qPrintable(QString::number(paintedValues.size())));
    }

    void initializingWindowRepaintsBetweenTheListingCallsOfOneStation()
    {
        std::string plant;
        for (int i = 0; i < 8; ++i)
            plant += numbered("S1 UC", i, " AIN1 AIN\n");
        auto w = openMainWindow(plant, 256, {}, false);
        bool posted = false;
        bool ran = false;
        bool ranBeforeLastCall = false;
        int blockCalls = 0;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (f == Function::AllCmp && !posted) {
                posted = true;
                QMetaObject::invokeMethod(
                    w->dlg.get(), [&] { ran = true; }, Qt::QueuedConnection);
            }
            if (f == Function::AllBlk && ++blockCalls == 8)
                ranBeforeLastCall = ran;
            std::this_thread::sleep_for(std::chrono::milliseconds(15)); // a slow network
        });
        QVERIFY(QTest::qWaitFor([&] { return w->dlg->isPopulated() && !w->dlg->m_pInitDlg; }));
        dirapi_control::setBeforeCall(nullptr);
        QCOMPARE(blockCalls, 8);
        // Queued with the repaints of the window, it ran while the one station was being read.
        QVERIFY(ranBeforeLastCall);
    }

    void endingStopsThePopulationBeforeItsNextCallKeepingWhatWasInserted()
    {
        auto w = openMainWindow(kPlant, 1, {}, false);
        CArbolixDlg* dlg = w->dlg.get();
        std::size_t callsWhenEnded = 0;
        dirapi_control::setBeforeCall([&](Function f, int) {
            if (f == Function::AllBlk && callsWhenEnded == 0) {
                // What a termination request does, with a click on Find... held before it.
                QWidget* find = dlg->m_btnFind;
                const QPoint centre = find->rect().center();
                for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        find, new QMouseEvent(
                                  type, centre, find->mapToGlobal(centre), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::NoModifier));
                dlg->EndListing();
                dlg->close();
                callsWhenEnded = dirapi_control::calls().size();
            }
        });
        QVERIFY(QTest::qWaitFor([&] { return dlg->isPopulated() && !dlg->m_pInitDlg; }));
        dirapi_control::setBeforeCall(nullptr);
        // The call under way ended, its batch was taken whole, and no call followed.
        QCOMPARE(dirapi_control::calls().size(), callsWhenEnded);
        QCOMPARE(dumpTree(w->tree()), std::string("WP01\n  UC01\n    AIN1         AIN\n"));
        // The window closes as Exit closes it; the click held meanwhile never acts.
        QTRY_VERIFY(!dlg->isVisible());
        QTest::qWait(20);
        QVERIFY(dlg->m_pFindDlg.isNull());
    }

    void noBuffersMeansAnEmptyDirectoryWithoutListingCalls_data()
    {
        QTest::addColumn<int>("maxObj");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -7;
    }
    void noBuffersMeansAnEmptyDirectoryWithoutListingCalls()
    {
        QFETCH(int, maxObj);
        dirapiclient::StderrCapture capture;
        auto w = openMainWindow(kPlant, maxObj);
        QCOMPARE(capture.text(), "arbolix: unusable batch size " + std::to_string(maxObj) +
                                     " from get_maxobj; the directory is shown empty\n");
        QVERIFY(!w->dlg->m_pStationNames);
        QVERIFY(!w->tree().rootItem());
        for (const auto& call : dirapi_control::calls())
            QVERIFY(call.function == Function::GetMaxObj);
        w->dlg->ReleaseDirectory();
        QCOMPARE(dirapi_control::exitCount(), 1);
    }

    void failedAllocationGivesAnEmptyDirectory()
    {
        static int allocations;
        allocations = 0;
        directory::setZeroedAllocator([](std::size_t count, std::size_t size) -> void* {
            return ++allocations == 4 ? nullptr : std::calloc(count, size);
        });
        dirapiclient::StderrCapture capture;
        auto w = openMainWindow(kPlant);
        directory::setZeroedAllocator(nullptr);
        QCOMPARE(capture.text(),
                 std::string("arbolix: no memory for buffers of batch size 256 from "
                             "get_maxobj; the directory is shown empty\n"));
        QVERIFY(!w->dlg->m_pStationNames);
        QVERIFY(!w->dlg->m_pBlockInfo);
        QVERIFY(!w->tree().rootItem());
        w->dlg->ReleaseDirectory();
        QCOMPARE(dirapi_control::exitCount(), 1);
    }
};

QTEST_MAIN(TestPopulation)
#include "tst_population.moc"
