#include "link/CommandExchange.h"

#include "link/AnswerLines.h"
#include "link/Discovery.h"
#include "link/LinkReports.h"
#include "link/TcpConnection.h"

namespace {

const QString kNoConnection = QStringLiteral("Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS");
const QString kRefused = QStringLiteral("Πρόβλημα! Δεν υπάρχει σύνδεση με τον Server QS");

} // namespace

CommandExchange::CommandExchange(TcpConnection &connection, Discovery &discovery,
                                 LinkReports &reports)
    : m_connection(connection), m_discovery(discovery), m_reports(reports) {}

bool CommandExchange::sendCommand(const QString &commandWord) {
    // The exchange meets an editor's close itself, boxes included.
    const TcpConnection::InUse inUse(m_connection);
    const std::optional<bool> open = m_connection.checkOpen();
    if (!open) {
        m_reports.showError(m_connection.errorString());
        return false;
    }
    if (!*open) {
        // The message first: discovery and the picture change once the user has seen it.
        m_reports.showMessage(kNoConnection);
        m_discovery.start();
        m_reports.showConnected(false);
        return true;
    }
    if (m_connection.writeLine(commandWord) && replyStep())
        return true;
    // A failed exchange leaves the socket as it is: discovery looks for the editor meanwhile.
    m_discovery.start();
    m_reports.showConnected(false);
    m_reports.showMessage(kNoConnection);
    return true;
}

bool CommandExchange::replyStep() {
    const std::optional<QString> answer = m_connection.readLine();
    if (!answer)
        return false;
    m_reply = *answer;
    if (!isAcceptingAnswer(*answer)) {
        m_reports.showMessage(kRefused);
        m_connection.close();
        // Also when the editor had closed its end already and close() found nothing to close:
        // then no event has changed the picture, and it would go on showing a connection.
        m_reports.showConnected(false);
        m_discovery.start();
    }
    m_reply = QStringLiteral("x");
    return true;
}

bool CommandExchange::writeLineUnanswered(const QString &line) {
    const TcpConnection::InUse inUse(m_connection);
    return m_connection.writeLine(line);
}

void CommandExchange::closeSilently() {
    m_connection.closeSilently();
}
