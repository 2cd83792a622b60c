#pragma once

#include <QString>

// What the link to the editor has the user see, told to whoever shows it (the window) at the
// moment it happens. Every call is synchronous: a message returns only once the user has closed
// its box, so the order of box, indicator and discovery is the order the user sees.
class LinkReports {
public:
    virtual ~LinkReports() = default;

    // A message box with the link's own text; returns once the user has closed it. The event
    // loop keeps running meanwhile (discovery ticks and answers fall due as usual).
    virtual void showMessage(const QString &text) = 0;
    // The report of a failure that no handler catches: its own text, in the error box.
    virtual void showError(const QString &failureText) = 0;
    // A line appended to the connection log.
    virtual void appendLogLine(const QString &line) = 0;
    // The connection indicator's picture: connected or not. Showing the state already shown
    // changes nothing.
    virtual void showConnected(bool connected) = 0;
    // A discovery answer's address, now the address the link connects to: the server address
    // fields show it.
    virtual void showServerAddress(const QString &host, const QString &port) = 0;
};
