#include "app/ScreenSaverInhibitor.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <QPointer>

Q_LOGGING_CATEGORY(lcScreenSaver, "qs.screensaver", QtInfoMsg)

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");

// Where desktops export the interface: most at the long path, some older ones only at the
// short one.
const QStringList kObjectPaths{QStringLiteral("/org/freedesktop/ScreenSaver"),
                               QStringLiteral("/ScreenSaver")};

// The service is there but has not got the interface at this path, so the next path may have it.
bool notAtThisPath(const QDBusError &error) {
    switch (error.type()) {
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return true;
    default:
        return false;
    }
}

// Nothing waits for the answer to an UnInhibit: there is nothing left to do whatever it says.
void sendUnInhibit(const QDBusConnection &bus, const QString &path, uint cookie) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, path, kInterface, QStringLiteral("UnInhibit"));
    message << cookie;
    qCDebug(lcScreenSaver) << "ending request" << cookie << "at" << path;
    if (!bus.send(message))
        qCDebug(lcScreenSaver) << "UnInhibit could not be sent:" << bus.lastError().message();
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus, QString applicationName,
                                           QString reason, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_applicationName(std::move(applicationName)),
      m_reason(std::move(reason)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    if (m_cookie)
        release();
}

void ScreenSaverInhibitor::setInhibited(bool inhibited) {
    if (m_wanted == inhibited)
        return;
    m_wanted = inhibited;
    if (m_wanted) {
        // A request still on its way is kept: its answer will be wanted again.
        if (!m_cookie && !m_awaitingAnswer)
            request(0);
    } else if (m_cookie) {
        release();
    }
}

void ScreenSaverInhibitor::request(int pathIndex) {
    if (!m_bus.isConnected()) {
        qCDebug(lcScreenSaver) << "no bus, the screen keeps its own settings:"
                               << m_bus.lastError().message();
        return;
    }
    const QString path = kObjectPaths.at(pathIndex);
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, path, kInterface, QStringLiteral("Inhibit"));
    message << m_applicationName << m_reason;
    qCDebug(lcScreenSaver) << "asking the screen saver at" << path;

    // The watcher belongs to the application rather than to this object, so that an answer that
    // comes after this object has gone still finds someone to end the request it grants.
    auto *call =
        new QDBusPendingCallWatcher(m_bus.asyncCall(message), QCoreApplication::instance());
    m_awaitingAnswer = true;
    connect(call, &QDBusPendingCallWatcher::finished, call,
            [inhibitor = QPointer<ScreenSaverInhibitor>(this), bus = m_bus, path,
             pathIndex](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                if (inhibitor) {
                    inhibitor->answered(*finished, pathIndex);
                    return;
                }
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isValid())
                    sendUnInhibit(bus, path, reply.value());
            });
}

void ScreenSaverInhibitor::answered(QDBusPendingCallWatcher &call, int pathIndex) {
    m_awaitingAnswer = false;
    const QDBusPendingReply<uint> reply = call;
    if (reply.isError()) {
        if (m_wanted && notAtThisPath(reply.error()) && pathIndex + 1 < kObjectPaths.size()) {
            request(pathIndex + 1);
            return;
        }
        qCDebug(lcScreenSaver) << "the screen saver took no request, the screen keeps its own"
                               << "settings:" << reply.error().name() << reply.error().message();
        return;
    }
    m_cookie = reply.value();
    m_cookiePath = kObjectPaths.at(pathIndex);
    qCDebug(lcScreenSaver) << "the screen saver granted request" << *m_cookie << "at"
                           << m_cookiePath;
    // The option was turned off while the request was on its way.
    if (!m_wanted)
        release();
}

void ScreenSaverInhibitor::release() {
    sendUnInhibit(m_bus, m_cookiePath, *m_cookie);
    m_cookie.reset();
}
