#include "MainClient.h"
#include "ScreenSaverInhibitor.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kLongPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kShortPath = QStringLiteral("/ScreenSaver");
const QString kReason = QStringLiteral("Οθόνη πάντα ανοιχτή");
// What every waiting of this test is bounded by.
constexpr int kPatience = 5000;

QString inhibit(const QString &application, uint cookie, const QString &path = kLongPath) {
    return QStringLiteral("Inhibit(%1, %2) at %3 -> %4")
        .arg(application, kReason, path)
        .arg(cookie);
}

QString unInhibit(uint cookie, const QString &path = kLongPath) {
    return QStringLiteral("UnInhibit(%1) at %2").arg(cookie).arg(path);
}

} // namespace

// A session bus of the test's own, never the machine's: a dbus-daemon with a minimal
// configuration (no service files, so nothing is ever started on demand) that listens in a
// temporary folder and ends with the test.
class PrivateSessionBus {
public:
    ~PrivateSessionBus() { stop(); }

    // The bus's address, or an empty text after writing why into failure.
    QString start(QString &failure) {
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
        m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
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
        m_daemon.waitForFinished(kPatience);
    }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
};

// The desktop's screen saver as the test plays it: records each call it receives, hands out
// cookies from 1001 on, and answers at once, only when the test says so, or with a refusal.
class StandInScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    enum class Answers { AtOnce, WhenTold, Refuses };
    Q_ENUM(Answers)

    explicit StandInScreenSaver(QDBusConnection bus) : m_bus(std::move(bus)) {}

    QStringList calls;
    Answers answers = Answers::AtOnce;

    int heldAnswers() const { return int(m_held.size()); }

    void answerHeldCalls() {
        for (const auto &[call, cookie] : std::as_const(m_held))
            m_bus.send(call.createReply(cookie));
        m_held.clear();
    }

public slots:
    uint Inhibit(const QString &applicationName, const QString &reason) {
        const uint cookie = m_nextCookie++;
        calls << QStringLiteral("Inhibit(%1, %2) at %3 -> %4")
                     .arg(applicationName, reason, message().path())
                     .arg(cookie);
        switch (answers) {
        case Answers::AtOnce:
            break;
        case Answers::WhenTold:
            setDelayedReply(true);
            m_held.append({message(), cookie});
            break;
        case Answers::Refuses:
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not now"));
            break;
        }
        return cookie;
    }

    void UnInhibit(uint cookie) {
        calls << QStringLiteral("UnInhibit(%1) at %2").arg(cookie).arg(message().path());
    }

private:
    QDBusConnection m_bus;
    uint m_nextCookie = 1001;
    QList<std::pair<QDBusMessage, uint>> m_held;
};

// The display option against a screen saver on a private bus: the request is made while the
// option is checked and ended with the same cookie when it is unchecked or the window goes away;
// without a screen saver, or without a bus, nothing happens and nothing fails.
class ScreenSaverTest : public QObject {
    Q_OBJECT

private:
    PrivateSessionBus m_daemon;
    QString m_address;
    // The program's side of the bus and the screen saver's side, one connection each, as two
    // programs would have them.
    std::optional<QDBusConnection> m_programBus;
    std::optional<QDBusConnection> m_screenSaverBus;
    std::unique_ptr<StandInScreenSaver> m_screenSaver;
    int m_connections = 0;

    // Puts the stand-in on the bus at that path, under the service's name or under none.
    void offerScreenSaver(const QString &path, bool underServiceName) {
        m_screenSaver = std::make_unique<StandInScreenSaver>(*m_screenSaverBus);
        QVERIFY(m_screenSaverBus->registerObject(path, m_screenSaver.get(),
                                                 QDBusConnection::ExportAllSlots));
        if (underServiceName)
            QVERIFY(
                m_screenSaverBus->registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    }

    // Lets everything on its way arrive: the answer to a request (unless the stand-in holds it
    // back), then a round trip from the program's connection to the screen saver's, which
    // reaches it only after whatever the program sent before.
    void settle(const ScreenSaverInhibitor *inhibitor) {
        if (inhibitor)
            QVERIFY(QTest::qWaitFor(
                [&] { return !inhibitor->awaitsAnswer() || m_screenSaver->heldAnswers() > 0; },
                kPatience));
        const QDBusMessage ping = QDBusMessage::createMethodCall(
            m_screenSaverBus->baseService(), QStringLiteral("/"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
        QDBusPendingCall pong = m_programBus->asyncCall(ping, kPatience);
        QVERIFY(QTest::qWaitFor([&] { return pong.isFinished(); }, kPatience));
        QVERIFY2(!pong.isError(), qPrintable(pong.error().message()));
    }

    void expectCalls(const QStringList &expected) {
        QTRY_COMPARE_WITH_TIMEOUT(m_screenSaver->calls, expected, kPatience);
        // Nothing more comes after them.
        settle(nullptr);
        QCOMPARE(m_screenSaver->calls, expected);
    }

private slots:
    void initTestCase() {
        QString failure;
        m_address = m_daemon.start(failure);
        QVERIFY2(!m_address.isEmpty(), qPrintable(failure));
        QCoreApplication::setApplicationName(QStringLiteral("QSclient"));
    }

    void cleanupTestCase() { m_daemon.stop(); }

    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        ++m_connections;
        const QString suffix = QString::number(m_connections);
        m_programBus = QDBusConnection::connectToBus(m_address, QStringLiteral("program") + suffix);
        m_screenSaverBus =
            QDBusConnection::connectToBus(m_address, QStringLiteral("screensaver") + suffix);
        QVERIFY2(m_programBus->isConnected(), qPrintable(m_programBus->lastError().message()));
        QVERIFY2(m_screenSaverBus->isConnected(),
                 qPrintable(m_screenSaverBus->lastError().message()));
    }

    void cleanup() {
        m_screenSaver.reset();
        QDBusConnection::disconnectFromBus(m_programBus->name());
        QDBusConnection::disconnectFromBus(m_screenSaverBus->name());
        m_programBus.reset();
        m_screenSaverBus.reset();
    }

    void requestFollowsTheWish_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("underServiceName");
        QTest::addColumn<StandInScreenSaver::Answers>("answers");
        // "on", "off": the wish; "end": the inhibitor goes away; "answer": the stand-in answers
        // what it has held back.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        // Whether the inhibitor, if it is still there, holds a granted request at the end.
        QTest::addColumn<bool>("holds");
        using A = StandInScreenSaver::Answers;
        const QString app = QStringLiteral("test app");

        QTest::addRow("on: asked with the application's name")
            << kLongPath << true << A::AtOnce << QStringList{"on"}
            << QStringList{inhibit(app, 1001)} << true;
        QTest::addRow("on twice: asked once")
            << kLongPath << true << A::AtOnce << QStringList{"on", "on"}
            << QStringList{inhibit(app, 1001)} << true;
        QTest::addRow("off: ended with the same cookie")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off"}
            << QStringList{inhibit(app, 1001), unInhibit(1001)} << false;
        QTest::addRow("on again: asked anew")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off", "on", "off"}
            << QStringList{inhibit(app, 1001), unInhibit(1001), inhibit(app, 1002), unInhibit(1002)}
            << false;
        QTest::addRow("end while on: ended")
            << kLongPath << true << A::AtOnce << QStringList{"on", "end"}
            << QStringList{inhibit(app, 1001), unInhibit(1001)} << false;
        QTest::addRow("end after off: ended once")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off", "end"}
            << QStringList{inhibit(app, 1001), unInhibit(1001)} << false;
        QTest::addRow("never on: nothing") << kLongPath << true << A::AtOnce
                                           << QStringList{"off", "end"} << QStringList{} << false;
        QTest::addRow("off before the answer: ended as it comes")
            << kLongPath << true << A::WhenTold << QStringList{"on", "off", "answer"}
            << QStringList{inhibit(app, 1001), unInhibit(1001)} << false;
        QTest::addRow("off and on before the answer: kept")
            << kLongPath << true << A::WhenTold << QStringList{"on", "off", "on", "answer"}
            << QStringList{inhibit(app, 1001)} << true;
        QTest::addRow("end before the answer: ended as it comes")
            << kLongPath << true << A::WhenTold << QStringList{"on", "end", "answer"}
            << QStringList{inhibit(app, 1001), unInhibit(1001)} << false;
        QTest::addRow("only at the short path: asked and ended there")
            << kShortPath << true << A::AtOnce << QStringList{"on", "off"}
            << QStringList{inhibit(app, 1001, kShortPath), unInhibit(1001, kShortPath)} << false;
        QTest::addRow("refused: nothing to end")
            << kLongPath << true << A::Refuses << QStringList{"on", "off", "end"}
            << QStringList{inhibit(app, 1001)} << false;
        QTest::addRow("no screen saver on the bus: no call")
            << kLongPath << false << A::AtOnce << QStringList{"on", "off", "on", "end"}
            << QStringList{} << false;
    }

    void requestFollowsTheWish() {
        QFETCH(QString, path);
        QFETCH(bool, underServiceName);
        QFETCH(StandInScreenSaver::Answers, answers);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QFETCH(bool, holds);

        offerScreenSaver(path, underServiceName);
        m_screenSaver->answers = answers;
        auto inhibitor = std::make_unique<ScreenSaverInhibitor>(
            *m_programBus, QStringLiteral("test app"), kReason);
        for (const QString &step : steps) {
            if (step == QLatin1String("on")) {
                inhibitor->setInhibited(true);
            } else if (step == QLatin1String("off")) {
                inhibitor->setInhibited(false);
            } else if (step == QLatin1String("end")) {
                inhibitor.reset();
            } else if (step == QLatin1String("answer")) {
                QCOMPARE(m_screenSaver->heldAnswers(), 1);
                m_screenSaver->answerHeldCalls();
            }
            settle(inhibitor.get());
        }
        expectCalls(expected);
        if (inhibitor)
            QCOMPARE(inhibitor->holdsRequest(), holds);
    }

    void withoutABusNothingHappens() {
        // An address where no bus listens, as on a system without one.
        QTemporaryDir nowhere;
        QVERIFY(nowhere.isValid());
        const QDBusConnection noBus = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=") + nowhere.filePath(QStringLiteral("no-bus")),
            QStringLiteral("nowhere"));
        QVERIFY(!noBus.isConnected());
        {
            ScreenSaverInhibitor inhibitor(noBus, QStringLiteral("test app"), kReason);
            inhibitor.setInhibited(true);
            QVERIFY(!inhibitor.awaitsAnswer());
            QTest::qWait(50);
            QVERIFY(!inhibitor.holdsRequest());
            inhibitor.setInhibited(false);
            inhibitor.setInhibited(true);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
    }

    // The program's window: the settings file's ScreenOn decides the first request, the box
    // (the fields' screenOn) the later ones, and the window's end ends what is held. No box is
    // ever shown for it.
    void theDisplayOptionKeepsTheScreenOn_data() {
        QTest::addColumn<QString>("fileScreenOn"); // empty: no settings file
        QTest::addColumn<bool>("underServiceName");
        // "check", "uncheck": the box; "end": the window goes away.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        const QString app = QStringLiteral("QSclient");

        QTest::addRow("no file: checked, asked at start")
            << QString() << true << QStringList{} << QStringList{inhibit(app, 1001)};
        QTest::addRow("checked in the file: asked at start")
            << "1" << true << QStringList{} << QStringList{inhibit(app, 1001)};
        QTest::addRow("unchecked in the file: nothing")
            << "0" << true << QStringList{"end"} << QStringList{};
        QTest::addRow("unchecking, checking, closing")
            << "1" << true << QStringList{"uncheck", "check", "end"}
            << QStringList{inhibit(app, 1001), unInhibit(1001), inhibit(app, 1002),
                           unInhibit(1002)};
        QTest::addRow("checked later, closing") << "0" << true << QStringList{"check", "end"}
                                                << QStringList{inhibit(app, 1001), unInhibit(1001)};
        QTest::addRow("no screen saver on the bus: nothing")
            << "1" << false << QStringList{"uncheck", "check", "end"} << QStringList{};
    }

    void theDisplayOptionKeepsTheScreenOn() {
        QFETCH(QString, fileScreenOn);
        QFETCH(bool, underServiceName);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);

        QTemporaryDir documents;
        QVERIFY(documents.isValid());
        const SettingsFile settings(documents.path());
        if (!fileScreenOn.isEmpty()) {
            QFile file(settings.path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Form]\nport=6000\nipserver=127.0.0.1\nScreenOn=" +
                       fileScreenOn.toLatin1() + "\n");
        }
        offerScreenSaver(kLongPath, underServiceName);

        QStringList events;
        RecordingBoxes boxes(events);
        auto client = std::make_unique<MainClient>(boxes, settings, loopbackDiscovery());
        client->FormCreate();
        client->keepScreenOnThrough(*m_programBus);
        const auto inhibitor = [&] {
            return client ? client->findChild<ScreenSaverInhibitor *>() : nullptr;
        };
        QVERIFY(inhibitor());
        settle(inhibitor());
        for (const QString &step : steps) {
            if (step == QLatin1String("check"))
                client->fields()->setScreenOn(true);
            else if (step == QLatin1String("uncheck"))
                client->fields()->setScreenOn(false);
            else if (step == QLatin1String("end"))
                client.reset();
            settle(inhibitor());
        }
        expectCalls(expected);
        QCOMPARE(events, QStringList());
    }
};

QTEST_GUILESS_MAIN(ScreenSaverTest)
#include "tst_screen_saver.moc"
