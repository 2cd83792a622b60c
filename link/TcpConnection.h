#pragma once

#include "link/AnswerLines.h"
#include <QByteArray>

#include <QObject>
#include <QString>
#include <optional>

class QSocketNotifier;

struct sockaddr_in;

// The one TCP connection to the editor (IdTCPClient1): IPv4 only, blocking calls on the
// user-interface thread, 7-bit ASCII lines (CR LF after each line written; LF, with one optional
// CR before it, after each line read).
//
// Built on the system's sockets rather than QTcpSocket: a QTcpSocket reads in the background
// whenever the event loop runs (and it runs all the time between presses and while a message
// box is open), closes itself when it meets the end of the stream, and reports a reset by the
// editor's system as an orderly close. The client must instead notice the editor's close only at
// its next use of the connection, take at most one receive of 32768 bytes per check, and report
// a reset as a receive error with its own text, which the press handler shows in the error box.
// Host names are still resolved through QHostInfo.
//
// Between the user's actions the socket is watched all the same: an editor that closes or resets
// its end while the client sits idle is noticed at once, and the connection ends as a close()
// ends it (closed()), so that the indicator never shows a connection that is gone and
// discovery looks for the editor again before the next press. While an action uses the
// connection (see InUse) the watch rests, and that action meets the close as it always has.
class TcpConnection : public QObject {
    Q_OBJECT

public:
    // How long an open waits for the editor to accept before it fails as a refused one does.
    // Name resolution comes before it and is not counted.
    static constexpr int kConnectLimitMs = 5000;
    static constexpr int kReceiveSize = 32768;
    static constexpr qsizetype kLongestLine = AnswerLines::kLongestLine;
    // How long readLine waits for more of an answer before it gives up with an empty text.
    static constexpr int kReadWaitMs = 1000;
    // Answer lines that have come and wait for their commands are kept, but only up to this
    // much: beyond it a check of the connection leaves further bytes with the system (which then
    // holds the editor back) until reads have taken lines out.
    static constexpr qsizetype kBacklogLimit = 4 * kReceiveSize;
    // The most the input can ever hold: a full backlog and one receive on top of it.
    static constexpr qsizetype kLargestInput = kBacklogLimit + kReceiveSize;
    // How many receives one read spends on dropping the rest of a line that was too long before
    // it gives up on the line for this time.
    static constexpr int kDropReceives = 256;

    explicit TcpConnection(QObject *parent = nullptr);
    ~TcpConnection() override;

    // Whether the socket is open, after moving whatever has arrived into the input buffer. The
    // editor's close is noticed here (the socket is closed, no event). Empty when the receive
    // failed; errorString() then describes the failure.
    std::optional<bool> checkOpen();

    // Opens the connection; opened() is raised before it returns. False on failure, with
    // errorString() saying why; a failed open leaves no socket.
    bool open(const QString &host, quint16 port);

    // Closes an open socket (sending side shut down first) and raises closed().
    void close();

    // Holds the idle watch off while one of the user's actions uses the connection: a press's
    // exchange, with the boxes it shows, or an open or close the user asked for. Nests.
    class InUse {
    public:
        explicit InUse(TcpConnection &connection);
        ~InUse();
        InUse(const InUse &) = delete;
        InUse &operator=(const InUse &) = delete;

    private:
        TcpConnection &m_connection;
    };

    // Closes an open socket without closed(), as when the window goes away.
    void closeSilently();

    // One line and CR LF; every code unit of 128 and above goes out as "?".
    bool writeLine(const QString &text);

    // The oldest whole line of the input, without its line end; an empty text when no line has
    // come within kReadWaitMs (what has come of it stays buffered). Empty optional on failure.
    // A line longer than kLongestLine fails the read that meets it and is dropped whole, up to
    // and including its LF whenever that comes, so that the answers after it are read again.
    std::optional<QString> readLine();

    QString errorString() const { return m_error; }

    // The socket, for tests that wait until the other end's bytes have arrived; -1 if none.
    int descriptor() const { return m_fd; }
    // How many received bytes wait to be taken as lines (never above kLargestInput).
    qsizetype bufferedBytes() const { return m_lines.size(); }

signals:
    void opened();
    // Raised by close(), and by the idle watch when the editor closed or reset its end.
    void closed();

private:
    enum class Receive { Data, NothingWaiting, EndOfStream, Error };

    // The connect itself; false with errno set when it failed or took too long.
    bool connectWithinLimit(const sockaddr_in &remote);
    Receive receiveOnce(int waitMs);
    void closeSocket();
    bool fail(const QString &text);
    // The watch runs only while a socket is open, no action uses it and the backlog has room:
    // bytes left with the system would keep the socket readable and wake the watch for ever.
    void updateIdleWatch();
    void watchWhileIdle();
    void putIdleWatchAway();

    int m_fd = -1;
    bool m_peerClosed = false;
    AnswerLines m_lines;
    // Where each receive lands before it joins the lines; kept, so that it is allocated once.
    QByteArray m_received;
    QString m_error;
    // A child of the connection; put away with deleteLater, since the socket may close inside
    // the watch's own signal.
    QSocketNotifier *m_idleWatch = nullptr;
    int m_actionsInUse = 0;
};
