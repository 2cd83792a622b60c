#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, a system that stops the program, Ctrl+C) handed to the
// user-interface thread: the signal handler only writes the signal's number into a pipe, whose
// other end the event loop watches, so that whatever is done about the signal runs as any other
// handler does. After the first signal the system's own handling is back, so that a second one
// ends the program at once should the first one's handler hang. A signal that was ignored when
// the program started (SIGHUP under nohup) stays ignored. One instance at a time.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

signals:
    void received(int signalNumber);

private:
    void takeSignal();
    void restoreHandlers();

    static constexpr int kSignalCount = 3;
    static constexpr int kSignals[kSignalCount] = {SIGTERM, SIGINT, SIGHUP};

    int m_readEnd = -1;
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_previous[kSignalCount] = {};
    bool m_installed = false;
};
