#include "PageScene.h"
#include "PrivateBusTest.h"
#include "TestFiles.h"
#include "app/ScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QQuickItem>
#include <QTest>

using namespace ScreenSaverStandIns;

// The settings page's check box ScreenOn, pressed in the real window, asks the screen saver on a
// private bus to leave the screen on and ends that request; the settings file keeps the same key
// with the same values.
class SceneScreenSaverTest : public PrivateBusTest {
    Q_OBJECT

private slots:
    void pressingTheBoxAsksAndEnds_data() {
        QTest::addColumn<int>("presses");
        QTest::addColumn<QStringList>("expected");
        // The line the close writes into the settings file.
        QTest::addColumn<QByteArray>("saved");
        // The calls once the window has gone.
        QTest::addColumn<QStringList>("afterClose");
        const QString app = QStringLiteral("QSclient");
        const QString asked = inhibitCall(app, 1001);
        const QString ended = unInhibitCall(1001);
        const QString askedAgain = inhibitCall(app, 1002);
        const QString endedAgain = unInhibitCall(1002);

        QTest::addRow("none: asked at start")
            << 0 << QStringList{asked} << QByteArray("ScreenOn=1") << QStringList{asked, ended};
        QTest::addRow("one: unchecked, ended")
            << 1 << QStringList{asked, ended} << QByteArray("ScreenOn=0")
            << QStringList{asked, ended};
        QTest::addRow("two: checked again, asked anew")
            << 2 << QStringList{asked, ended, askedAgain} << QByteArray("ScreenOn=1")
            << QStringList{asked, ended, askedAgain, endedAgain};
    }

    void pressingTheBoxAsksAndEnds() {
        QFETCH(int, presses);
        QFETCH(QStringList, expected);
        QFETCH(QByteArray, saved);
        QFETCH(QStringList, afterClose);

        connectBoth();
        QDBusConnection &programBus = this->programBus();
        QDBusConnection &screenSaverBus = this->screenSaverBus();
        StandInScreenSaver screenSaver;
        QVERIFY(offer(screenSaverBus, screenSaver, kLongPath, true));
        {
            PageScene s;
            QVERIFY2(s.window(), qPrintable(s.scene->errors()));
            QVERIFY(s.showAtRestoredSize());
            s.client->keepScreenOnThrough(programBus);
            const auto *inhibitor = s.client->findChild<ScreenSaverInhibitor *>();
            QVERIFY(inhibitor);

            pressItem(s.window(), "rythmiseisshow");
            for (int i = 0; i < presses; ++i) {
                QTRY_VERIFY_WITH_TIMEOUT(!inhibitor->awaitsAnswer(), kPatience);
                pressItem(s.window(), "ScreenOn");
            }
            QTRY_COMPARE_WITH_TIMEOUT(screenSaver.calls, expected, kPatience);
            QVERIFY(roundTrip(programBus, screenSaverBus));
            QCOMPARE(screenSaver.calls, expected);
            QCOMPARE(s.item("ScreenOn")->property("checked").toBool(), presses % 2 == 0);
            QVERIFY(s.boxTexts.isEmpty());

            QVERIFY(s.client->saveSettingsForClose());
            QVERIFY(TestFiles::read(s.documents.filePath("QS.INI")).contains(saved));
        }
        // The window has gone: what was still held is ended too.
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.calls, afterClose, kPatience);
        QVERIFY(roundTrip(programBus, screenSaverBus));
        QCOMPARE(screenSaver.calls, afterClose);

        disconnectBoth();
    }
};

QTEST_MAIN(SceneScreenSaverTest)
#include "tst_scene_screen_saver.moc"
