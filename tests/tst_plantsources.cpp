// The plants the environment chooses: generated from a size, the built-in demo plant, and N.
#include "dirapi/dirapi_control.h"
#include "directory/dirapi.h"
#include "tests/dirapiclient.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace dirapiclient;
namespace control = dirapi_control;

namespace {

using Names = std::vector<std::string>;

void clearEnvironment()
{
    for (const char* name :
         {"DIRAPI_FILE", "DIRAPI_DEMO", "DIRAPI_MAXOBJ", "DIRAPI_DELAY_MS", "DIRAPI_TRACE"})
        ::unsetenv(name);
}

} // namespace

class TestPlantSources : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        clearEnvironment();
        control::reset();
    }
    void cleanupTestCase()
    {
        clearEnvironment();
        control::reset();
    }

    void generatedPlantNamesFollowTheirIndices()
    {
        control::loadGeneratedPlant(3, 4, 7);
        QCOMPARE(listAll(Level::Stations).names, (Names{"CP0001", "AW0002", "WP0003"}));
        QCOMPARE(listAll(Level::Compounds, "AW0002").names,
                 (Names{"AW0002_U0001", "AW0002_L0002", "AW0002_M0003", "AW0002_T0004"}));
        const FullListing blocks = listAll(Level::Blocks, "WP0003_T0004", 4);
        QCOMPARE(blocks.batchCounts, (std::vector<int32_t>{4, 3}));
        QCOMPARE(blocks.names, (Names{"AIN1", "AOUT1", "PIDA1", "CALC1", "DIN1", "DOUT1", "AIN2"}));
        QCOMPARE(blocks.info, (Names{"AIN", "AOUT", "PIDA", "CALC", "DIN", "DOUT", "AIN"}));
    }

    void generatedPlantKnowsOnlyItsOwnNames()
    {
        control::loadGeneratedPlant(3, 4, 7);
        for (const char* station : {"CP0004", "AW0001", "CP0000", "CP001", "CP00011"})
            QVERIFY2(listAll(Level::Compounds, station).result != 0, station);
        for (const char* compound :
             {"CP0001_U0005", "CP0001_L0001", "CP0004_U0001", "CP0001-U0001", "CP0001_U001"})
            QVERIFY2(listAll(Level::Blocks, compound).result != 0, compound);
    }

    void generatedPlantFromTheEnvironmentHasTheGivenSize()
    {
        ::setenv("DIRAPI_DEMO", "100x100x100", 1);
        control::reset();
        const FullListing stations = listAll(Level::Stations);
        QCOMPARE(stations.names.size(), std::size_t(100));
        QCOMPARE(stations.names.back(), std::string("FC0100"));
        const FullListing compounds = listAll(Level::Compounds, "FC0100");
        QCOMPARE(compounds.names.size(), std::size_t(100));
        QCOMPARE(compounds.names.back(), std::string("FC0100_T0100"));
        const FullListing blocks = listAll(Level::Blocks, "FC0100_T0100");
        QCOMPARE(blocks.names.size(), std::size_t(100));
        QCOMPARE(blocks.names.back(), std::string("CALC17"));
        QCOMPARE(blocks.info.back(), std::string("CALC"));
    }

    void malformedDemoSizeIsReportedAndTheBuiltinPlantUsed()
    {
        const Names builtin = listAll(Level::Stations).names;
        for (const char* size : {"12x", "1x2x3x4", "ax2x3", "10000x1x1", "-1x1x1", "1x1x1000000"}) {
            ::setenv("DIRAPI_DEMO", size, 1);
            StderrCapture capture;
            control::reset();
            const std::string errors = capture.text();
            QVERIFY2(errors.starts_with("DIRAPI_DEMO: malformed value '" + std::string(size) + "'"),
                     errors.c_str());
            QCOMPARE(std::count(errors.begin(), errors.end(), '\n'), 1);
            QCOMPARE(listAll(Level::Stations).names, builtin);
        }
    }

    void builtinPlantIsASmallRealisticPlant()
    {
        const FullListing stations = listAll(Level::Stations);
        QCOMPARE(stations.result, 0);
        QCOMPARE(Names(stations.names.begin(), stations.names.begin() + 3),
                 (Names{"WP01", "WP02", "AW01"}));

        const std::set<std::string> types{"AIN", "AOUT", "PIDA", "CALC", "DIN", "DOUT"};
        int stationsWithoutCompounds = 0;
        int compounds = 0;
        int compoundsWithoutBlocks = 0;
        int compoundsWithAin = 0;
        int twelveCharacterNames = 0;
        std::size_t blocks = 0;
        for (const std::string& station : stations.names) {
            const FullListing compoundList = listAll(Level::Compounds, station);
            QCOMPARE(compoundList.result, 0);
            stationsWithoutCompounds += compoundList.names.empty();
            for (const std::string& compound : compoundList.names) {
                ++compounds;
                twelveCharacterNames += compound.size() == 12;
                const FullListing blockList = listAll(Level::Blocks, compound);
                QCOMPARE(blockList.result, 0);
                compoundsWithoutBlocks += blockList.names.empty();
                blocks += blockList.names.size();
                compoundsWithAin += std::count(blockList.info.begin(), blockList.info.end(),
                                               std::string("AIN")) > 0;
                for (std::size_t i = 0; i < blockList.names.size(); ++i) {
                    QVERIFY(types.count(blockList.info[i]) == 1);
                    twelveCharacterNames += blockList.names[i].size() == 12;
                }
            }
        }
        QVERIFY(stations.names.size() >= 4 && stations.names.size() <= 10);
        QCOMPARE(stationsWithoutCompounds, 1);
        QVERIFY(compounds >= 24 && compounds <= 60);
        QVERIFY(compoundsWithoutBlocks >= 2);
        QVERIFY(compoundsWithAin >= 10);
        QVERIFY(twelveCharacterNames >= 3);
        QVERIFY(blocks >= 200 && blocks <= 900);
    }

    void maxObjComesFromTheEnvironment()
    {
        ::setenv("DIRAPI_MAXOBJ", "7", 1);
        control::reset();
        QCOMPARE(get_maxobj(), 7);
        ::setenv("DIRAPI_MAXOBJ", "100000", 1);
        control::reset();
        QCOMPARE(get_maxobj(), 100000);

        for (const std::string bad : {"lots", "0", "-3", "100001", "2147483647"}) {
            ::setenv("DIRAPI_MAXOBJ", bad.c_str(), 1);
            StderrCapture capture;
            control::reset();
            QCOMPARE(capture.text(), "DIRAPI_MAXOBJ: malformed value '" + bad +
                                         "', expected 1 to 100000; using 256\n");
            QCOMPARE(get_maxobj(), 256);
        }
    }

    void malformedDelayIsReportedAndListingsStillWork()
    {
        ::setenv("DIRAPI_DELAY_MS", "soon", 1);
        StderrCapture capture;
        control::reset();
        QCOMPARE(capture.text(),
                 std::string("DIRAPI_DELAY_MS: malformed value 'soon', using no delay\n"));
        ::setenv("DIRAPI_DELAY_MS", "1", 1);
        control::reset();
        QCOMPARE(listAll(Level::Compounds, "WP01").result, 0);
    }

    void traceThatCannotBeOpenedWithoutWaitingIsReportedAndOff()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // A FIFO nobody reads would hold open() for ever; a directory cannot be appended to.
        const std::string fifo = dir.filePath("trace.fifo").toStdString();
        QVERIFY(::mkfifo(fifo.c_str(), 0600) == 0);
        const std::string folder = dir.path().toStdString();
        for (const auto& [path, reason] :
             {std::pair{fifo, "No such device or address"}, std::pair{folder, "Is a directory"}}) {
            ::setenv("DIRAPI_TRACE", path.c_str(), 1);
            StderrCapture capture;
            control::reset();
            QCOMPARE(listAll(Level::Compounds, "WP01").result, 0);
            QCOMPARE(capture.text(), "DIRAPI_TRACE: cannot open '" + path +
                                         "' for appending without waiting (" + reason +
                                         "); no trace\n");
        }
    }
};

QTEST_GUILESS_MAIN(TestPlantSources)
#include "tst_plantsources.moc"
