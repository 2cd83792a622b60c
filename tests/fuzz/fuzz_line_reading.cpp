// Answer bytes as an editor may send them: each input describes a byte stream, the pieces the
// editor sends it in, what the client does between pieces and how the editor ends. The real
// connection reads it over a real loopback TCP connection, and every line it returns, and every
// read that fails, is compared with a plain reading of the stream written here. No read is made
// that would have to wait for bytes that are not coming, so no execution waits out a read's wait.
//
// Input: byte 0 the end (0 orderly shutdown of the sending side, 1 close, 2 reset, 3 none: the
// editor stays); byte 1 what the client does between pieces (low nibble: checks of the
// connection, high nibble: reads); byte 2 how many piece sizes follow (low nibble), then those
// bytes (a size of 1 + b * b bytes each, used in turn); then the stream, where 0xFF c v stands
// for (c + 1) * 256 bytes v, so that lines past the limit are cheap to describe.
#include "link/TcpConnection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#if defined(__clang__) && __clang_major__ >= 13
#define QS_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define QS_NO_COVERAGE
#endif

namespace {

constexpr qsizetype kLimit = TcpConnection::kLongestLine;
constexpr qsizetype kLongestStream = 256 * 1024;
constexpr qsizetype kMostPieces = 256;

[[noreturn]] void failure(const char *what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// A plain reading of the stream: where the next line starts, and whether the rest of a line that
// was too long is still to be skipped.
struct Reference {
    QByteArray stream;
    qsizetype taken = 0;
    bool skipping = false;

    // A line; a failure for a line that is too long; a failure because the stream has ended
    // before a whole line; a wait for bytes that are not coming.
    enum class Outcome { Line, TooLong, Ends, Waits };
    struct Read {
        Outcome outcome;
        QString line;
    };

    // What a read does when the first `sent` bytes of the stream have come, and, with `ended`,
    // nothing more will.
    // The reading and the checks below are the target's own: they are kept out of the coverage
    // that guides the fuzzer.
    QS_NO_COVERAGE Read read(qsizetype sent, bool ended) {
        for (;;) {
            const qsizetype lf = stream.indexOf('\n', taken);
            const bool found = lf >= 0 && lf < sent;
            if (skipping) {
                if (!found) {
                    // The long line goes on: its bytes are dropped as they come.
                    taken = sent;
                    return {ended ? Outcome::Ends : Outcome::Waits, {}};
                }
                taken = lf + 1;
                skipping = false;
                continue;
            }
            if (found && lf - taken > kLimit) {
                taken = lf + 1;
                return {Outcome::TooLong, {}};
            }
            if (!found && sent - taken > kLimit) {
                taken = sent;
                skipping = true;
                return {Outcome::TooLong, {}};
            }
            if (!found)
                return {ended ? Outcome::Ends : Outcome::Waits, {}};
            qsizetype end = lf;
            if (end > taken && stream.at(end - 1) == '\r')
                --end;
            QString line(end - taken, Qt::Uninitialized);
            for (qsizetype i = taken; i < end; ++i) {
                const auto b = static_cast<unsigned char>(stream.at(i));
                line[i - taken] = b < 0x80 ? QChar(b) : QChar(0xFFFD);
            }
            taken = lf + 1;
            return {Outcome::Line, line};
        }
    }
};

struct Input {
    int end = 0;
    int checks = 0;
    int reads = 0;
    std::vector<qsizetype> pieces;
    QByteArray stream;
};

Input parse(const uint8_t *data, size_t size) {
    Input in;
    size_t at = 0;
    auto next = [&]() -> int { return at < size ? data[at++] : 0; };
    in.end = next() % 4;
    const int between = next();
    in.checks = between & 0x0F;
    in.reads = between >> 4;
    const int count = next() & 0x0F;
    for (int i = 0; i < count; ++i) {
        const int b = next();
        in.pieces.push_back(1 + b * b);
    }
    if (in.pieces.empty())
        in.pieces.push_back(kLongestStream);
    while (at < size && in.stream.size() < kLongestStream) {
        const uint8_t b = data[at++];
        if (b == 0xFF && at + 2 <= size) {
            const int repeat = (data[at] + 1) * 256;
            in.stream.append(QByteArray(repeat, char(data[at + 1])));
            at += 2;
        } else {
            in.stream.append(char(b));
        }
    }
    in.stream.truncate(kLongestStream);
    return in;
}

struct Harness {
    int listener = -1;
    quint16 port = 0;

    Harness() {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(listener, 4) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            failure("no loopback listener");
        port = ntohs(address.sin_port);
    }
};

class Run {
public:
    Run(const Input &in, int listener) : m_in(in), m_listener(listener) {
        m_ref.stream = in.stream;
    }

    ~Run() {
        if (m_peer >= 0)
            ::close(m_peer);
    }

    void go(quint16 port) {
        if (!m_connection.Connect(QStringLiteral("127.0.0.1"), port))
            failure("connect failed");
        m_peer = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (m_peer < 0)
            failure("accept failed");
        const int on = 1;
        ::setsockopt(m_peer, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

        // At most kMostPieces pieces, so that one execution stays short.
        const qsizetype smallest = (m_in.stream.size() + kMostPieces - 1) / kMostPieces;
        size_t piece = 0;
        while (m_sent < m_in.stream.size()) {
            const qsizetype size = qMin(qMax(smallest, m_in.pieces[piece++ % m_in.pieces.size()]),
                                        m_in.stream.size() - m_sent);
            send(size);
            waitReadable();
            for (int i = 0; i < m_in.checks; ++i)
                check();
            for (int i = 0; i < m_in.reads && readIfItNeedsNoWait(); ++i) {
            }
        }

        switch (m_in.end) {
        case 0:
            ::shutdown(m_peer, SHUT_WR);
            break;
        case 1:
            ::close(m_peer);
            m_peer = -1;
            break;
        case 2: {
            struct linger hard {
                1, 0
            };
            ::setsockopt(m_peer, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            ::close(m_peer);
            m_peer = -1;
            break;
        }
        default:
            break;
        }
        m_ended = m_in.end != 3;
        // Every line still in the stream comes out, then the read fails (or, with the editor
        // still there, reads stop where one would wait).
        for (qsizetype i = 0; i <= m_in.stream.size() + 2; ++i) {
            if (!readIfItNeedsNoWait())
                break;
        }
        if (m_ended && !m_failedAtEnd)
            failure("no failure at the end of the stream");
        m_connection.closeSilently();
    }

private:
    void bounded() {
        if (m_connection.bufferedBytes() > TcpConnection::kLargestInput)
            failure("input beyond its bound");
    }

    // A check of the connection: the editor is still there until it ends (a reset may be
    // reported as a failure of the check).
    void check() {
        const std::optional<bool> open = m_connection.Connected();
        if (!open.has_value() || !*open)
            failure("connection lost while the editor is there");
        bounded();
    }

    void send(qsizetype size) {
        qsizetype done = 0;
        int stalls = 0;
        while (done < size) {
            const ssize_t n = ::send(m_peer, m_in.stream.constData() + m_sent + done,
                                     size_t(size - done), MSG_NOSIGNAL);
            if (n > 0) {
                done += n;
                stalls = 0;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                failure("send failed");
            // The client's side is full: it takes bytes the way a press would.
            m_sent += done;
            size -= done;
            done = 0;
            if (!readIfItNeedsNoWait())
                check();
            pollfd p{m_peer, POLLOUT, 0};
            ::poll(&p, 1, 10);
            if (++stalls > 100000)
                failure("no progress while sending");
        }
        m_sent += done;
    }

    void waitReadable() {
        pollfd p{m_connection.descriptor(), POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1)
            failure("sent bytes never arrived");
    }

    // One read, if the plain reading says it needs no bytes that are not coming; its result is
    // compared. False when no read was made or reading has come to its end.
    QS_NO_COVERAGE bool readIfItNeedsNoWait() {
        Reference probe = m_ref;
        const Reference::Read expected = probe.read(m_sent, m_ended);
        if (expected.outcome == Reference::Outcome::Waits)
            return false;
        const std::optional<QString> got = m_connection.ReadLn();
        bounded();
        if (got.has_value()) {
            if (got->contains(QChar('\n')) || got->size() > kLimit)
                failure("a line holds LF or is longer than the limit");
            if (expected.outcome != Reference::Outcome::Line || *got != expected.line) {
                std::fprintf(stderr, "line \"%s\" (%lld), expected %s \"%s\"\n",
                             qPrintable(got->left(80)), static_cast<long long>(got->size()),
                             expected.outcome == Reference::Outcome::Line ? "line" : "failure",
                             qPrintable(expected.line.left(80)));
                failure("line differs");
            }
            m_ref = probe;
            return true;
        }
        // A reset may end reading before the lines that came ahead of it.
        if (m_in.end == 2 && m_ended) {
            m_failedAtEnd = true;
            return false;
        }
        if (expected.outcome == Reference::Outcome::Line) {
            std::fprintf(stderr, "read failed (%s), expected line \"%s\"\n",
                         qPrintable(m_connection.errorString()),
                         qPrintable(expected.line.left(80)));
            failure("read failed");
        }
        m_ref = probe;
        m_failedAtEnd = expected.outcome == Reference::Outcome::Ends;
        return !m_failedAtEnd;
    }

    const Input &m_in;
    int m_listener;
    int m_peer = -1;
    TcpConnection m_connection;
    Reference m_ref;
    qsizetype m_sent = 0;
    bool m_ended = false;
    bool m_failedAtEnd = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Harness harness;
    const Input in = parse(data, size);
    Run run(in, harness.listener);
    run.go(harness.port);
    return 0;
}
