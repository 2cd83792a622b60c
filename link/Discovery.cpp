#include "link/Discovery.h"

#include "link/LinkReports.h"
#include "link/WireText.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

#include <sys/socket.h>

namespace {

const QString kTickFailed = QStringLiteral(
    "Κάτι δεν πάει καλά. Ελέγξε τη σύνδεση της συσκευής σας στο δίκτυο και ξανά τρέξτε το "
    "QSclient.");

} // namespace

std::optional<DiscoveryAnswer> DiscoveryAnswer::read(const QByteArray &datagram) {
    if (datagram.size() > kLongest)
        return std::nullopt;
    const QString text = WireText::decode(datagram);
    const qsizetype separator = text.indexOf(QLatin1Char('m'));
    if (separator < 0)
        return std::nullopt;
    return DiscoveryAnswer{text.left(separator), text.mid(separator + 1)};
}

QList<QHostAddress> directedBroadcastAddresses() {
    QList<QHostAddress> addresses;
    const auto networks = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &network : networks) {
        const auto flags = network.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack) ||
            !flags.testFlag(QNetworkInterface::CanBroadcast))
            continue;
        const auto entries = network.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            const QHostAddress broadcast = entry.broadcast();
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !broadcast.isNull() &&
                !addresses.contains(broadcast))
                addresses.append(broadcast);
        }
    }
    return addresses;
}

Discovery::Discovery(DiscoveryEndpoints endpoints, LinkReports &reports, QObject *parent)
    : QObject(parent), m_endpoints(std::move(endpoints)), m_reports(reports) {
    m_timer.setInterval(m_endpoints.periodMs);
    connect(&m_timer, &QTimer::timeout, this, &Discovery::sendRequestOrStop);

    // Datagrams are taken on the user-interface thread as they are signalled rather than by
    // listener threads of our own: either way each answer is handled there, one at a time, and
    // its handler may report to the window directly. What a listener thread would give by
    // waiting for its handler (no second answer from the same socket while the first is being
    // handled, even when that handler shows a message box) is kept by the handling flags.
    connect(&m_ipv4, &QUdpSocket::readyRead, this,
            [this] { takeDatagrams(m_ipv4, m_handlingIpv4); });
    connect(&m_ipv6, &QUdpSocket::readyRead, this,
            [this] { takeDatagrams(m_ipv6, m_handlingIpv6); });
}

std::optional<QString> Discovery::open() {
    if (isOpen())
        return std::nullopt;
    if (!bindSocket(m_ipv4, QHostAddress(QHostAddress::AnyIPv4))) {
        const bool inUse = m_ipv4.error() == QAbstractSocket::AddressInUseError;
        const QString reason = m_ipv4.errorString();
        m_ipv4.close();
        if (inUse)
            return QStringLiteral("Could not bind socket. Address and port are already in use.");
        return QStringLiteral("Could not bind socket. %1").arg(reason);
    }
    if (!bindSocket(m_ipv6, QHostAddress(QHostAddress::AnyIPv6))) {
        const auto error = m_ipv6.error();
        const QString reason = m_ipv6.errorString();
        m_ipv6.close();
        // A system without IPv6 simply has no second socket.
        if (error == QAbstractSocket::UnsupportedSocketOperationError ||
            error == QAbstractSocket::SocketAddressNotAvailableError)
            return std::nullopt;
        m_ipv4.close();
        if (error == QAbstractSocket::AddressInUseError)
            return QStringLiteral("Could not bind socket. Address and port are already in use.");
        return QStringLiteral("Could not bind socket. %1").arg(reason);
    }
    return std::nullopt;
}

bool Discovery::bindSocket(QUdpSocket &socket, const QHostAddress &address) {
    // DontShareAddress leaves SO_REUSEADDR off (Qt would otherwise set it on Unix), so that a
    // port another socket holds, such as a second copy of the client's, cannot be taken. The
    // IPv6 wildcard is bound IPv6-only by Qt, so it does not claim the IPv4 port.
    return socket.bind(address, m_endpoints.listenPort, QAbstractSocket::DontShareAddress);
}

void Discovery::close() {
    m_ipv4.close();
    m_ipv6.close();
}

bool Discovery::isOpen() const {
    return m_ipv4.state() == QAbstractSocket::BoundState;
}

void Discovery::start() {
    if (m_timer.isActive())
        return;
    m_timer.start();
    emit runningChanged(true);
}

void Discovery::stop() {
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    emit runningChanged(false);
}

void Discovery::sendRequestOrStop() {
    // Ticks that fall due while the failure box is open open no second box; the timer is
    // stopped once the user has closed the first.
    if (m_tickFailureShown)
        return;
    const bool opened = !open().has_value();
    if (opened && sendRequest())
        return;
    m_tickFailureShown = true;
    m_reports.showMessage(kTickFailed);
    m_tickFailureShown = false;
    stop();
}

bool Discovery::sendRequest() {
    // Qt enables broadcasts on every UDP socket it creates; it is set here all the same, right
    // before each request, in case something turned it off.
    const int on = 1;
    const auto fd = m_ipv4.socketDescriptor();
    if (fd < 0 || ::setsockopt(int(fd), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
        return false;
    const QByteArray request("qs");
    const qint64 sent =
        m_ipv4.writeDatagram(request, m_endpoints.requestAddress, m_endpoints.requestPort);
    // Each network's own broadcast as well. Those sends are a help, not the request itself: one
    // that fails (a network that went away since it was listed) is skipped without a word.
    if (m_endpoints.moreRequestAddresses) {
        const QList<QHostAddress> more = m_endpoints.moreRequestAddresses();
        for (const QHostAddress &address : more) {
            if (address != m_endpoints.requestAddress)
                m_ipv4.writeDatagram(request, address, m_endpoints.requestPort);
        }
    }
    ::setsockopt(int(fd), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    return sent == request.size();
}

void Discovery::takeDatagrams(QUdpSocket &socket, bool &handling) {
    // The handler that is running takes the rest once it has returned.
    if (handling)
        return;
    handling = true;
    while (socket.state() == QAbstractSocket::BoundState && socket.hasPendingDatagrams()) {
        const qint64 size = socket.pendingDatagramSize();
        // An answer longer than 20 bytes is dropped whole; reading it into a short buffer
        // discards it without copying it.
        if (size < 0 || size > DiscoveryAnswer::kLongest) {
            char discard[1];
            socket.readDatagram(discard, sizeof discard);
            continue;
        }
        const QNetworkDatagram datagram = socket.receiveDatagram(DiscoveryAnswer::kLongest);
        takeAnswer(datagram.data());
    }
    handling = false;
    if (!m_handlingIpv4 && !m_handlingIpv6)
        emit answersDone();
}

void Discovery::takeAnswer(const QByteArray &datagram) {
    const std::optional<DiscoveryAnswer> answer = DiscoveryAnswer::read(datagram);
    if (answer)
        emit answerTaken(answer->host, answer->port);
}

void Discovery::restart() {
    close();
    start();
}

bool Discovery::hasPendingDatagrams() const {
    return (m_ipv4.state() == QAbstractSocket::BoundState && m_ipv4.hasPendingDatagrams()) ||
           (m_ipv6.state() == QAbstractSocket::BoundState && m_ipv6.hasPendingDatagrams());
}
