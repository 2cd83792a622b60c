#include "PrivateBusTest.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "app/MainClient.h"
#include "app/ScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace ScreenSaverStandIns;

// The display option against a screen saver on a private bus: the request is made while the
// option is checked and ended with the same cookie when it is unchecked or the window goes away;
// without a screen saver, or without a bus, nothing happens and nothing fails.
class ScreenSaverTest : public PrivateBusTest {
    Q_OBJECT

private:
    std::unique_ptr<StandInScreenSaver> m_screenSaver;

    void offerScreenSaver(const QString &path, bool underServiceName) {
        m_screenSaver = std::make_unique<StandInScreenSaver>();
        QVERIFY(offer(screenSaverBus(), *m_screenSaver, path, underServiceName));
    }

    // Lets everything on its way arrive: the answer to a request (unless the stand-in holds it
    // back), then a round trip from the program's connection to the screen saver's, which
    // reaches it only after whatever the program sent before.
    void settle(const ScreenSaverInhibitor *inhibitor) {
        if (inhibitor)
            QVERIFY(QTest::qWaitFor(
                [&] { return !inhibitor->awaitsAnswer() || m_screenSaver->heldAnswers() > 0; },
                kPatience));
        QVERIFY(roundTrip(programBus(), screenSaverBus()));
    }

    void expectCalls(const QStringList &expected) {
        QTRY_COMPARE_WITH_TIMEOUT(m_screenSaver->calls, expected, kPatience);
        // Nothing more comes after them.
        settle(nullptr);
        QCOMPARE(m_screenSaver->calls, expected);
    }

private slots:
    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        connectBoth();
    }

    void cleanup() {
        disconnectBoth();
        m_screenSaver.reset();
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
            << QStringList{inhibitCall(app, 1001)} << true;
        QTest::addRow("on twice: asked once")
            << kLongPath << true << A::AtOnce << QStringList{"on", "on"}
            << QStringList{inhibitCall(app, 1001)} << true;
        QTest::addRow("off: ended with the same cookie")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)} << false;
        QTest::addRow("on again: asked anew")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off", "on", "off"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001), inhibitCall(app, 1002),
                           unInhibitCall(1002)}
            << false;
        QTest::addRow("end while on: ended")
            << kLongPath << true << A::AtOnce << QStringList{"on", "end"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)} << false;
        QTest::addRow("end after off: ended once")
            << kLongPath << true << A::AtOnce << QStringList{"on", "off", "end"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)} << false;
        QTest::addRow("never on: nothing") << kLongPath << true << A::AtOnce
                                           << QStringList{"off", "end"} << QStringList{} << false;
        QTest::addRow("off before the answer: ended as it comes")
            << kLongPath << true << A::WhenTold << QStringList{"on", "off", "answer"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)} << false;
        QTest::addRow("off and on before the answer: kept")
            << kLongPath << true << A::WhenTold << QStringList{"on", "off", "on", "answer"}
            << QStringList{inhibitCall(app, 1001)} << true;
        QTest::addRow("end before the answer: ended as it comes")
            << kLongPath << true << A::WhenTold << QStringList{"on", "end", "answer"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)} << false;
        QTest::addRow("only at the short path: asked and ended there")
            << kShortPath << true << A::AtOnce << QStringList{"on", "off"}
            << QStringList{inhibitCall(app, 1001, kShortPath), unInhibitCall(1001, kShortPath)}
            << false;
        QTest::addRow("refused: nothing to end")
            << kLongPath << true << A::Refuses << QStringList{"on", "off", "end"}
            << QStringList{inhibitCall(app, 1001)} << false;
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
            programBus(), QStringLiteral("test app"), kReason);
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
            << QString() << true << QStringList{} << QStringList{inhibitCall(app, 1001)};
        QTest::addRow("checked in the file: asked at start")
            << "1" << true << QStringList{} << QStringList{inhibitCall(app, 1001)};
        QTest::addRow("unchecked in the file: nothing")
            << "0" << true << QStringList{"end"} << QStringList{};
        QTest::addRow("unchecking, checking, closing")
            << "1" << true << QStringList{"uncheck", "check", "end"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001), inhibitCall(app, 1002),
                           unInhibitCall(1002)};
        QTest::addRow("checked later, closing")
            << "0" << true << QStringList{"check", "end"}
            << QStringList{inhibitCall(app, 1001), unInhibitCall(1001)};
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
            QVERIFY(TestFiles::write(settings.path(),
                                     "[Form]\nport=6000\nipserver=127.0.0.1\nScreenOn=" +
                                         fileScreenOn.toLatin1() + "\n"));
        }
        offerScreenSaver(kLongPath, underServiceName);

        QStringList events;
        RecordingBoxes boxes(events);
        auto client = std::make_unique<MainClient>(boxes, settings, loopbackDiscovery());
        client->readSettings();
        client->keepScreenOnThrough(programBus());
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

    // The program's own way in: the session bus is connected on another thread, so the window
    // goes on at once, and the screen saver is asked as soon as the bus is there.
    void theSessionBusIsConnectedAside() {
        QTemporaryDir documents;
        QVERIFY(documents.isValid());
        offerScreenSaver(kLongPath, true);
        QStringList events;
        RecordingBoxes boxes(events);
        auto client = std::make_unique<MainClient>(boxes, SettingsFile(documents.path()),
                                                   loopbackDiscovery());
        client->readSettings();
        client->keepScreenOnThroughSessionBus();
        // Nothing has waited for the bus yet.
        QVERIFY(!client->findChild<ScreenSaverInhibitor *>());
        QTRY_VERIFY_WITH_TIMEOUT(client->findChild<ScreenSaverInhibitor *>(), kPatience);
        const QDBusConnection sessionBus = QDBusConnection::sessionBus();
        QVERIFY(sessionBus.isConnected());
        QTRY_COMPARE_WITH_TIMEOUT(m_screenSaver->calls,
                                  QStringList{inhibitCall(QStringLiteral("QSclient"), 1001)},
                                  kPatience);
        client.reset();
        const QStringList expected{inhibitCall(QStringLiteral("QSclient"), 1001),
                                   unInhibitCall(1001)};
        QTRY_COMPARE_WITH_TIMEOUT(m_screenSaver->calls, expected, kPatience);
        QVERIFY(roundTrip(sessionBus, screenSaverBus()));
        QCOMPARE(m_screenSaver->calls, expected);
        QCOMPARE(events, QStringList());
    }
};

QTEST_GUILESS_MAIN(ScreenSaverTest)
#include "tst_screen_saver.moc"
