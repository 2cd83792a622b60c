#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>
#include <functional>
#include <optional>

class LinkReports;

// The directed broadcast address of every IPv4 network of this machine that is up, is not
// loopback and can broadcast, as the system lists them now.
QList<QHostAddress> directedBroadcastAddresses();

// Where discovery listens and where its requests go. The program always uses these defaults;
// tests give loopback addresses and free ports.
struct DiscoveryEndpoints {
    quint16 listenPort = 8091;
    QHostAddress requestAddress = QHostAddress(QHostAddress::Broadcast);
    quint16 requestPort = 8090;
    int periodMs = 2000;
    // Further addresses each request also goes to, asked afresh at every tick. The limited
    // broadcast leaves only by the default route; an editor on another network of the machine
    // hears the request on its network's own broadcast address.
    std::function<QList<QHostAddress>()> moreRequestAddresses = directedBroadcastAddresses;

    // Endpoints that never leave this machine, for the tools, benchmarks and tests that build
    // the window: requests go to a loopback port; port 0 lets the system choose the listening one.
    static DiscoveryEndpoints loopback(quint16 listenPort = 0, quint16 requestPort = 9,
                                       int periodMs = 2000) {
        return {listenPort, QHostAddress(QHostAddress::LocalHost), requestPort, periodMs,
                [] { return QList<QHostAddress>(); }};
    }
};

// A discovery answer as it reads: host text, the letter "m", port text, at most 20 bytes.
struct DiscoveryAnswer {
    static constexpr qsizetype kLongest = 20;

    QString host;
    QString port;

    // The datagram split at its first lower-case "m" (bytes from 0x80 up read as U+FFFD);
    // nothing for one without an "m" or longer than kLongest, which means nothing.
    static std::optional<DiscoveryAnswer> read(const QByteArray &datagram);
};

// Server discovery: the endpoint IdUDPServer1 (an IPv4 socket and, where the system offers
// IPv6, an IPv6-only socket on the same port) and the timer Timer1 that sends "qs" each period
// while discovery runs. Every answer, taken whether discovery runs or not, is handed on by
// answerTaken(), which asks for the connect to its address.
class Discovery : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)

public:
    Discovery(DiscoveryEndpoints endpoints, LinkReports &reports, QObject *parent = nullptr);

    // Takes the port on both sockets; a failure leaves both closed and says why.
    std::optional<QString> open();
    void close();
    bool isOpen() const;

    // Start and stop discovery: enable and disable Timer1. Enabling it while it runs keeps the
    // running period.
    void start();
    void stop();
    bool running() const { return m_timer.isActive(); }

    // One period has passed: the request goes out, or the failure is shown and discovery stops.
    void sendRequestOrStop();
    // A datagram on the endpoint: an answer is handed on, anything else means nothing.
    void takeAnswer(const QByteArray &datagram);
    // The connection button: the endpoint closes until the next tick reopens it.
    void restart();

    // A datagram has come in and waits to be handed to the answer handler.
    bool hasPendingDatagrams() const;

signals:
    void runningChanged(bool running);
    // An answer came with this address: connect to it now.
    void answerTaken(const QString &host, const QString &port);
    // Every answer that had come has been handled, those that came while an earlier one's
    // handler was running included: a burst of answers has ended.
    void answersDone();

private:
    bool bindSocket(QUdpSocket &socket, const QHostAddress &address);
    bool sendRequest();
    void takeDatagrams(QUdpSocket &socket, bool &handling);

    DiscoveryEndpoints m_endpoints;
    LinkReports &m_reports;
    QTimer m_timer;
    QUdpSocket m_ipv4;
    QUdpSocket m_ipv6;
    bool m_handlingIpv4 = false;
    bool m_handlingIpv6 = false;
    bool m_tickFailureShown = false;
};
