#include "link/ServerLink.h"

#include "app/ClientFields.h"
#include "app/IntegerSyntax.h"
#include "app/MessageBoxes.h"

namespace {

const QString kNotFound = QStringLiteral(
    "Δεν εντοπίστηκε το πρόγραμμα QS. Από τις ρυθμίσεις δώστε την IP και την Port επικοινωνίας. "
    "Στη συνέχεια πατήστε το πλήκτρο Connect");

} // namespace

ServerLink::ServerLink(MessageBoxes &boxes, ClientFields &fields, DiscoveryEndpoints endpoints,
                       QObject *parent)
    : QObject(parent), m_boxes(boxes), m_fields(fields),
      m_discovery(std::move(endpoints), fields, boxes),
      m_exchange(m_connection, m_discovery, m_indicator, fields, boxes) {
    connect(&m_indicator, &ConnectionIndicator::connectedChanged, this,
            &ServerLink::indicatorConnectedChanged);
    connect(&m_connection, &TcpConnection::OnConnected, this, &ServerLink::IdTCPClient1Connected);
    connect(&m_connection, &TcpConnection::OnDisconnected, this,
            &ServerLink::IdTCPClient1Disconnected);
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

void ServerLink::ConnectDisconnectClick() {
    const TcpConnection::InUse inUse(m_connection);
    const std::optional<bool> open = m_connection.Connected();
    if (!open) {
        m_boxes.showError(m_connection.errorString());
        return;
    }
    if (*open)
        m_connection.Disconnect();
    else
        connectToServerAddress();
}

void ServerLink::con_SpeedButtonClick() {
    m_discovery.restart();
}

void ServerLink::connectToServerAddress() {
    if (openFailsUnreported())
        m_boxes.showMessage(kNotFound);
}

void ServerLink::connectToAnsweredAddress() {
    if (!openFailsUnreported())
        return;
    // One burst of answers, one box: answers that come while this box is open, or that waited
    // for its handler, still take the fields and connect, but their failures are not shown
    // again, one box after another.
    if (m_burstFailureShown)
        return;
    m_burstFailureShown = true;
    m_boxes.showMessage(kNotFound);
}

bool ServerLink::openFailsUnreported() {
    const TcpConnection::InUse inUse(m_connection);
    m_discovery.stop();
    const QString host = m_fields.host();
    // The port is the low 16 bits of the number, so -1 means 65535 and 65536 means 0, which
    // the connect then refuses.
    const std::optional<qint32> number = IntegerSyntax::parse(m_fields.port());
    if (number && m_connection.Connect(host, quint16(quint32(*number) & 0xFFFF)))
        return false;
    const std::optional<bool> open = m_connection.Connected();
    if (!open) {
        m_boxes.showError(m_connection.errorString());
        return false;
    }
    // A connection that is open already goes on unchanged, and nothing is shown.
    return !*open;
}

void ServerLink::IdTCPClient1Connected() {
    m_fields.appendLogLine(QStringLiteral("Client connected with server"));
    m_indicator.setConnected(true);
}

void ServerLink::IdTCPClient1Disconnected() {
    m_fields.appendLogLine(QStringLiteral("Client disconnected from server"));
    m_indicator.setConnected(false);
    m_discovery.start();
}
