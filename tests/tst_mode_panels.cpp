#include "TestSupport.h"
#include "app/MainClient.h"
#include "pages/ModePanels.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class ModePanelsTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithModeA() {
        ModePanels modes;
        QCOMPARE(modes.visiblePanel(), QString("Panelhxos_a"));
    }

    void tabShowsItsPanel_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("panel");

        QTest::newRow("hx1") << "hx1"
                             << "Panelhxos_a";
        QTest::newRow("hx2") << "hx2"
                             << "Panelhxos_b";
        QTest::newRow("hx3") << "hx3"
                             << "Panelhxos_c";
        QTest::newRow("hx4") << "hx4"
                             << "Panelhxos_d";
        QTest::newRow("hx5") << "hx5"
                             << "Panelhxos_pla";
        QTest::newRow("hx6") << "hx6"
                             << "Panelhxos_plb";
        QTest::newRow("hx7") << "hx7"
                             << "Panelhxos_varys";
        QTest::newRow("hx8") << "hx8"
                             << "Panelhxos_pld";
    }

    void tabShowsItsPanel() {
        QFETCH(QString, tab);
        QFETCH(QString, panel);
        // From every other mode, the tab's own panel is the one shown.
        for (int from = 1; from <= 8; ++from) {
            ModePanels modes;
            modes.showPanelOfTab(QString("hx%1").arg(from));
            QSignalSpy changed(&modes, &ModePanels::visiblePanelChanged);
            const bool same = modes.visiblePanel() == panel;
            modes.showPanelOfTab(tab);
            QCOMPARE(modes.visiblePanel(), panel);
            QCOMPARE(changed.count(), same ? 0 : 1);
            // The same tab again changes nothing.
            modes.showPanelOfTab(tab);
            QCOMPARE(modes.visiblePanel(), panel);
            QCOMPARE(changed.count(), same ? 0 : 1);
        }
    }

    void otherNamesChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("hx0") << "hx0";
        QTest::newRow("hx9") << "hx9";
        QTest::newRow("upper case") << "HX2";
        QTest::newRow("panel name") << "Panelhxos_b";
        QTest::newRow("signature key") << "ark7";
    }

    void otherNamesChangeNothing() {
        QFETCH(QString, name);
        ModePanels modes;
        modes.showPanelOfTab("hx7");
        QSignalSpy changed(&modes, &ModePanels::visiblePanelChanged);
        modes.showPanelOfTab(name);
        QCOMPARE(modes.visiblePanel(), QString("Panelhxos_varys"));
        QCOMPARE(changed.count(), 0);
        QVERIFY(ModePanels::panelOfTab(name).isEmpty());
    }

    // The window's own handlers of the two pages: each sends exactly one word, with its answer.
    void pressHandlersSendOneWord_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("word");

        QTest::newRow("signature key") << "ark33"
                                       << "ark33";
        QTest::newRow("arrow key") << "SpeedButton9"
                                   << "SpeedButton9";
        QTest::newRow("large left arrow") << "moveL"
                                          << "SpeedButton25";
        QTest::newRow("large right arrow") << "moveR"
                                           << "SpeedButton31";
    }

    void pressHandlersSendOneWord() {
        QFETCH(QString, control);
        QFETCH(QString, word);

        RecordingLink link;
        QStringList events;
        RecordingBoxes boxes(events);
        QTemporaryDir documents;
        MainClient client(boxes, SettingsFile(documents.path()), loopbackDiscovery());
        client.setCommandLink(&link);

        QVERIFY(client.press(control));
        QCOMPARE(link.lines, QStringList{"sent " + word});
        QCOMPARE(client.pages()->visiblePage(), QString("Panel1"));
        QCOMPARE(client.modes()->visiblePanel(), QString("Panelhxos_a"));
        QVERIFY(events.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ModePanelsTest)
#include "tst_mode_panels.moc"
