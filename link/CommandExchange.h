#pragma once

#include "link/CommandLink.h"

class ClientFields;
class ConnectionIndicator;
class Discovery;
class MessageBoxes;
class TcpConnection;

// The exchange of command words with the editor (kataxorisi): one line out, one answer line in,
// judged through the hidden reply label Label1. Every failure is shown to the user here, in the
// order the user sees it: box, indicator and discovery.
class CommandExchange : public CommandLink {
public:
    CommandExchange(TcpConnection &connection, Discovery &discovery, ConnectionIndicator &indicator,
                    ClientFields &fields, MessageBoxes &boxes);

    bool kataxorisi(const QString &commandWord) override;
    bool writeLineUnanswered(const QString &line) override;
    void closeSilently() override;

private:
    // Reads and judges one answer; false when the read failed.
    bool replyStep();

    TcpConnection &m_connection;
    Discovery &m_discovery;
    ConnectionIndicator &m_indicator;
    ClientFields &m_fields;
    MessageBoxes &m_boxes;
};
