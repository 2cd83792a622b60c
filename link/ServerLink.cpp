#include "link/ServerLink.h"

#include "base/IntegerSyntax.h"
#include "link/LinkReports.h"

namespace {

const QString kNotFound = QStringLiteral(
    "Δεν εντοπίστηκε το πρόγραμμα QS. Από τις ρυθμίσεις δώστε την IP και την Port επικοινωνίας. "
    "Στη συνέχεια πατήστε το πλήκτρο Connect");

} // namespace

ServerLink::ServerLink(LinkReports &reports, DiscoveryEndpoints endpoints, QObject *parent)
    : QObject(parent), m_reports(reports), m_discovery(std::move(endpoints), reports),
      m_exchange(m_connection, m_discovery, reports) {
    connect(&m_connection, &TcpConnection::opened, this, &ServerLink::connectionOpened);
    connect(&m_connection, &TcpConnection::closed, this, &ServerLink::connectionClosed);
    connect(&m_discovery, &Discovery::answerTaken, this, &ServerLink::connectToAnsweredAddress);
    connect(&m_discovery, &Discovery::answersDone, this, [this] { m_burstFailureShown = false; });
}

std::optional<QString> ServerLink::start() {
    // The endpoint first: a program that cannot take its port does not start, so no tick may
    // fall due (and open a box of its own) while the error box is shown.
    if (auto failure = m_discovery.open())
        return failure;
    m_discovery.start();
    return std::nullopt;
}

void ServerLink::setServerAddress(const QString &host, const QString &port) {
    m_host = host;
    m_port = port;
}

void ServerLink::connectOrDisconnect() {
    const TcpConnection::InUse inUse(m_connection);
    const std::optional<bool> open = m_connection.checkOpen();
    if (!open) {
        m_reports.showError(m_connection.errorString());
        return;
    }
    if (*open)
        m_connection.close();
    else
        connectToServerAddress();
}

void ServerLink::searchAgain() {
    m_discovery.restart();
}

void ServerLink::connectToServerAddress() {
    if (openFailsUnreported())
        m_reports.showMessage(kNotFound);
}

void ServerLink::connectToAnsweredAddress(const QString &host, const QString &port) {
    // Every answer takes the address, whether its connect is made or not.
    setServerAddress(host, port);
    m_reports.showServerAddress(host, port);
    if (!openFailsUnreported())
        return;
    // One burst of answers, one box: answers that come while this box is open, or that waited
    // for its handler, still take the fields and connect, but their failures are not shown
    // again, one box after another.
    if (m_burstFailureShown)
        return;
    m_burstFailureShown = true;
    m_reports.showMessage(kNotFound);
}

bool ServerLink::openFailsUnreported() {
    const TcpConnection::InUse inUse(m_connection);
    m_discovery.stop();
    // The port is the low 16 bits of the number, so -1 means 65535 and 65536 means 0, which
    // the connect then refuses.
    const std::optional<qint32> number = IntegerSyntax::parse(m_port);
    if (number && m_connection.open(m_host, quint16(quint32(*number) & 0xFFFF)))
        return false;
    const std::optional<bool> open = m_connection.checkOpen();
    if (!open) {
        m_reports.showError(m_connection.errorString());
        return false;
    }
    // A connection that is open already goes on unchanged, and nothing is shown.
    return !*open;
}

void ServerLink::connectionOpened() {
    m_reports.appendLogLine(QStringLiteral("Client connected with server"));
    m_reports.showConnected(true);
}

void ServerLink::connectionClosed() {
    m_reports.appendLogLine(QStringLiteral("Client disconnected from server"));
    m_reports.showConnected(false);
    m_discovery.start();
}
