// Requests to end the program from outside (SIGTERM, SIGINT, SIGHUP), turned into a Qt signal on
// the user-interface thread, so they are handled like any other event: at a point where the
// program can stop cleanly, never in the middle of a job.
#ifndef ARBOLIX_APP_TERMINATIONSIGNALS_H
#define ARBOLIX_APP_TERMINATIONSIGNALS_H

#include <QObject>
#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Catches the three signals for as long as the object lives. Only one object at a time can
    // catch them; a second one stays inactive. Needs a QCoreApplication.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Gives the signals back the dispositions they had before.
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool isActive() const { return m_active; }

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
    std::array<struct sigaction, kSignals.size()> m_previous{};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

#endif
