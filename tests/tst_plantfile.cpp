// The plant listing format, its problems reported on standard error, and the listing file read
// again after an edit.
#include "dirapi/dirapi_control.h"
#include "tests/dirapiclient.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace dirapiclient;
namespace control = dirapi_control;

namespace {

using Names = std::vector<std::string>;

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A path in a folder of its own that DIRAPI_FILE names to the stand-in, with the text given
// written there; without text nothing is there yet. The folder goes with it; init() unsets the
// variable for the next test.
class PlantFileInUse
{
public:
    explicit PlantFileInUse(const char* name, std::optional<std::string> text = std::nullopt)
        : m_path(m_dir.filePath(name).toStdString())
    {
        if (text)
            write(*text);
        ::setenv("DIRAPI_FILE", m_path.c_str(), 1);
    }

    bool isValid() const { return m_dir.isValid(); }
    const std::string& path() const { return m_path; }
    void write(const std::string& text) const { writeFile(m_path, text); }

private:
    QTemporaryDir m_dir;
    std::string m_path;
};

// What takes the place of a plant file in the tests of paths that are not one.
enum class NotAFile
{
    Fifo,
    Directory,
    OversizedSparseFile,
};

bool makeNotAFile(NotAFile kind, const std::string& path)
{
    switch (kind) {
    case NotAFile::Fifo:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case NotAFile::Directory:
        return ::mkdir(path.c_str(), 0700) == 0;
    case NotAFile::OversizedSparseFile: {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const bool sized = fd >= 0 && ::ftruncate(fd, (off_t(256) << 20) + 1) == 0;
        if (fd >= 0)
            ::close(fd);
        return sized;
    }
    }
    return false;
}

// While it lives, the process's descriptor limit stands at its lowest free descriptor, so the
// next open() fails (EMFILE) whoever runs the test, root included, while stat() still sees the
// file unchanged: a listing file that cannot be read for a while, without its stamp changing,
// as one a chmod makes readable again.
class NoDescriptorLeft
{
public:
    NoDescriptorLeft()
    {
        m_saved = ::getrlimit(RLIMIT_NOFILE, &m_limit) == 0;
        const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (!m_saved || lowestFree < 0)
            return;
        ::close(lowestFree);
        rlimit held = m_limit;
        held.rlim_cur = rlim_t(lowestFree);
        m_held = ::setrlimit(RLIMIT_NOFILE, &held) == 0;
    }
    ~NoDescriptorLeft()
    {
        if (m_held)
            ::setrlimit(RLIMIT_NOFILE, &m_limit);
    }
    NoDescriptorLeft(const NoDescriptorLeft&) = delete;
    NoDescriptorLeft& operator=(const NoDescriptorLeft&) = delete;

    bool held() const { return m_held; }

private:
    rlimit m_limit = {};
    bool m_saved = false;
    bool m_held = false;
};

void removePath(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        ::rmdir(path.c_str());
}

} // namespace

class TestPlantFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ::unsetenv("DIRAPI_FILE");
        control::reset();
    }
    void cleanupTestCase()
    {
        ::unsetenv("DIRAPI_FILE");
        control::reset();
    }

    void objectsKeepTheOrderOfTheirFirstAppearance()
    {
        const int rejected = control::loadPlant("# a comment line\n"
                                                "\n"
                                                "ST2\tCMP_B  BLK2 DIN # trailing comment\n"
                                                "ST1\n"
                                                "ST2 CMP_A\n"
                                                "   \t  \n"
                                                "ST2 CMP_B BLK1 AIN\r\n"
                                                "ST1 CMP_C\n"
                                                "ST2\n");
        QCOMPARE(rejected, 0);
        QCOMPARE(listAll(Level::Stations).names, (Names{"ST2", "ST1"}));
        QCOMPARE(listAll(Level::Compounds, "ST2").names, (Names{"CMP_B", "CMP_A"}));
        QCOMPARE(listAll(Level::Compounds, "ST1").names, Names{"CMP_C"});
        const FullListing blocks = listAll(Level::Blocks, "CMP_B");
        QCOMPARE(blocks.names, (Names{"BLK2", "BLK1"}));
        QCOMPARE(blocks.info, (Names{"DIN", "AIN"}));
        QCOMPARE(listAll(Level::Blocks, "CMP_A").batchCounts, std::vector<int32_t>{0});
    }

    void malformedLinesAreReportedWithTheirLineNumbersAndSkipped()
    {
        StderrCapture capture;
        const int rejected = control::loadPlant("GOOD1 CMP1 AIN1 AIN\n"
                                                "GOOD1 CMP1 ABCDEFGHIJKLMN AIN\n"
                                                "TOOLONG\n"
                                                "GOOD1 COMPOUND_NAME_13\n"
                                                "GOOD1 CMP1 AIN2 TOOLONG\n"
                                                "GOOD1 CMP1 AIN3\n"
                                                "A B C D E\n"
                                                "GOOD2 CMP1\n"
                                                "GOOD1 CMP1 AIN1 AOUT\n"
                                                "GOOD1 CMP2 AIN1 AIN\n");
        const std::string errors = capture.text();
        QCOMPARE(rejected, 8);
        QCOMPARE(
            errors,
            std::string("plant:2: block name longer than 12 characters: 'ABCDEFGHIJKLMN'\n"
                        "plant:3: station name longer than 6 characters: 'TOOLONG'\n"
                        "plant:4: compound name longer than 12 characters: 'COMPOUND_NAME_13'\n"
                        "plant:5: block info longer than 6 characters: 'TOOLONG'\n"
                        "plant:6: 3 fields, expected 1 (station), 2 (station compound) or 4 "
                        "(station compound block info)\n"
                        "plant:7: 5 fields, expected 1 (station), 2 (station compound) or 4 "
                        "(station compound block info)\n"
                        "plant:8: compound 'CMP1' already belongs to station 'GOOD1'\n"
                        "plant:9: block 'AIN1' listed twice in compound 'CMP1'\n"));
        // A rejected line adds nothing, not even the station it names.
        QCOMPARE(listAll(Level::Stations).names, Names{"GOOD1"});
        QCOMPARE(listAll(Level::Compounds, "GOOD1").names, (Names{"CMP1", "CMP2"}));
        const FullListing blocks = listAll(Level::Blocks, "CMP1");
        QCOMPARE(blocks.names, Names{"AIN1"});
        QCOMPARE(blocks.info, Names{"AIN"});
    }

    void lineWithANulByteIsRejected()
    {
        StderrCapture capture;
        const std::string text("ST1\nST\0X\nST3\n", 13);
        QCOMPARE(control::loadPlant(text), 1);
        QVERIFY(capture.text().starts_with("plant:2: "));
        QCOMPARE(listAll(Level::Stations).names, (Names{"ST1", "ST3"}));
    }

    void fileIsReadAgainAfterAnEdit()
    {
        const PlantFileInUse file("plant.txt", "ST1 CMP1 AIN1 AIN\n");
        QVERIFY(file.isValid());
        control::reset();
        QCOMPARE(listAll(Level::Stations).names, Names{"ST1"});
        QCOMPARE(listAll(Level::Blocks, "CMP1").names, Names{"AIN1"});

        file.write("ST1 CMP1 AIN1 AIN\nST1 CMP1 AIN2 AIN\nST2\n");
        QCOMPARE(listAll(Level::Blocks, "CMP1").names, (Names{"AIN1", "AIN2"}));
        QCOMPARE(listAll(Level::Stations).names, (Names{"ST1", "ST2"}));
    }

    void fileIsNotReadAgainWhileAListingIsInProgress()
    {
        const PlantFileInUse file("plant.txt", "ST1 CMP1\nST2 CMP2\n");
        QVERIFY(file.isValid());
        control::reset();

        LevelCaller stations(Level::Stations, {}, 1);
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.more, 1);
        file.write("ST1 NEWCMP\nST2 CMP2\nST3\n");
        // Nested listings keep seeing the plant the station listing walks.
        QCOMPARE(listAll(Level::Compounds, "ST1").names, Names{"CMP1"});
        QCOMPARE(stations.call(), 0);
        QCOMPARE(stations.names, Names{"ST2"});
        QCOMPARE(stations.more, 0);
        // Nothing is in progress any more: the next first call reads the edit.
        QCOMPARE(listAll(Level::Compounds, "ST1").names, Names{"NEWCMP"});
        QCOMPARE(listAll(Level::Stations).names, (Names{"ST1", "ST2", "ST3"}));
    }

    void fileProblemsNameTheFileAsGiven()
    {
        const PlantFileInUse file("plant.txt", "ST1\n\nST1 CMP1 BLOCK_NAME_LONG AIN\n");
        QVERIFY(file.isValid());
        StderrCapture capture;
        control::reset();
        listAll(Level::Stations);
        listAll(Level::Stations);
        QCOMPARE(capture.text(),
                 file.path() + ":3: block name longer than 12 characters: 'BLOCK_NAME_LONG'\n");
    }

    void missingFileIsReportedOnceAndEveryListingFails()
    {
        const PlantFileInUse file("absent.txt");
        QVERIFY(file.isValid());
        StderrCapture capture;
        control::reset();
        QVERIFY(listAll(Level::Stations).result != 0);
        QVERIFY(listAll(Level::Compounds, "ST1").result != 0);
        QVERIFY(listAll(Level::Blocks, "CMP1").result != 0);
        QVERIFY(listAll(Level::Stations).result != 0);
        QCOMPARE(capture.text(),
                 file.path() + ": cannot read plant listing: No such file or directory\n");

        // Once it is there, it is read.
        file.write("ST9\n");
        QCOMPARE(listAll(Level::Stations).names, Names{"ST9"});
    }

    void unreadableFileIsTriedAgainAtTheNextListingThoughUnchanged()
    {
        const PlantFileInUse file("plant.txt", "ST1 CMP1\n");
        QVERIFY(file.isValid());
        StderrCapture capture;
        {
            const NoDescriptorLeft noDescriptor;
            QVERIFY(noDescriptor.held());
            control::reset();
            QVERIFY(listAll(Level::Stations).result != 0);
            QVERIFY(listAll(Level::Compounds, "ST1").result != 0);
        }
        QCOMPARE(capture.text(),
                 file.path() + ": cannot read plant listing: Too many open files\n");
        // Readable again, its time stamp and size as they were: the next listing reads it.
        QCOMPARE(listAll(Level::Stations).names, Names{"ST1"});
        QCOMPARE(listAll(Level::Compounds, "ST1").names, Names{"CMP1"});
    }

    void emptyFileIsAnEmptyPlantNotAMissingOne()
    {
        const PlantFileInUse file("empty.txt", "");
        QVERIFY(file.isValid());
        control::reset();
        const FullListing stations = listAll(Level::Stations);
        QCOMPARE(stations.result, 0);
        QCOMPARE(stations.batchCounts, std::vector<int32_t>{0});
    }

    void pathThatIsNotAPlantFileFailsEveryListingUntilReplaced_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << int(NotAFile::Fifo) << "not a regular file";
        QTest::newRow("directory") << int(NotAFile::Directory) << "a directory, not a file";
        QTest::newRow("oversized sparse file")
            << int(NotAFile::OversizedSparseFile) << "larger than 256 MiB (268435457 bytes)";
    }
    void pathThatIsNotAPlantFileFailsEveryListingUntilReplaced()
    {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        const PlantFileInUse file("plant.txt");
        QVERIFY(file.isValid());
        const std::string& path = file.path();
        const std::string problem =
            path + ": cannot read plant listing: " + reason.toStdString() + "\n";

        // At start: nothing is waited on, every listing fails, the problem is told once.
        QVERIFY(makeNotAFile(NotAFile(kind), path));
        {
            StderrCapture capture;
            control::reset();
            QVERIFY(listAll(Level::Stations).result != 0);
            QVERIFY(listAll(Level::Compounds, "ST1").result != 0);
            QVERIFY(listAll(Level::Stations).result != 0);
            QCOMPARE(capture.text(), problem);
        }

        // The next listing tries again: a plant file in its place is read.
        removePath(path);
        writeFile(path, "ST1 CMP1\n");
        QCOMPARE(listAll(Level::Stations).names, Names{"ST1"});

        // Put in place of the plant file while in use: the same.
        removePath(path);
        QVERIFY(makeNotAFile(NotAFile(kind), path));
        {
            StderrCapture capture;
            QVERIFY(listAll(Level::Compounds, "ST1").result != 0);
            QVERIFY(listAll(Level::Stations).result != 0);
            QCOMPARE(capture.text(), problem);
        }
    }

    void endlessDeviceIsNotAPlantFile()
    {
        ::setenv("DIRAPI_FILE", "/dev/zero", 1);
        StderrCapture capture;
        control::reset();
        QVERIFY(listAll(Level::Stations).result != 0);
        QVERIFY(listAll(Level::Stations).result != 0);
        QCOMPARE(capture.text(),
                 std::string("/dev/zero: cannot read plant listing: not a regular file\n"));
    }

    void plantTextInProblemsIsEscapedAndCut()
    {
        // A terminal's colour sequence, a byte of no UTF-8 sequence next to a backslash, a
        // field of a megabyte, and a C1 control and a cut sequence around a valid character.
        const std::string plant = std::string("ST1 CMP1 \x1b[31mREDRED\x1b[0m AIN\n") +
                                  "ST\xff\\x1Z CMP1\n" + "ST1 " + std::string(1 << 20, 'A') + "\n" +
                                  "ST1 CMP1 BLK \xc2\x9b" + "2J\xc3\xa9\xe2\x82\n" +
                                  "ST1 CMP1 DEL\x7f" + "BLOCKNAME1 AIN\n";
        const std::string expected =
            std::string("plant:1: block name longer than 12 characters: ") +
            "'\\x1b[31mREDRED\\x1b[0m'\n" +
            "plant:2: station name longer than 6 characters: 'ST\\xff\\\\x1Z'\n" +
            "plant:3: compound name longer than 12 characters: '" + std::string(40, 'A') +
            "'... (1048576 bytes)\n" + "plant:4: block info longer than 6 characters: " +
            "'\\xc2\\x9b2J\xc3\xa9\\xe2\\x82'\n" +
            "plant:5: block name longer than 12 characters: 'DEL\\x7f" + "BLOCKNAME1'\n";
        StderrCapture capture;
        QCOMPARE(control::loadPlant(plant), 5);
        QCOMPARE(capture.text(), expected);
    }
};

QTEST_GUILESS_MAIN(TestPlantFile)
#include "tst_plantfile.moc"
