#pragma once

#include "link/CommandExchange.h"
#include "link/Discovery.h"
#include "link/TcpConnection.h"

#include <QObject>
#include <optional>

class LinkReports;

// The link to the editor as the window sees it: the connection with its indicator and log
// lines, the command exchange, and discovery, with the presses that act on them. What the user
// must see goes to the reports, at once and in order.
class ServerLink : public QObject {
    Q_OBJECT

public:
    ServerLink(LinkReports &reports, DiscoveryEndpoints endpoints = {}, QObject *parent = nullptr);

    // As the window's layout completes: discovery's endpoint takes its port and discovery
    // starts. A port that cannot be taken is returned as the failure that ends the program, and
    // discovery is left stopped.
    std::optional<QString> start();

    // The address the connection opens: the host and the port as the settings page's fields
    // hold them (the port still as typed; it is read when the connection opens). A discovery
    // answer replaces it and reports the new one.
    void setServerAddress(const QString &host, const QString &port);
    QString host() const { return m_host; }
    QString port() const { return m_port; }

    // The settings page's Connect/Disconnect button.
    void connectOrDisconnect();
    // The tool column's connection button: discovery starts again from a fresh endpoint.
    void searchAgain();

    // Opens the connection at the server address; a failure is shown in its message box, and
    // discovery stays stopped either way.
    void connectToServerAddress();
    // The same for the address of a discovery answer, but of the failures of one burst of
    // answers only the first is shown.
    void connectToAnsweredAddress(const QString &host, const QString &port);

    CommandLink *commandLink() { return &m_exchange; }
    const CommandExchange &exchange() const { return m_exchange; }
    TcpConnection &connection() { return m_connection; }
    Discovery &discovery() { return m_discovery; }

private:
    // Stops discovery and opens the connection at the server address. True when the open
    // failed with no connection open, so that the not-found message is due; a failed check of
    // the connection has been shown in the error box already.
    bool openFailsUnreported();
    void connectionOpened();
    void connectionClosed();

    LinkReports &m_reports;
    // Empty until the window gives the settings page's address, which it does as it makes the
    // link: the fields hold the defaults and the settings file's values, not the link.
    QString m_host;
    QString m_port;
    TcpConnection m_connection;
    Discovery m_discovery;
    CommandExchange m_exchange;
    // The failure of an answer's connect has been shown, and the burst that answer came in
    // goes on.
    bool m_burstFailureShown = false;
};
