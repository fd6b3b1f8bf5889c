// Starting a real program through the production launcher: arguments arrive intact, nothing
// goes through a shell, the program is detached, and no zombie is left behind.
#include "display/launcher.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <unistd.h>
#include <vector>

using Arguments = std::vector<std::string>;

namespace {

// Stands in for the display utility: records how it was started into <dir>/<first arg>.out.
// Its signal state is read first, by the shell itself: a command it started would show the
// shell's changes instead (dash clears the mask of every child).
const char* const kRecorderScript = R"(#!/bin/sh
dir='%1'
while read -r key value; do
    case "$key" in SigIgn:|SigBlk:) signals="$signals$key $value
" ;; esac
done < /proc/self/status
pid=$$
sid=$(cut -d' ' -f6 /proc/$pid/stat)
fd0=$(readlink /proc/$pid/fd/0)
fd1=$(readlink /proc/$pid/fd/1)
fd2=$(readlink /proc/$pid/fd/2)
opened=$(for f in /proc/$pid/fd/*; do readlink "$f"; done)
{
    echo "pid $pid"
    echo "sid $sid"
    echo "fd0 $fd0"
    echo "fd1 $fd1"
    echo "fd2 $fd2"
    printf '%s' "$signals"
    printf 'open %s\n' $opened
    for a in "$@"; do printf 'arg %s\n' "$a"; done
} > "$dir/$1.tmp"
mv "$dir/$1.tmp" "$dir/$1.out"
)";

struct Record
{
    QMap<QByteArray, QByteArray> facts;
    QList<QByteArray> opened;
    Arguments arguments;
};

Record readRecord(const QString& path)
{
    Record record;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return record;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank < 0)
            continue;
        const QByteArray key = line.left(blank);
        const QByteArray value = line.mid(blank + 1);
        if (key == "arg")
            record.arguments.push_back(value.toStdString());
        else if (key == "open")
            record.opened << value;
        else
            record.facts.insert(key, value);
    }
    return record;
}

struct ProcessState
{
    pid_t parent = 0;
    char state = 0; // 0: no such process
};

ProcessState processState(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    const qsizetype afterName = text.lastIndexOf(')'); // the name may hold blanks
    const QList<QByteArray> fields = text.mid(afterName + 2).split(' ');
    if (afterName < 0 || fields.size() < 2 || fields[0].isEmpty())
        return {};
    return {static_cast<pid_t>(fields[1].toInt()), fields[0][0]};
}

// Processes whose parent is this one, in any state.
QList<pid_t> childrenOfThisProcess()
{
    QList<pid_t> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (isPid && processState(pid).parent == getpid())
            children << pid;
    }
    return children;
}

QList<pid_t> zombieChildren()
{
    QList<pid_t> zombies;
    for (pid_t pid : childrenOfThisProcess()) {
        if (processState(pid).state == 'Z')
            zombies << pid;
    }
    return zombies;
}

bool hasFinished(pid_t pid)
{
    const char state = processState(pid).state;
    return state == 0 || state == 'Z' || state == 'X';
}

} // namespace

class ProcessLauncherTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void argumentsArriveIntactWithoutShell();
    void programRunsDetachedOnDevNull();
    void manyStartsLeaveNoZombie();
    void unstartableProgramDoesNothing();
    void programStartsWithDefaultSignalsAndNoneBlocked();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::string recorder() const { return path(QStringLiteral("recorder")).toStdString(); }
    // Waits (bounded) for the recorder's output named tag and for its process to end; false
    // when either never happens or the finished program was left to us as a zombie.
    bool awaitRecord(const QString& tag, Record& record);

    std::unique_ptr<QTemporaryDir> m_dir;
    display::ProcessLauncher m_launcher;
};

void ProcessLauncherTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile script(path(QStringLiteral("recorder")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QString::fromLatin1(kRecorderScript).arg(m_dir->path()).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

bool ProcessLauncherTest::awaitRecord(const QString& tag, Record& record)
{
    const QString output = path(tag + QStringLiteral(".out"));
    if (!QTest::qWaitFor([&] { return QFile::exists(output); }, 20000))
        return false;
    record = readRecord(output);
    const pid_t pid = record.facts.value("pid").toInt();
    if (pid <= 0 || !QTest::qWaitFor([&] { return hasFinished(pid); }, 20000))
        return false;
    return processState(pid).parent != getpid();
}

void ProcessLauncherTest::argumentsArriveIntactWithoutShell()
{
    const std::string dir = m_dir->path().toStdString();
    QVERIFY(QFile(path(QStringLiteral("victim"))).open(QIODevice::WriteOnly));
    const Arguments argv = {recorder(),
                            "intact",
                            "$(touch " + dir + "/pwned)",
                            ";rm -rf " + dir + "/victim;",
                            "`touch " + dir + "/pwned2`",
                            "> " + dir + "/redirected",
                            "stddisp UC 01:AIN1",
                            "\"quoted\" 'single'",
                            "*",
                            "tab\there",
                            "\xc3\xa9t\xc3\xa9\xff",
                            ""};

    m_launcher.start(argv);
    QVERIFY(childrenOfThisProcess().isEmpty()); // the program is not our child
    Record record;
    QVERIFY(awaitRecord(QStringLiteral("intact"), record));

    QCOMPARE(record.arguments, Arguments(argv.begin() + 1, argv.end()));
    QVERIFY(!QFile::exists(path(QStringLiteral("pwned"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("pwned2"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("redirected"))));
    QVERIFY(QFile::exists(path(QStringLiteral("victim"))));
    QVERIFY(zombieChildren().isEmpty());
}

void ProcessLauncherTest::programRunsDetachedOnDevNull()
{
    // A descriptor we hold open without close-on-exec must not reach the program.
    const QString markerPath = path(QStringLiteral("marker"));
    QVERIFY(QFile(markerPath).open(QIODevice::WriteOnly));
    const int marker = ::open(markerPath.toLocal8Bit().constData(), O_RDONLY);
    QVERIFY(marker >= 0);
    const auto closeMarker = qScopeGuard([marker] { ::close(marker); });

    m_launcher.start({recorder(), "detached"});
    Record record;
    QVERIFY(awaitRecord(QStringLiteral("detached"), record));

    QCOMPARE(record.facts.value("fd0"), QByteArray("/dev/null"));
    QCOMPARE(record.facts.value("fd1"), QByteArray("/dev/null"));
    QCOMPARE(record.facts.value("fd2"), QByteArray("/dev/null"));
    QVERIFY(!record.facts.value("pid").isEmpty());
    QCOMPARE(record.facts.value("sid"), record.facts.value("pid")); // a session of its own
    QVERIFY(!record.opened.isEmpty());
    for (const QByteArray& target : record.opened)
        QVERIFY2(!target.endsWith("/marker"), target.constData());
}

void ProcessLauncherTest::manyStartsLeaveNoZombie()
{
    const int starts = 24;
    for (int n = 0; n < starts; ++n) {
        m_launcher.start({recorder(), "run" + std::to_string(n)});
        QVERIFY(childrenOfThisProcess().isEmpty());
    }
    for (int n = 0; n < starts; ++n) {
        Record record;
        QVERIFY(awaitRecord(QStringLiteral("run%1").arg(n), record));
        QCOMPARE(record.arguments, (Arguments{"run" + std::to_string(n)}));
    }
    QVERIFY(zombieChildren().isEmpty());
}

void ProcessLauncherTest::unstartableProgramDoesNothing()
{
    const QString notExecutable = path(QStringLiteral("notexecutable"));
    QVERIFY(QFile::copy(path(QStringLiteral("recorder")), notExecutable));
    QVERIFY(QFile::setPermissions(notExecutable, QFile::ReadOwner | QFile::WriteOwner));

    m_launcher.start({(m_dir->path() + QStringLiteral("/missing/utility")).toStdString(), "a"});
    m_launcher.start({notExecutable.toStdString(), "notexecutable"});
    m_launcher.start({recorder(), std::string("nul\0inside", 10)});
    m_launcher.start({});
    QVERIFY(childrenOfThisProcess().isEmpty());

    // A working start afterwards shows the launcher still works and the failed ones left nothing.
    m_launcher.start({recorder(), "after"});
    Record record;
    QVERIFY(awaitRecord(QStringLiteral("after"), record));
    QVERIFY(!QFile::exists(path(QStringLiteral("notexecutable.out"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("nul.out"))));
    QVERIFY(zombieChildren().isEmpty());
}

void ProcessLauncherTest::programStartsWithDefaultSignalsAndNoneBlocked()
{
    // As when Arbolix is started with '&' (SIGINT and SIGQUIT ignored), ignores SIGPIPE itself,
    // or inherits a blocked signal; all of it must stay behind.
    const std::vector<int> ignored = {SIGINT, SIGQUIT, SIGPIPE, SIGHUP, SIGTERM, SIGUSR2};
    std::vector<struct sigaction> before(ignored.size());
    struct sigaction ignore
    {
    };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (size_t i = 0; i < ignored.size(); ++i)
        QCOMPARE(sigaction(ignored[i], &ignore, &before[i]), 0);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGCHLD);
    sigset_t maskBefore;
    QCOMPARE(pthread_sigmask(SIG_BLOCK, &blocked, &maskBefore), 0);

    m_launcher.start({recorder(), "signals"});

    pthread_sigmask(SIG_SETMASK, &maskBefore, nullptr);
    for (size_t i = 0; i < ignored.size(); ++i)
        sigaction(ignored[i], &before[i], nullptr);

    Record record;
    QVERIFY(awaitRecord(QStringLiteral("signals"), record));
    // Signals 32 and 33 belong to the C library's threads: no program can set them through it,
    // so whatever the test run itself inherited there is not ours to check.
    constexpr qulonglong kLibcSignals = (1ULL << (32 - 1)) | (1ULL << (33 - 1));
    bool ok = false;
    const qulonglong ignoredNow = record.facts.value("SigIgn:").toULongLong(&ok, 16);
    QVERIFY(ok);
    QCOMPARE(ignoredNow & ~kLibcSignals, 0ULL);
    const qulonglong blockedNow = record.facts.value("SigBlk:").toULongLong(&ok, 16);
    QVERIFY(ok);
    QCOMPARE(blockedNow & ~kLibcSignals, 0ULL);
}

QTEST_GUILESS_MAIN(ProcessLauncherTest)
#include "tst_processlauncher.moc"
