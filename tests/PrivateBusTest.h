#pragma once

#include "ScreenSaverStandIn.h"

#include <QDBusConnection>
#include <QObject>
#include <optional>

// The fixture of the tests that talk over D-Bus: a private bus for the whole test program, which
// is also its session bus (never the machine's), and for each test two new connections to it,
// the program's and the screen saver's, as two programs would have them.
class PrivateBusTest : public QObject {
    Q_OBJECT

protected:
    const QString &busAddress() const { return m_address; }
    QDBusConnection &programBus() { return *m_programBus; }
    QDBusConnection &screenSaverBus() { return *m_screenSaverBus; }

    // Both connections, new and under names of their own; a connection that cannot be made fails
    // the test.
    void connectBoth();
    void disconnectBoth();

protected slots:
    // Run by QtTest once before the first test function and once after the last.
    void initTestCase();
    void cleanupTestCase();

private:
    PrivateSessionBus m_daemon;
    QString m_address;
    std::optional<QDBusConnection> m_programBus;
    std::optional<QDBusConnection> m_screenSaverBus;
    int m_connections = 0;
};
