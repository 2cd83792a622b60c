#pragma once

#include "link/CommandExchange.h"
#include "link/ConnectionIndicator.h"
#include "link/Discovery.h"
#include "link/TcpConnection.h"

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

    // As the window's layout completes: discovery's endpoint takes its port and discovery
    // starts. A port that cannot be taken is returned as the failure that ends the program, and
    // discovery is left stopped.
    std::optional<QString> start();

    bool indicatorConnected() const { return m_indicator.connected(); }

    // The settings page's Connect/Disconnect button.
    Q_INVOKABLE void ConnectDisconnectClick();
    // The tool column's connection button: discovery starts again from a fresh endpoint.
    Q_INVOKABLE void con_SpeedButtonClick();

    // Opens the connection at the address in the server address fields; a failure is shown in
    // its message box, and discovery stays stopped either way.
    void connectToServerAddress();
    // The same for the address of a discovery answer, but of the failures of one burst of
    // answers only the first is shown.
    void connectToAnsweredAddress();

    CommandLink *commandLink() { return &m_exchange; }
    TcpConnection &connection() { return m_connection; }
    Discovery &discovery() { return m_discovery; }

signals:
    void indicatorConnectedChanged();

private:
    // Stops discovery and opens the connection at the address in the fields. True when the open
    // failed with no connection open, so that the not-found message is due; a failed check of
    // the connection has been shown in the error box already.
    bool openFailsUnreported();
    void IdTCPClient1Connected();
    void IdTCPClient1Disconnected();

    MessageBoxes &m_boxes;
    ClientFields &m_fields;
    ConnectionIndicator m_indicator;
    TcpConnection m_connection;
    Discovery m_discovery;
    CommandExchange m_exchange;
    // The failure of an answer's connect has been shown, and the burst that answer came in
    // goes on.
    bool m_burstFailureShown = false;
};
