#include "PrivateBusTest.h"

#include <QCoreApplication>
#include <QTest>

void PrivateBusTest::initTestCase() {
    QString failure;
    m_address = m_daemon.start(failure);
    QVERIFY2(!m_address.isEmpty(), qPrintable(failure));
    // The program's name as the screen saver sees it in each request.
    QCoreApplication::setApplicationName(QStringLiteral("QSclient"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

void PrivateBusTest::cleanupTestCase() {
    m_daemon.stop();
}

void PrivateBusTest::connectBoth() {
    const QString suffix = QString::number(++m_connections);
    m_programBus = QDBusConnection::connectToBus(m_address, QStringLiteral("program") + suffix);
    m_screenSaverBus =
        QDBusConnection::connectToBus(m_address, QStringLiteral("screensaver") + suffix);
    QVERIFY2(m_programBus->isConnected(), qPrintable(m_programBus->lastError().message()));
    QVERIFY2(m_screenSaverBus->isConnected(), qPrintable(m_screenSaverBus->lastError().message()));
}

void PrivateBusTest::disconnectBoth() {
    if (m_programBus)
        QDBusConnection::disconnectFromBus(m_programBus->name());
    if (m_screenSaverBus)
        QDBusConnection::disconnectFromBus(m_screenSaverBus->name());
    m_programBus.reset();
    m_screenSaverBus.reset();
}
