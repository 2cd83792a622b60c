#pragma once

#include "CommandExchange.h"
#include "ConnectionIndicator.h"
#include "Discovery.h"
#include "TcpConnection.h"

#include <QObject>
#include <optional>

class ClientFields;
class MessageBoxes;

// The link to the editor as the window sees it: the connection with its indicator and log
// lines, the command exchange, and discovery, with the presses that act on them.
class ServerLink : public QObject {
    Q_OBJECT
    // True while the indicator shows its connected picture.
    Q_PROPERTY(bool indicatorConnected READ indicatorConnected NOTIFY indicatorConnectedChanged)

public:
    ServerLink(MessageBoxes &boxes, ClientFields &fields, DiscoveryEndpoints endpoints = {},
               QObject *parent = nullptr);

    // As the window's layout completes: discovery starts and its endpoint takes its port. A
    // port that cannot be taken is returned as the failure that ends the program.
    std::optional<QString> start();

    bool indicatorConnected() const { return m_indicator.connected(); }

    // The settings page's Connect/Disconnect button.
    Q_INVOKABLE void ConnectDisconnectClick();
    // The tool column's connection button: discovery starts again from a fresh endpoint.
    Q_INVOKABLE void con_SpeedButtonClick();

    // Opens the connection at the address in the server address fields; a failure is shown in
    // its message box, and discovery stays stopped either way.
    void connectToServerAddress();

    CommandLink *commandLink() { return &m_exchange; }
    TcpConnection &connection() { return m_connection; }
    Discovery &discovery() { return m_discovery; }

signals:
    void indicatorConnectedChanged();

private:
    void IdTCPClient1Connected();
    void IdTCPClient1Disconnected();

    MessageBoxes &m_boxes;
    ClientFields &m_fields;
    ConnectionIndicator m_indicator;
    TcpConnection m_connection;
    Discovery m_discovery;
    CommandExchange m_exchange;
};
