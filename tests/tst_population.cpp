// The first timer tick fills the tree from the directory, behind the Initializing window.
#include "dirapi/dirapi_control.h"
#include "directory/initdlg.h"
#include "tests/testsupport.h"
#include "toolkit/treectrl.h"

#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace testsupport;
using dirapi_control::Function;

namespace {

const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC01 PIDA1 PIDA\n"
                           "WP01 UC02\n"
                           "WP01 BOILER_FEED1 ABCDEFGHIJKL CALC\n"
                           "AW01\n"
                           "AW02 UC03 DOUT1 DOUT\n";

// Records the progress bar while the population runs, from inside the library's calls.
struct ProgressProbe
{
    int maximum = -1;
    int value = -1;
};

} // namespace

class TestPopulation : public QObject
{
    Q_OBJECT
private slots:
    void init() { dirapi_control::reset(); }
    void cleanup() { dirapi_control::reset(); }

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
        // What the operator sees is decoded, with a replacement character for the odd byte.
        const QString shown = w->tree().indexOf(station).data().toString();
        QVERIFY(shown.contains(QChar::ReplacementCharacter));
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
        std::string plant;
        for (int i = 0; i < n + 3; ++i)
            plant += "S" + std::to_string(i) + "\n";
        auto w = openMainWindow(plant, n, {}, false);
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
        std::string plant;
        for (int i = 0; i < stations; ++i)
            plant += "S" + std::to_string(i) + "\n";
        auto w = openMainWindow(plant, 256, {}, false);
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

    void noBuffersMeansAnEmptyDirectoryWithoutListingCalls_data()
    {
        QTest::addColumn<int>("maxObj");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -7;
    }
    void noBuffersMeansAnEmptyDirectoryWithoutListingCalls()
    {
        QFETCH(int, maxObj);
        auto w = openMainWindow(kPlant, maxObj);
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
        auto w = openMainWindow(kPlant);
        directory::setZeroedAllocator(nullptr);
        QVERIFY(!w->dlg->m_pStationNames);
        QVERIFY(!w->dlg->m_pBlockInfo);
        QVERIFY(!w->tree().rootItem());
        w->dlg->ReleaseDirectory();
        QCOMPARE(dirapi_control::exitCount(), 1);
    }
};

QTEST_MAIN(TestPopulation)
#include "tst_population.moc"
