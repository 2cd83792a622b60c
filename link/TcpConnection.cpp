#include "link/TcpConnection.h"

#include "link/WireText.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The IPv4 address to connect to: the host itself when it is one, otherwise what the system's
// resolver gives for it. Only IPv4 addresses are looked at.
std::optional<QHostAddress> ipv4AddressOf(const QString &host) {
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol)
        return literal;
    const QHostInfo info = QHostInfo::fromName(host);
    for (const QHostAddress &address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;
    }
    return std::nullopt;
}

} // namespace

TcpConnection::TcpConnection(QObject *parent) : QObject(parent) {}

TcpConnection::~TcpConnection() {
    closeSilently();
}

std::optional<bool> TcpConnection::checkOpen() {
    if (m_fd < 0)
        return false;
    // With a full backlog the bytes stay with the system; the editor's close behind them is then
    // noticed once reads have taken the lines before it.
    if (m_lines.size() < kBacklogLimit && receiveOnce(0) == Receive::Error)
        return std::nullopt;
    return m_fd >= 0;
}

bool TcpConnection::open(const QString &host, quint16 port) {
    const std::optional<bool> open = checkOpen();
    if (!open)
        return false;
    if (*open)
        return fail(QStringLiteral("Already connected."));
    if (host.isEmpty())
        return fail(QStringLiteral("Host not assigned."));
    if (port == 0)
        return fail(QStringLiteral("Port not assigned."));

    m_lines.clear();
    m_peerClosed = false;

    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return fail(systemErrorText(errno));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        const int error = errno;
        closeSocket();
        return fail(systemErrorText(error));
    }

    const std::optional<QHostAddress> address = ipv4AddressOf(host);
    if (!address) {
        closeSocket();
        return fail(QStringLiteral("Host not found: %1").arg(host));
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    remote.sin_addr.s_addr = htonl(address->toIPv4Address());

    if (!connectWithinLimit(remote)) {
        const int error = errno;
        closeSocket();
        return fail(systemErrorText(error));
    }

    emit opened();
    updateIdleWatch();
    return true;
}

bool TcpConnection::connectWithinLimit(const sockaddr_in &remote) {
    // An address that never answers (an editor behind a firewall that drops its port, an
    // announced address that cannot be reached) would otherwise hold the window for the
    // system's own limit, over two minutes: the attempt runs without blocking and is given up
    // after kConnectLimitMs, as if it had been refused.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return false;
    if (::connect(m_fd, reinterpret_cast<const sockaddr *>(&remote), sizeof remote) != 0) {
        if (errno != EINPROGRESS && errno != EINTR)
            return false;
        QDeadlineTimer deadline(kConnectLimitMs);
        pollfd p{m_fd, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, int(deadline.remainingTime()));
        } while (ready < 0 && errno == EINTR);
        if (ready < 0)
            return false;
        if (ready == 0) {
            errno = ETIMEDOUT;
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            return false;
        if (error != 0) {
            errno = error;
            return false;
        }
    }
    // Sends block again, as every write expects.
    return ::fcntl(m_fd, F_SETFL, flags) == 0;
}

void TcpConnection::close() {
    // A close by the editor is noticed first, so that it raises no event; a failing receive
    // changes nothing here.
    checkOpen();
    if (m_fd < 0)
        return;
    closeSocket();
    emit closed();
}

void TcpConnection::closeSilently() {
    closeSocket();
}

bool TcpConnection::writeLine(const QString &text) {
    if (m_fd < 0)
        return fail(QStringLiteral("Not connected."));
    QByteArray bytes = WireText::encode(text);
    bytes.append("\r\n");
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(m_fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(systemErrorText(errno));
        }
        sent += n;
    }
    return true;
}

std::optional<QString> TcpConnection::readLine() {
    int dropReceives = 0;
    for (;;) {
        QString line;
        switch (m_lines.take(&line)) {
        case AnswerLines::Next::Line:
            return line;
        case AnswerLines::Next::TooLong:
            fail(QStringLiteral("The answer line is longer than %1 bytes.").arg(kLongestLine));
            return std::nullopt;
        case AnswerLines::Next::Incomplete:
            break;
        }
        if (m_peerClosed || m_fd < 0) {
            fail(QStringLiteral("Connection closed."));
            return std::nullopt;
        }
        // An editor that never ends the line it is sending holds no read up for longer than
        // this many receives.
        if (m_lines.dropping() && dropReceives++ == kDropReceives) {
            fail(QStringLiteral("The answer line is longer than %1 bytes.").arg(kLongestLine));
            return std::nullopt;
        }
        switch (receiveOnce(kReadWaitMs)) {
        case Receive::Data:
            break;
        case Receive::NothingWaiting:
            // Accepted as an empty answer; the part of a line that came stays buffered.
            return QString();
        case Receive::EndOfStream:
            fail(QStringLiteral("Connection closed gracefully."));
            return std::nullopt;
        case Receive::Error:
            return std::nullopt;
        }
    }
}

TcpConnection::Receive TcpConnection::receiveOnce(int waitMs) {
    pollfd p{m_fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, waitMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        fail(systemErrorText(errno));
        return Receive::Error;
    }
    if (ready == 0)
        return Receive::NothingWaiting;

    m_received.resize(kReceiveSize);
    ssize_t n;
    do {
        n = ::recv(m_fd, m_received.data(), kReceiveSize, MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    const int error = errno;
    if (n > 0)
        m_lines.append(m_received.constData(), n);
    if (n > 0)
        return Receive::Data;
    if (n == 0) {
        m_peerClosed = true;
        closeSocket();
        return Receive::EndOfStream;
    }
    if (error == EAGAIN || error == EWOULDBLOCK)
        return Receive::NothingWaiting;
    fail(systemErrorText(error));
    return Receive::Error;
}

TcpConnection::InUse::InUse(TcpConnection &connection) : m_connection(connection) {
    ++m_connection.m_actionsInUse;
    m_connection.updateIdleWatch();
}

TcpConnection::InUse::~InUse() {
    --m_connection.m_actionsInUse;
    m_connection.updateIdleWatch();
}

void TcpConnection::updateIdleWatch() {
    const bool watch = m_fd >= 0 && m_actionsInUse == 0 && m_lines.size() < kBacklogLimit;
    if (!watch) {
        if (m_idleWatch)
            m_idleWatch->setEnabled(false);
        return;
    }
    if (!m_idleWatch || m_idleWatch->socket() != m_fd) {
        putIdleWatchAway();
        m_idleWatch = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_idleWatch, &QSocketNotifier::activated, this, &TcpConnection::watchWhileIdle);
    }
    m_idleWatch->setEnabled(true);
}

void TcpConnection::putIdleWatchAway() {
    if (!m_idleWatch)
        return;
    m_idleWatch->setEnabled(false);
    m_idleWatch->deleteLater();
    m_idleWatch = nullptr;
}

void TcpConnection::watchWhileIdle() {
    if (m_fd < 0 || m_actionsInUse > 0)
        return;
    // Bytes the editor sent unasked are taken into the input, as a check of the connection
    // takes them, and wait there for the next answer read.
    switch (receiveOnce(0)) {
    case Receive::Data:
    case Receive::NothingWaiting:
        updateIdleWatch();
        return;
    case Receive::EndOfStream:
        // The socket is closed already.
        break;
    case Receive::Error:
        closeSocket();
        break;
    }
    emit closed();
}

void TcpConnection::closeSocket() {
    // The watch goes before its descriptor does, so that it never looks at a closed one.
    putIdleWatchAway();
    if (m_fd < 0)
        return;
    ::shutdown(m_fd, SHUT_WR);
    ::close(m_fd);
    m_fd = -1;
}

bool TcpConnection::fail(const QString &text) {
    m_error = text;
    return false;
}
