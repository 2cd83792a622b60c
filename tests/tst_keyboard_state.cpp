#include "MessageTexts.h"
#include "TestSupport.h"
#include "base/PressHandlers.h"
#include "base/WindowLayout.h"
#include "keyboard/KeyboardState.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using MessageTexts::kNoConnection;

// How the link answers a send.
enum class Link {
    Accepts,
    // Not connected: the link shows its message and the press goes on.
    NotConnected,
    // The connection check itself failed: reported, and the press ends at once.
    CheckFails,
};

const QStringList kStart{"PanelIson1", "PanelKatavasi1", "Panelanavasi1", "PanelMartyries1",
                         "PanelPoiotitas1"};

} // namespace

Q_DECLARE_METATYPE(Link)

class KeyboardStateTest : public QObject {
    Q_OBJECT

private:
    QStringList m_events;
    Link m_link = Link::Accepts;
    std::unique_ptr<RecordingBoxes> m_boxes;
    std::unique_ptr<KeyboardState> m_state;
    // Every control whose handler is the keyboard's, paired with it as the window pairs them.
    QHash<QString, PressHandlers::Press> m_presses;

    // What the page shows, as one line, so that an event can say what was shown when it came.
    QString snapshot() const {
        return m_state->shownPanels().join(' ') +
               (m_state->checkBox1Checked() ? QStringLiteral(" +Κάτω") : QString());
    }

    // A press of the control, which must be one the layout gives this handler; a set button or
    // toggle is named by its handler ("di6Click" is di6).
    void press(const QString &handler, const QString &control) {
        const QString name = control.isEmpty() ? handler.chopped(5) : control;
        QCOMPARE(WindowLayout::standard().handlerOf(name), handler);
        const auto found = m_presses.constFind(name);
        QVERIFY2(found != m_presses.cend(), qPrintable(name));
        (*found)();
    }

private slots:
    void init() {
        m_events.clear();
        m_link = Link::Accepts;
        m_boxes = std::make_unique<RecordingBoxes>(m_events);
        m_state = std::make_unique<KeyboardState>([this](const QString &word) {
            m_events.append("send " + word + ": " + snapshot());
            switch (m_link) {
            case Link::Accepts:
                return true;
            case Link::NotConnected:
                m_boxes->showMessage(kNoConnection);
                return true;
            case Link::CheckFails:
                m_boxes->showMessage("Socket Error # 10038");
                return false;
            }
            return true;
        });
        PressHandlers handlers;
        m_state->addHandlersTo(handlers);
        m_presses = handlers.resolve(WindowLayout::standard(), nullptr);
    }

    void startState() {
        QCOMPARE(m_state->shownPanels(), kStart);
        QVERIFY(!m_state->checkBox1Checked());
        QCOMPARE(m_state->panels().size(), 17);
        for (const QString &name : m_state->panels().keys())
            QCOMPARE(m_state->isShown(name), kStart.contains(name));
        QVERIFY(!m_state->isShown("Panelgorgo"));
    }

    void handlerSteps_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<Link>("link");
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("after");

        // Every second set shown, every pop-up group open, the signs row, "Κάτω" checked.
        const QStringList everything{"CheckBox1Click",          "enallagikatavasiClick",
                                     "enallagianavasiClick",    "CornerButton1Click",
                                     "enallagiIsonClick",       "enallagiMartyriesClick",
                                     "enallagifthoresClick",    "di6Click",
                                     "enallagi_asterakiaClick", "enallagiendikseisClick",
                                     "enallagihfeseisClick",    "enallaghentashClick",
                                     "enallaghvellhClick"};
        const QString popUps = "Panelfthores Panelmetra Panelasterakia Panelendikseis "
                               "Panelyfeseis2 Panelentasi Panelpena +Κάτω";
        const QString all = "PanelKatavasi2 PanelPoiotitas2 PanelIson2 Panelanavasi2 "
                            "PanelMartyries2 " +
                            popUps;
        const QString firstSets = "PanelIson1 PanelKatavasi1 Panelanavasi1 PanelPoiotitas1";

        QTest::addRow("sign press resets four pairs and closes five groups")
            << everything << Link::Accepts << "c13Click"
            << "k1" << QStringList{"send k1: " + all}
            << firstSets + " PanelMartyries2 Panelfthores Panelyfeseis2 +Κάτω";
        QTest::addRow("sign press resets after the not-connected message")
            << everything << Link::NotConnected << "c13Click"
            << "d5" << QStringList{"send d5: " + all, "box: " + kNoConnection}
            << firstSets + " PanelMartyries2 Panelfthores Panelyfeseis2 +Κάτω";
        QTest::addRow("sign press ends when the connection check fails")
            << everything << Link::CheckFails << "c13Click"
            << "k1" << QStringList{"send k1: " + all, "box: Socket Error # 10038"} << all;
        QTest::addRow("tool command is a sign press")
            << QStringList{"enallagianavasiClick", "enallaghentashClick"} << Link::Accepts
            << "c13Click"
            << "SpeedButton14"
            << QStringList{"send SpeedButton14: PanelIson1 PanelKatavasi1 PanelMartyries1 "
                           "Panelanavasi2 PanelPoiotitas1 Panelentasi"}
            << kStart.join(' ');

        QTest::addRow("m3 without connection swaps the rows before the message")
            << everything << Link::NotConnected << "m1Click"
            << "m3"
            << QStringList{"send m3: PanelKatavasi2 PanelPoiotitas2 PanelMartyries1 PanelIson2 "
                           "Panelanavasi2 " +
                               popUps,
                           "box: " + kNoConnection}
            << kStart.join(' ') + " Panelmetra Panelasterakia Panelendikseis Panelyfeseis2 "
                                  "Panelentasi Panelpena +Κάτω";
        QTest::addRow("m3 with a failed check keeps the swap and nothing else")
            << QStringList{"enallagikatavasiClick", "enallagifthoresClick"} << Link::CheckFails
            << "m1Click"
            << "m3"
            << QStringList{"send m3: PanelIson1 PanelKatavasi2 Panelanavasi1 PanelPoiotitas1 "
                           "PanelMartyries2 Panelfthores",
                           "box: Socket Error # 10038"}
            << "PanelIson1 PanelKatavasi2 Panelanavasi1 PanelPoiotitas1 PanelMartyries2 "
               "Panelfthores";
        QTest::addRow("m8 sends without swapping")
            << QStringList{"enallagiIsonClick", "enallagifthoresClick"} << Link::Accepts
            << "o5Click"
            << "m8"
            << QStringList{"send m8: PanelKatavasi1 Panelanavasi1 PanelMartyries1 PanelIson2 "
                           "PanelPoiotitas1 Panelfthores"}
            << kStart.join(' ');

        QTest::addRow("o3 with Κάτω checked: letters back, box cleared after the send")
            << QStringList{"enallagiMartyriesClick", "CheckBox1Click", "enallaghvellhClick"}
            << Link::Accepts << "o1Click"
            << "o3"
            << QStringList{"send o3: PanelIson1 PanelKatavasi1 Panelanavasi1 PanelMartyries1 "
                           "PanelPoiotitas1 Panelpena +Κάτω"}
            << kStart.join(' ') + " Panelpena";
        QTest::addRow("o3 with a failed check keeps Κάτω")
            << QStringList{"enallagiMartyriesClick", "CheckBox1Click"} << Link::CheckFails
            << "o1Click"
            << "o3"
            << QStringList{"send o3: " + kStart.join(' ') + " +Κάτω", "box: Socket Error # 10038"}
            << kStart.join(' ') + " +Κάτω";
        QTest::addRow("o5 leaves the signs row and Κάτω")
            << QStringList{"enallagiMartyriesClick", "CheckBox1Click", "CornerButton1Click",
                           "enallagifthoresClick", "enallaghentashClick"}
            << Link::Accepts << "o5Click"
            << "o5"
            << QStringList{"send o5: PanelIson1 PanelKatavasi1 Panelanavasi1 PanelPoiotitas2 "
                           "PanelMartyries2 Panelfthores Panelentasi +Κάτω"}
            << "PanelIson1 PanelKatavasi1 Panelanavasi1 PanelPoiotitas1 PanelMartyries2 "
               "Panelentasi +Κάτω";

        QTest::addRow("Κάτω toggles after its send and its message")
            << QStringList{"enallagiIsonClick"} << Link::NotConnected << "CheckBox1Click"
            << "CheckBox1"
            << QStringList{"send CheckBox1: PanelKatavasi1 Panelanavasi1 PanelMartyries1 "
                           "PanelIson2 PanelPoiotitas1",
                           "box: " + kNoConnection}
            << kStart.join(' ') + " +Κάτω";
        QTest::addRow("Κάτω clears with a second press, which also sends")
            << QStringList{"CheckBox1Click"} << Link::Accepts << "CheckBox1Click"
            << "CheckBox1" << QStringList{"send CheckBox1: " + kStart.join(' ') + " +Κάτω"}
            << kStart.join(' ');
        QTest::addRow("Κάτω keeps its mark when the connection check fails")
            << QStringList{"enallagiIsonClick"} << Link::CheckFails << "CheckBox1Click"
            << "CheckBox1"
            << QStringList{"send CheckBox1: PanelKatavasi1 Panelanavasi1 PanelMartyries1 "
                           "PanelIson2 PanelPoiotitas1",
                           "box: Socket Error # 10038"}
            << "PanelKatavasi1 Panelanavasi1 PanelMartyries1 PanelIson2 PanelPoiotitas1";

        QTest::addRow("close button hides the further flats and sharps, sending nothing")
            << QStringList{"enallagihfeseisClick", "enallagiIsonClick"} << Link::Accepts
            << "ft_closeClick"
            << "ft_close" << QStringList{}
            << "PanelKatavasi1 Panelanavasi1 PanelMartyries1 PanelIson2 PanelPoiotitas1";
        QTest::addRow("close button on a closed group changes nothing")
            << QStringList{} << Link::Accepts << "ft_closeClick"
            << "ft_close" << QStringList{} << kStart.join(' ');
    }

    void handlerSteps() {
        QFETCH(QStringList, before);
        QFETCH(Link, link);
        QFETCH(QString, handler);
        QFETCH(QString, control);
        QFETCH(QStringList, events);
        QFETCH(QString, after);

        for (const QString &step : before)
            press(step, step == "CheckBox1Click" ? "CheckBox1" : QString());
        m_events.clear();
        m_link = link;
        press(handler, control);
        QCOMPARE(m_events, events);
        QCOMPARE(snapshot(), after);
    }

    void switchesFlipAndSendNothing_data() {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QStringList>("flipped");

        QTest::addRow("enallagikatavasi")
            << "enallagikatavasiClick" << QStringList{"PanelKatavasi2", "PanelKatavasi1"};
        QTest::addRow("enallagianavasi")
            << "enallagianavasiClick" << QStringList{"Panelanavasi1", "Panelanavasi2"};
        QTest::addRow("CornerButton1")
            << "CornerButton1Click" << QStringList{"PanelPoiotitas2", "PanelPoiotitas1"};
        QTest::addRow("enallagiIson")
            << "enallagiIsonClick" << QStringList{"PanelIson1", "PanelIson2"};
        QTest::addRow("enallagiMartyries")
            << "enallagiMartyriesClick" << QStringList{"PanelMartyries1", "PanelMartyries2"};
        QTest::addRow("enallagifthores") << "enallagifthoresClick" << QStringList{"Panelfthores"};
        QTest::addRow("di6") << "di6Click" << QStringList{"Panelmetra"};
        QTest::addRow("enallagi_asterakia")
            << "enallagi_asterakiaClick" << QStringList{"Panelasterakia"};
        QTest::addRow("enallagiendikseis")
            << "enallagiendikseisClick" << QStringList{"Panelendikseis"};
        QTest::addRow("enallagihfeseis") << "enallagihfeseisClick" << QStringList{"Panelyfeseis2"};
        QTest::addRow("enallaghentash") << "enallaghentashClick" << QStringList{"Panelentasi"};
        QTest::addRow("enallaghvellh") << "enallaghvellhClick" << QStringList{"Panelpena"};
    }

    void switchesFlipAndSendNothing() {
        QFETCH(QString, handler);
        QFETCH(QStringList, flipped);

        // From the start state and from one with every other switch turned.
        for (bool othersTurned : {false, true}) {
            init();
            if (othersTurned) {
                for (const QString &other :
                     {"enallagikatavasiClick", "enallagianavasiClick", "CornerButton1Click",
                      "enallagiIsonClick", "enallagiMartyriesClick", "enallagifthoresClick",
                      "di6Click", "enallagi_asterakiaClick", "enallagiendikseisClick",
                      "enallagihfeseisClick", "enallaghentashClick", "enallaghvellhClick"}) {
                    if (other != handler)
                        press(other, QString());
                }
            }
            const QStringList before = m_state->shownPanels();
            press(handler, QString());
            for (const QString &name : m_state->panels().keys())
                QCOMPARE(m_state->isShown(name), before.contains(name) != flipped.contains(name));
            press(handler, QString());
            QCOMPARE(m_state->shownPanels(), before);
            QVERIFY(m_events.isEmpty());
        }
    }

    void signalsOnlyOnChange() {
        QMap<QString, std::shared_ptr<QSignalSpy>> spies;
        for (const QString &name : m_state->panels().keys())
            spies.insert(name, std::make_shared<QSignalSpy>(
                                   m_state->panels().value(name).value<PanelSwitch *>(),
                                   &PanelSwitch::shownChanged));
        QSignalSpy checked(m_state.get(), &KeyboardState::checkBox1CheckedChanged);

        // Nothing to reset from the start state.
        m_presses.value("k1")();
        m_presses.value("o5")();
        for (const auto &spy : spies)
            QCOMPARE(spy->count(), 0);

        m_presses.value("enallagiIson")();
        m_presses.value("k1")();
        QCOMPARE(spies["PanelIson1"]->count(), 2);
        QCOMPARE(spies["PanelIson2"]->count(), 2);
        QCOMPARE(spies["PanelKatavasi1"]->count(), 0);

        m_presses.value("o1")();
        QCOMPARE(checked.count(), 0);
        m_presses.value("CheckBox1")();
        QCOMPARE(checked.count(), 1);
    }
};

QTEST_GUILESS_MAIN(KeyboardStateTest)
#include "tst_keyboard_state.moc"
