#pragma once

#include "link/CommandLink.h"

class Discovery;
class LinkReports;
class TcpConnection;

// The exchange of command words with the editor: one line out, one answer line in, judged as it
// arrives. Every failure is shown to the user here, in the order the user sees it: box,
// indicator and discovery.
class CommandExchange : public CommandLink {
public:
    CommandExchange(TcpConnection &connection, Discovery &discovery, LinkReports &reports);

    bool sendCommand(const QString &commandWord) override;
    bool writeLineUnanswered(const QString &line) override;
    void closeSilently() override;

    // The trace of the last exchange, as the hidden reply label Label1 would hold it: "ok" at
    // first, each answer while it is judged, "x" once it has been; a reply step that failed
    // leaves it as it was. Nothing reads it to decide anything.
    const QString &reply() const { return m_reply; }

private:
    // Reads and judges one answer; false when the read failed.
    bool replyStep();

    TcpConnection &m_connection;
    Discovery &m_discovery;
    LinkReports &m_reports;
    QString m_reply = QStringLiteral("ok");
};
