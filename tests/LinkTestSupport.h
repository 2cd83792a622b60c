#pragma once

#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// Helpers for the tests of the link to the editor: everything stays on loopback, on ports the
// system hands out.

// A UDP port that is free on the IPv4 and IPv6 wildcards alike, as discovery binds both.
inline quint16 freeUdpPort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress(QHostAddress::AnyIPv4), 0))
            continue;
        const quint16 port = probe.localPort();
        QUdpSocket probe6;
        if (probe6.bind(QHostAddress(QHostAddress::AnyIPv6), port) ||
            probe6.error() != QAbstractSocket::AddressInUseError)
            return port;
    }
    return 0;
}

// Waits (bounded) until the socket has something to read: bytes, the end of the stream or an
// error, so that a check of the connection that does not wait sees what the peer did.
inline bool waitReadable(int fd, int limitMs = 10000) {
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&p, 1, limitMs) == 1;
}

// A port on 127.0.0.1 where connects are never answered, as behind a firewall that drops them:
// a listener with a backlog of none that accepts nothing, the backlog filled by a connection of
// its own. The system drops the first packet of every further connect, which then waits until
// it gives up. Where the system keeps no connection in such a backlog, the filler's own connect
// is dropped and the effect is the same.
class UnansweringPort {
public:
    UnansweringPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) ||
            ::listen(m_listener, 0) ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length))
            return;
        m_filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ::connect(m_filler, reinterpret_cast<sockaddr *>(&address), length);
        pollfd p{m_filler, POLLOUT, 0};
        ::poll(&p, 1, 1000);
        m_port = ntohs(address.sin_port);
    }
    ~UnansweringPort() {
        ::close(m_filler);
        ::close(m_listener);
    }
    UnansweringPort(const UnansweringPort &) = delete;
    UnansweringPort &operator=(const UnansweringPort &) = delete;

    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    int m_filler = -1;
    quint16 m_port = 0;
};

// Makes the peer's close send a reset instead of an orderly end.
inline void closeWithReset(QTcpSocket *peer) {
    struct linger hard {
        1, 0
    };
    ::setsockopt(int(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    peer->abort();
}

// Everything the peer has received so far, after waiting (bounded) for at least `bytes`.
inline QByteArray receivedBy(QTcpSocket *peer, qsizetype bytes) {
    QByteArray all = peer->readAll();
    while (all.size() < bytes && peer->waitForReadyRead(10000))
        all += peer->readAll();
    return all;
}

#include "TestSupport.h"
#include "base/ClientFields.h"
#include "link/LinkReports.h"
#include "link/ServerLink.h"

#include <memory>

// The server link with everything the user would see recorded, in order, in one event list:
// "box: <text>", "log: <line>", "indicator: connected|not connected",
// "discovery: started|stopped". It shows what the link reports as the window does: boxes,
// log lines and found addresses in the settings page's fields, which the link connects to.
class LinkUnderTest : public LinkReports {
public:
    explicit LinkUnderTest(DiscoveryEndpoints endpoints) : boxes(events) {
        link = std::make_unique<ServerLink>(*this, std::move(endpoints));
        const auto addressToLink = [this] { link->setServerAddress(fields.host(), fields.port()); };
        QObject::connect(&fields, &ClientFields::hostChanged, addressToLink);
        QObject::connect(&fields, &ClientFields::portChanged, addressToLink);
        addressToLink();
        QObject::connect(&fields, &ClientFields::logChanged, [this] {
            events.append("log: " + fields.log().section(QLatin1Char('\n'), -1));
        });
        QObject::connect(&link->discovery(), &Discovery::runningChanged, [this](bool running) {
            events.append(running ? "discovery: started" : "discovery: stopped");
        });
    }

    void showMessage(const QString &text) override { boxes.showMessage(text); }
    void showError(const QString &failureText) override { boxes.showError(failureText); }
    void appendLogLine(const QString &line) override { fields.appendLogLine(line); }
    void showConnected(bool connected) override {
        if (connected == m_connected)
            return;
        m_connected = connected;
        events.append(connected ? "indicator: connected" : "indicator: not connected");
    }
    void showServerAddress(const QString &host, const QString &port) override {
        fields.setHost(host);
        fields.setPort(port);
    }
    bool indicatorConnected() const { return m_connected; }

    // Endpoints that keep every request and answer on loopback; the timer only ticks when a
    // test wants it to.
    static DiscoveryEndpoints loopback(quint16 requestPort = 9, int periodMs = 3600000) {
        return DiscoveryEndpoints::loopback(freeUdpPort(), requestPort, periodMs);
    }

    QStringList events;
    RecordingBoxes boxes;
    ClientFields fields;
    std::unique_ptr<ServerLink> link;

private:
    bool m_connected = false;
};
