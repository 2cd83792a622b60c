#pragma once

// The desktop side of the screen-saver request, for tests: a session bus of the test's own and a
// screen saver on it that the test plays. Never the machine's own bus.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVirtualObject>
#include <QFile>
#include <QList>
#include <QMetaType>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/prctl.h>

namespace ScreenSaverStandIns {

// What every wait of these tests is bounded by.
constexpr int kPatience = 5000;

inline const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
inline const QString kLongPath = QStringLiteral("/org/freedesktop/ScreenSaver");
inline const QString kShortPath = QStringLiteral("/ScreenSaver");
inline const QString kReason = QStringLiteral("Οθόνη πάντα ανοιχτή");

// A call as the stand-in records it.
inline QString inhibitCall(const QString &application, uint cookie,
                           const QString &path = kLongPath) {
    return QStringLiteral("Inhibit(%1, %2) at %3 -> %4")
        .arg(application, kReason, path)
        .arg(cookie);
}

inline QString unInhibitCall(uint cookie, const QString &path = kLongPath) {
    return QStringLiteral("UnInhibit(%1) at %2").arg(cookie).arg(path);
}

} // namespace ScreenSaverStandIns

// A dbus-daemon with a minimal configuration (no service files, so nothing is ever started on
// demand) that listens in a temporary folder and is killed with this object, or with the test
// program if that ends first.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() { stop(); }

    // The bus's address, or an empty text after writing why into failure.
    QString start(QString &failure) {
        using ScreenSaverStandIns::kPatience;
        if (!m_folder.isValid()) {
            failure = QStringLiteral("no temporary folder");
            return {};
        }
        const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            failure = QStringLiteral("cannot write ") + config;
            return {};
        }
        file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC"
                                  " \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
                                  " \"http://www.freedesktop.org/standards/dbus/1.0/"
                                  "busconfig.dtd\">\n"
                                  "<busconfig>\n"
                                  "  <type>session</type>\n"
                                  "  <listen>unix:dir=%1</listen>\n"
                                  "  <auth>EXTERNAL</auth>\n"
                                  "  <policy context=\"default\">\n"
                                  "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                                  "    <allow eavesdrop=\"true\"/>\n"
                                  "    <allow own=\"*\"/>\n"
                                  "  </policy>\n"
                                  "</busconfig>\n")
                       .arg(m_folder.path())
                       .toUtf8());
        file.close();

        m_daemon.setProgram(QStringLiteral("dbus-daemon"));
        m_daemon.setArguments({QStringLiteral("--config-file=") + config,
                               QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        // A test that is killed (a time limit, a crash) takes its bus with it.
        m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_daemon.start();
        if (!m_daemon.waitForStarted(kPatience)) {
            failure = QStringLiteral("dbus-daemon did not start: ") + m_daemon.errorString();
            return {};
        }
        QByteArray printed;
        while (!printed.contains('\n') && m_daemon.waitForReadyRead(kPatience))
            printed += m_daemon.readAllStandardOutput();
        if (!printed.contains('\n')) {
            failure = QStringLiteral("dbus-daemon printed no address: ") +
                      QString::fromLocal8Bit(m_daemon.readAllStandardError());
            return {};
        }
        return QString::fromUtf8(printed.left(printed.indexOf('\n'))).trimmed();
    }

    void stop() {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.kill();
        m_daemon.waitForFinished(ScreenSaverStandIns::kPatience);
    }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
};

// The desktop's screen saver as a test plays it, at one object path: records each Inhibit and
// UnInhibit it receives (see inhibitCall, unInhibitCall), hands out cookies from 1001 on, and
// answers at once, only when the test says so, or with a refusal.
class StandInScreenSaver : public QDBusVirtualObject {
public:
    enum class Answers { AtOnce, WhenTold, Refuses };

    QStringList calls;
    Answers answers = Answers::AtOnce;

    int heldAnswers() const { return int(m_held.size()); }

    void answerHeldCalls() {
        for (const Held &held : std::as_const(m_held))
            held.connection.send(held.call.createReply(QVariant::fromValue(held.cookie)));
        m_held.clear();
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override {
        if (message.interface() != ScreenSaverStandIns::kService)
            return false;
        const QVariantList arguments = message.arguments();
        if (message.member() == QLatin1String("Inhibit") && message.signature() == "ss") {
            const uint cookie = m_nextCookie++;
            calls << QStringLiteral("Inhibit(%1, %2) at %3 -> %4")
                         .arg(arguments.at(0).toString(), arguments.at(1).toString(),
                              message.path())
                         .arg(cookie);
            switch (answers) {
            case Answers::AtOnce:
                connection.send(message.createReply(QVariant::fromValue(cookie)));
                break;
            case Answers::WhenTold:
                m_held.append({message, connection, cookie});
                break;
            case Answers::Refuses:
                connection.send(
                    message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("not now")));
                break;
            }
            return true;
        }
        if (message.member() == QLatin1String("UnInhibit") && message.signature() == "u") {
            calls << QStringLiteral("UnInhibit(%1) at %2")
                         .arg(arguments.at(0).toUInt())
                         .arg(message.path());
            // As a screen saver does: no answer to a caller that waits for none.
            if (message.isReplyRequired())
                connection.send(message.createReply());
            return true;
        }
        return false;
    }

    QString introspect(const QString &) const override {
        return QStringLiteral("<interface name=\"org.freedesktop.ScreenSaver\">"
                              "<method name=\"Inhibit\"><arg type=\"s\" direction=\"in\"/>"
                              "<arg type=\"s\" direction=\"in\"/>"
                              "<arg type=\"u\" direction=\"out\"/></method>"
                              "<method name=\"UnInhibit\"><arg type=\"u\" direction=\"in\"/>"
                              "</method></interface>");
    }

private:
    struct Held {
        QDBusMessage call;
        QDBusConnection connection;
        uint cookie;
    };

    uint m_nextCookie = 1001;
    QList<Held> m_held;
};

Q_DECLARE_METATYPE(StandInScreenSaver::Answers)

namespace ScreenSaverStandIns {

// Puts the stand-in on the bus at that path, under the screen saver's name or under none.
inline bool offer(QDBusConnection &bus, StandInScreenSaver &screenSaver, const QString &path,
                  bool underServiceName) {
    return bus.registerVirtualObject(path, &screenSaver) &&
           (!underServiceName || bus.registerService(kService));
}

// A round trip from one connection to another: it reaches the other only after whatever the
// first sent before it, and its answer comes back only after the other's program has been
// handed what came before it.
inline bool roundTrip(const QDBusConnection &from, const QDBusConnection &to) {
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        to.baseService(), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
        QStringLiteral("Ping"));
    QDBusPendingCall pong = from.asyncCall(ping, kPatience);
    return QTest::qWaitFor([&] { return pong.isFinished(); }, kPatience) && !pong.isError();
}

} // namespace ScreenSaverStandIns
