// The real program, ended by SIGTERM, SIGINT or SIGHUP: it ends as Exit ends it, releasing the
// directory once, and a signal during the population ends it before its next listing call; a call
// that does not return, or a second request, ends it at once. A signal ignored by whoever started
// it stays ignored, a storm of signals never releases twice, closed standard descriptors are
// /dev/null and a standard error nobody reads does not end it. The handler's handoff of the pipe
// is tested as a unit.
#include "app/signalhandoff.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

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
    // What the child does before it runs the program, as a shell or a pipeline would set it up.
    enum class Start
    {
        Plain,
        IgnoringSighup,
        IgnoringSigint,
        StderrPipeWithoutReader,
        StandardDescriptorsClosed
    };

    explicit Program(int delayMs, Start start = Start::Plain, const char* plantText = kPlant)
    {
        QFile plant(m_dir.filePath("plant.txt"));
        if (!plant.open(QIODevice::WriteOnly) || plant.write(plantText) < 0)
            qWarning("cannot write the plant file");
        plant.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DIRAPI_DEMO");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DIRAPI_FILE", plant.fileName());
        env.insert("DIRAPI_DELAY_MS", QString::number(delayMs));
        env.insert("DIRAPI_TRACE", tracePath());
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_process.setChildProcessModifier([start] { prepareChild(start); });
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

    // Only while the process runs: its number may belong to another process once it is reaped.
    void signal(int signalNumber)
    {
        if (m_process.state() == QProcess::Running && m_process.processId() > 0)
            ::kill(pid_t(m_process.processId()), signalNumber);
    }

    QProcess& process() { return m_process; }

    // The signals the program catches or ignores, from the system's view of it.
    bool catches(int signalNumber) const { return inMask("SigCgt:", signalNumber); }
    bool ignores(int signalNumber) const { return inMask("SigIgn:", signalNumber); }

private:
    // In the child between fork and exec: only async-signal-safe calls.
    static void prepareChild(Start start)
    {
        switch (start) {
        case Start::Plain:
            break;
        case Start::IgnoringSighup:
            ::signal(SIGHUP, SIG_IGN);
            break;
        case Start::IgnoringSigint:
            ::signal(SIGINT, SIG_IGN);
            break;
        case Start::StderrPipeWithoutReader: {
            int fds[2];
            if (::pipe(fds) == 0) {
                ::close(fds[0]);
                ::dup2(fds[1], STDERR_FILENO);
                ::close(fds[1]);
            }
            break;
        }
        case Start::StandardDescriptorsClosed:
            ::close(0), ::close(1), ::close(2);
            break;
        }
    }

    bool inMask(const char* field, int signalNumber) const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field)) {
                const qulonglong mask =
                    line.mid(qsizetype(qstrlen(field))).trimmed().toULongLong(nullptr, 16);
                return (mask >> (signalNumber - 1)) & 1U;
            }
        }
        return false;
    }

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

// The program once its population has ended, or null when it did not start.
std::unique_ptr<Program> populatedProgram(Program::Start start = Program::Start::Plain,
                                          const char* plantText = kPlant)
{
    auto program = std::make_unique<Program>(0, start, plantText);
    if (!program->process().waitForStarted(kStartTimeoutMs) ||
        !program->waitForTraceLine(kLastListing))
        return nullptr;
    return program;
}

// Ended by the signal as Exit ends it: code 0 and the directory released once, last.
void verifyEndsLikeExitOn(Program& program, int signalNumber)
{
    program.signal(signalNumber);
    QVERIFY(program.process().waitForFinished(kEndTimeoutMs));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    const QStringList trace = program.trace();
    QCOMPARE(trace.count("an_exit"), 1);
    QCOMPARE(trace.last(), QStringLiteral("an_exit"));
}

// An int of the handoff that reports every read of it.
struct WatchedInt
{
    explicit WatchedInt(int initial) : value(initial) {}
    int load()
    {
        if (onLoad)
            onLoad();
        return value.load();
    }
    void store(int v) { value.store(v); }
    int fetch_add(int d) { return value.fetch_add(d); }
    int fetch_sub(int d) { return value.fetch_sub(d); }
    bool compare_exchange_strong(int& expected, int desired)
    {
        return value.compare_exchange_strong(expected, desired);
    }

    std::atomic<int> value;
    std::function<void()> onLoad;
};

} // namespace

class TestSignals : public QObject
{
    Q_OBJECT
private slots:
    void signalWhileIdleEndsLikeExit_data() { addSignalRows(); }
    void signalWhileIdleEndsLikeExit()
    {
        QFETCH(int, signalNumber);
        const auto program = populatedProgram();
        QVERIFY(program);
        verifyEndsLikeExitOn(*program, signalNumber);
    }

    void signalDuringPopulationEndsItAtTheNextListingCall_data() { addSignalRows(); }
    void signalDuringPopulationEndsItAtTheNextListingCall()
    {
        QFETCH(int, signalNumber);
        // Slow enough that the rest of the population takes seconds after the first station.
        Program program(300);
        QVERIFY(program.process().waitForStarted(kStartTimeoutMs));
        QVERIFY(program.waitForTraceLine("an_all_cmp WP01"));
        const qsizetype callsSeen = program.trace().size();
        if (program.trace().contains(kLastListing))
            QSKIP("the population ended before the signal could be sent");

        program.signal(signalNumber);
        QVERIFY(program.process().waitForFinished(kEndTimeoutMs));
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);

        // The call under way when the signal came ended, at most one more had begun; then the
        // directory was released.
        const QStringList full = {"get_maxobj",      "an_all_sta",      "an_all_sta",
                                  "an_all_cmp WP01", "an_all_blk UC01", "an_all_blk UC02",
                                  "an_all_cmp WP02", "an_all_blk UC03", "an_all_blk UC04",
                                  "an_all_cmp WP03", "an_all_blk UC05", "an_all_blk UC06"};
        QStringList trace = program.trace();
        QCOMPARE(trace.count("an_exit"), 1);
        QCOMPARE(trace.takeLast(), QStringLiteral("an_exit"));
        QVERIFY2(trace.size() <= callsSeen + 1, qPrintable(trace.join(", ")));
        QCOMPARE(trace, full.first(trace.size()));
    }

    void signalIgnoredAtStartStaysIgnored_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("ignored");
        QTest::addColumn<int>("caught");
        // As under nohup, and in the background of a shell without job control.
        QTest::newRow("SIGHUP") << int(Program::Start::IgnoringSighup) << SIGHUP << SIGINT;
        QTest::newRow("SIGINT") << int(Program::Start::IgnoringSigint) << SIGINT << SIGHUP;
    }
    void signalIgnoredAtStartStaysIgnored()
    {
        QFETCH(int, start);
        QFETCH(int, ignored);
        QFETCH(int, caught);
        const auto program = populatedProgram(Program::Start(start));
        QVERIFY(program);
        QVERIFY(program->ignores(ignored));
        QVERIFY(!program->catches(ignored));
        QVERIFY(program->catches(caught));
        QVERIFY(program->catches(SIGTERM));

        // The ignored signal passes unnoticed; SIGTERM still ends the program as Exit does.
        program->signal(ignored);
        verifyEndsLikeExitOn(*program, SIGTERM);
    }

    void handlerIsCountedAmongTheWritersBeforeItReadsTheDescriptor()
    {
        SignalHandoff<WatchedInt> handoff;
        QVERIFY(handoff.claim(7));
        QVERIFY(!handoff.claim(8));
        // An owner giving the handoff up at the moment the handler reads the descriptor must
        // find the handler counted, or it would close the descriptor under the handler's write.
        int writersAtRead = -1;
        handoff.writeFd.onLoad = [&] { writersAtRead = handoff.writers.value.load(); };
        std::vector<int> written;
        handoff.send([&](int fd) { written.push_back(fd); });
        QCOMPARE(writersAtRead, 1);
        QCOMPARE(written, std::vector<int>{7});
        QCOMPARE(handoff.writers.value.load(), 0);

        handoff.writeFd.onLoad = nullptr;
        handoff.release();
        handoff.send([&](int fd) { written.push_back(fd); });
        QCOMPARE(written.size(), std::size_t(1));
        QVERIFY(handoff.claim(9));
    }

    void requestTheProgramCannotActOnEndsItAtOnceWithoutRelease_data()
    {
        QTest::addColumn<int>("second"); // the signal of a second request, if any
        QTest::addColumn<QByteArray>("why");
        QTest::newRow("no answer") << 0 << QByteArray("SIGTERM not answered within 5 s");
        QTest::newRow("second request") << SIGINT << QByteArray("SIGINT, a second termination");
    }
    void requestTheProgramCannotActOnEndsItAtOnceWithoutRelease()
    {
        QFETCH(int, second);
        QFETCH(QByteArray, why);
        Program program(3600 * 1000); // the first station listing never returns here
        QVERIFY(program.waitForTraceLine("an_all_sta"));
        program.signal(SIGTERM);
        if (second) {
            QTest::qWait(500); // so that the first one has been taken
            program.signal(second);
        }
        QVERIFY(program.process().waitForFinished(kEndTimeoutMs));
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 128 + (second ? second : SIGTERM));
        QCOMPARE(program.trace(), QStringList({"get_maxobj", "an_all_sta"}));
        const QByteArray error = program.process().readAllStandardError();
        QVERIFY2(error.contains("\narbolix: " + why) &&
                     error.endsWith(": ended at once without releasing the directory\n"),
                 error.constData());
    }

    void stormOfSignalsNeverReleasesTwice()
    {
        // The end of the program is short, and a signal has to fall into it: a few rounds.
        constexpr int kRounds = 3;
        constexpr int kMaxSignals = 100000;
        for (int round = 0; round < kRounds; ++round) {
            const auto program = populatedProgram();
            QVERIFY(program);
            // Signals keep coming until the process has gone, through the whole of its ending.
            for (int sent = 0;
                 sent < kMaxSignals && program->process().state() == QProcess::Running; ++sent) {
                program->signal(SIGTERM);
                program->process().waitForFinished(0);
            }
            QVERIFY(program->process().state() == QProcess::NotRunning ||
                    program->process().waitForFinished(kEndTimeoutMs));
            QCOMPARE(program->process().exitStatus(), QProcess::NormalExit);
            // Ended at once by the second request, or, when no second one came in time, cleanly.
            const int code = program->process().exitCode();
            const qsizetype releases = program->trace().count("an_exit");
            QVERIFY((code == 0 && releases == 1) || (code == 128 + SIGTERM && releases <= 1));
        }
    }

    void standardErrorWithoutReaderDoesNotEndProgram()
    {
        // The bad line is reported on standard error while the plant is read.
        const char* const plant = "WP01 UC01 AIN1 AIN\n"
                                  "WP01 UC01 BAD1 TOOLONGINFO\n"
                                  "WP03 UC06 AOUT1 AOUT\n";
        const auto program = populatedProgram(Program::Start::StderrPipeWithoutReader, plant);
        QVERIFY(program);
        QVERIFY(program->process().state() == QProcess::Running);
        verifyEndsLikeExitOn(*program, SIGTERM);
    }

    void closedStandardDescriptorsAreOpenOnDevNull()
    {
        const auto program = populatedProgram(Program::Start::StandardDescriptorsClosed);
        QVERIFY(program);
        const QString fds = QStringLiteral("/proc/%1/fd/").arg(program->process().processId());
        for (const char* fd : {"0", "1", "2"})
            QCOMPARE(QFileInfo(fds + fd).symLinkTarget(), QStringLiteral("/dev/null"));
        verifyEndsLikeExitOn(*program, SIGTERM);
    }
};

QTEST_GUILESS_MAIN(TestSignals)
#include "tst_signals.moc"
