#include "ServerLink.h"

#include "ClientFields.h"
#include "IntegerSyntax.h"
#include "MessageBoxes.h"

namespace {

const QString kNotFound = QStringLiteral(
    "Δεν ενοπίστηκε το πρόγραμμα QS. Από τις ρυθμίσεις δώστε την IP και την Port επικοινωνίας. "
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
    connect(&m_discovery, &Discovery::answerTaken, this, &ServerLink::connectToServerAddress);
}

std::optional<QString> ServerLink::start() {
    m_discovery.start();
    return m_discovery.open();
}

void ServerLink::ConnectDisconnectClick() {
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
    m_discovery.stop();
    const QString host = m_fields.edit2();
    // The port is the low 16 bits of the number, so -1 means 65535 and 65536 means 0, which
    // the connect then refuses.
    const std::optional<qint32> number = IntegerSyntax::parse(m_fields.edit3());
    if (number && m_connection.Connect(host, quint16(quint32(*number) & 0xFFFF)))
        return;
    const std::optional<bool> open = m_connection.Connected();
    if (!open) {
        m_boxes.showError(m_connection.errorString());
        return;
    }
    if (!*open)
        m_boxes.showMessage(kNotFound);
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
