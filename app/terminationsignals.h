// Requests to end the program from outside (SIGTERM, SIGINT, SIGHUP), turned into a Qt signal on
// the user-interface thread, so they are handled like any other event: at a point where the
// program can stop cleanly, never in the middle of a job. Should that point not come in time, or
// a second request come, the watchdog ends the process at once.
#ifndef ARBOLIX_APP_TERMINATIONSIGNALS_H
#define ARBOLIX_APP_TERMINATIONSIGNALS_H

#include <QObject>
#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;
class TerminationWatchdog;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Reports the three signals for as long as the object lives. Only one object at a time can
    // report them; a second one stays inactive. Needs a QCoreApplication.
    //
    // A signal that was ignored when the program started (under nohup, or in the background of a
    // non-interactive shell) stays ignored. The others stay caught until the process ends, also
    // once the object is gone: a request that comes after the directory was released is dropped.
    // Destroy the object once the directory is released: until then a request that the program
    // cannot act on in time ends it at once (TerminationWatchdog).
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    static constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

signals:
    // Once per signal received, in the order they came (signals of one kind that arrive
    // together may be merged into one, as the system merges them).
    void terminationRequested(int signalNumber);

private:
    void drain();

    bool m_active = false;
    int m_readFd = -1;
    int m_writeFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<TerminationWatchdog> m_watchdog;
};

#endif
