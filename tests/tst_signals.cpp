// The real program, ended by SIGTERM, SIGINT or SIGHUP: it ends as Exit ends it, releasing the
// directory once, and a signal during the population waits until the tree is filled.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

// Three stations of two compounds of one block: eleven listing calls in the population.
const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC02 AIN2 AIN\n"
                           "WP02 UC03 PIDA1 PIDA\n"
                           "WP02 UC04 CALC1 CALC\n"
                           "WP03 UC05 DOUT1 DOUT\n"
                           "WP03 UC06 AOUT1 AOUT\n";
const char* const kLastListing = "an_all_blk UC06";
constexpr int kStartTimeoutMs = 60000;
constexpr int kEndTimeoutMs = 60000;

// The program under test, with the stand-in library tracing its calls.
class Program
{
public:
    explicit Program(int delayMs)
    {
        QFile plant(m_dir.filePath("plant.txt"));
        if (!plant.open(QIODevice::WriteOnly) || plant.write(kPlant) < 0)
            qWarning("cannot write the plant file");
        plant.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DIRAPI_DEMO");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DIRAPI_FILE", plant.fileName());
        env.insert("DIRAPI_DELAY_MS", QString::number(delayMs));
        env.insert("DIRAPI_TRACE", tracePath());
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(ARBOLIX_PROGRAM), {QStringLiteral("WP01")});
    }

    ~Program()
    {
        // A test that failed half way must not leave the program running.
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kEndTimeoutMs);
        }
    }

    QStringList trace() const
    {
        QFile file(tracePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    bool waitForTraceLine(const QString& line) const
    {
        return QTest::qWaitFor([&] { return trace().contains(line); }, kStartTimeoutMs);
    }

    void signal(int signalNumber) { ::kill(pid_t(m_process.processId()), signalNumber); }

    QProcess& process() { return m_process; }

private:
    QString tracePath() const { return m_dir.filePath("trace.txt"); }

    QTemporaryDir m_dir;
    QProcess m_process;
};

void addSignalRows()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

} // namespace

class TestSignals : public QObject
{
    Q_OBJECT
private slots:
    void signalWhileIdleEndsLikeExit_data() { addSignalRows(); }
    void signalWhileIdleEndsLikeExit()
    {
        QFETCH(int, signalNumber);
        Program program(0);
        QVERIFY(program.process().waitForStarted(kStartTimeoutMs));
        QVERIFY(program.waitForTraceLine(kLastListing));

        program.signal(signalNumber);
        QVERIFY(program.process().waitForFinished(kEndTimeoutMs));
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);
        const QStringList trace = program.trace();
        QCOMPARE(trace.count("an_exit"), 1);
        QCOMPARE(trace.last(), QStringLiteral("an_exit"));
    }

    void signalsDuringPopulationEndProgramOnceTreeIsFilled_data() { addSignalRows(); }
    void signalsDuringPopulationEndProgramOnceTreeIsFilled()
    {
        QFETCH(int, signalNumber);
        // Slow enough that the rest of the population takes seconds after the first station.
        Program program(300);
        QVERIFY(program.process().waitForStarted(kStartTimeoutMs));
        QVERIFY(program.waitForTraceLine("an_all_cmp WP01"));
        if (program.trace().contains(kLastListing))
            QSKIP("the population ended before the signal could be sent");

        // Twice: a repeated request still releases the directory only once.
        program.signal(signalNumber);
        program.signal(signalNumber);
        QVERIFY(program.process().waitForFinished(kEndTimeoutMs));
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);

        // The population went on to its last listing, and only then was the directory released.
        const QStringList trace = program.trace();
        const QStringList expected = {"get_maxobj",      "an_all_sta",      "an_all_sta",
                                      "an_all_cmp WP01", "an_all_blk UC01", "an_all_blk UC02",
                                      "an_all_cmp WP02", "an_all_blk UC03", "an_all_blk UC04",
                                      "an_all_cmp WP03", "an_all_blk UC05", "an_all_blk UC06",
                                      "an_exit"};
        QCOMPARE(trace, expected);
    }
};

QTEST_GUILESS_MAIN(TestSignals)
#include "tst_signals.moc"
