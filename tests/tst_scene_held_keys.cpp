#include "SceneTest.h"
#include "base/WindowLayout.h"

#include <QPointingDevice>
#include <QTest>
#include <QTimer>
#include <functional>

enum class Input { Mouse, Touch };
Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(RecordingLink::Answer)

// Keys held down, through the window, with the mouse and with fingers: backspace, the cursor
// keys and the large arrows send again and again while held, every other key once per tap.
//
// A hold ends on a precise timer started with the press. The key's own sends are timed from the
// same press on the same event loop, and timers that are both overdue run in the order they
// fell due, so the count of lines does not depend on how busy the machine is.
class SceneHeldKeysTest : public SceneTest {
    Q_OBJECT

private:
    QPointingDevice *m_finger = QTest::createTouchDevice();

    void down(Input input, int finger, QPointF at) {
        if (input == Input::Mouse)
            QTest::mousePress(s().window(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
        else
            QTest::touchEvent(s().window(), m_finger).press(finger, at.toPoint(), s().window());
    }
    void moveTo(Input input, int finger, QPointF at) {
        if (input == Input::Mouse)
            QTest::mouseMove(s().window(), at.toPoint());
        else
            QTest::touchEvent(s().window(), m_finger).move(finger, at.toPoint(), s().window());
    }
    void up(Input input, int finger, QPointF at) {
        if (input == Input::Mouse)
            QTest::mouseRelease(s().window(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
        else
            QTest::touchEvent(s().window(), m_finger).release(finger, at.toPoint(), s().window());
    }

    // Runs each step at its time after now, on precise timers, and waits until the last has run.
    void runAt(const QList<std::pair<int, std::function<void()>>> &steps) {
        int done = 0;
        int last = 0;
        for (const auto &timed : steps) {
            QTimer::singleShot(timed.first, Qt::PreciseTimer, this, [&done, step = timed.second] {
                step();
                ++done;
            });
            last = std::max(last, timed.first);
        }
        QTRY_VERIFY_WITH_TIMEOUT(done == steps.size(), last + 10000);
    }

    void showPageOf(const QString &key) {
        if (key.startsWith("SpeedButton") && key != "SpeedButton35")
            client()->pages()->showCursorPage();
        if (key.startsWith("move"))
            client()->pages()->showCursorPage();
        QTRY_VERIFY2(s().target(key).isVisible(), qPrintable(key));
    }

private slots:
    void init() {
        SceneTest::init();
        if (QTest::currentTestFailed())
            return;
        // A box a send shows is counted by the window, as the real link's are.
        s().link.boxes = &client()->boxes();
    }

    // The keys that repeat are those the layout table marks, and only they: backspace, the tool
    // column's cursor keys, the arrow pad and the large arrows.
    void theTableMarksTheRepeatingKeys() {
        const WindowLayout &table = WindowLayout::standard();
        QStringList repeating;
        for (const QString &page : table.pageNames()) {
            for (const LayoutMember *member : table.members(page)) {
                if (member->repeats)
                    repeating.append(member->name);
                for (const LayoutButton &button : member->buttons) {
                    if (button.repeats)
                        repeating.append(button.name);
                }
            }
        }
        repeating.sort();
        QCOMPARE(repeating,
                 (QStringList{"SpeedButton10", "SpeedButton25", "SpeedButton31", "SpeedButton35",
                              "SpeedButton7", "SpeedButton8", "SpeedButton9", "moveL", "moveR"}));
    }

    void holds_data() {
        QTest::addColumn<Input>("input");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<QStringList>("lines");

        const QStringList backspace{"sent SpeedButton35"};
        const QStringList up{"sent SpeedButton7"};
        const QStringList left{"sent SpeedButton25"};
        const QStringList sign{"sent k1"};
        for (const auto &[input, how] :
             {std::pair(Input::Mouse, "mouse"), std::pair(Input::Touch, "finger")}) {
            // Released within half a second: once, on release. Held past it: at 0.5 s and every
            // 0.1 s after, nothing on release.
            QTest::addRow("%s, backspace 0.2 s", how)
                << input << "SpeedButton35" << 200 << backspace;
            QTest::addRow("%s, backspace 0.75 s", how)
                << input << "SpeedButton35" << 750 << backspace + backspace + backspace;
            QTest::addRow("%s, backspace 1.25 s", how)
                << input << "SpeedButton35" << 1250 << QStringList(8, backspace[0]);
            QTest::addRow("%s, arrow up 0.2 s", how) << input << "SpeedButton7" << 200 << up;
            QTest::addRow("%s, arrow up 0.75 s", how)
                << input << "SpeedButton7" << 750 << QStringList(3, up[0]);
            QTest::addRow("%s, arrow up 1.25 s", how)
                << input << "SpeedButton7" << 1250 << QStringList(8, up[0]);
            QTest::addRow("%s, large left arrow 0.75 s", how)
                << input << "moveL" << 750 << QStringList(3, left[0]);
            // A sign is one press however long it is held.
            QTest::addRow("%s, sign 0.2 s", how) << input << "k1" << 200 << sign;
            QTest::addRow("%s, sign 0.75 s", how) << input << "k1" << 750 << sign;
            QTest::addRow("%s, sign 1.25 s", how) << input << "k1" << 1250 << sign;
        }
    }

    void holds() {
        QFETCH(Input, input);
        QFETCH(QString, key);
        QFETCH(int, holdMs);
        QFETCH(QStringList, lines);

        showPageOf(key);
        const QPointF at = s().centreOf(key);
        QStringList sentBeforeRelease;
        bool hoveredAtRelease = false;
        down(input, 0, at);
        runAt({{holdMs, [&] {
                    sentBeforeRelease = s().link.lines;
                    hoveredAtRelease = s().target(key).isHovered();
                    up(input, 0, at);
                }}});
        QCOMPARE(s().link.lines, lines);
        // A key that has sent while held sends nothing more on its release.
        if (lines.size() > 1)
            QCOMPARE(sentBeforeRelease, lines);
        else
            QVERIFY(sentBeforeRelease.isEmpty());
        // A finger on a key shows its hover look; so does the mouse on a key that repeats.
        if (input == Input::Touch || lines.size() > 1)
            QVERIFY(hoveredAtRelease);
        // Nothing is left running after the release.
        QTest::qWait(300);
        QCOMPARE(s().link.lines, lines);
        if (input == Input::Touch)
            QVERIFY(!s().target(key).isHovered());
    }

    // Sliding off a repeating key ends the repeat for good, coming back included; slid off
    // before it has sent, the key sends nothing, as any key does.
    void slidingOff_data() {
        QTest::addColumn<Input>("input");
        QTest::addColumn<int>("offAtMs");
        QTest::addColumn<bool>("backOn");
        QTest::addColumn<int>("lines");

        for (const auto &[input, how] :
             {std::pair(Input::Mouse, "mouse"), std::pair(Input::Touch, "finger")}) {
            QTest::addRow("%s off after two sends", how) << input << 650 << false << 2;
            QTest::addRow("%s off and back on after two sends", how) << input << 650 << true << 2;
            QTest::addRow("%s off before the first send", how) << input << 300 << false << 0;
        }
    }

    void slidingOff() {
        QFETCH(Input, input);
        QFETCH(int, offAtMs);
        QFETCH(bool, backOn);
        QFETCH(int, lines);

        const QPointF on = s().centreOf("SpeedButton35");
        // Beside the key, on the blank tool column.
        const QPointF off = s().onPage("Panel1", QPointF(390, 680));
        down(input, 0, on);
        runAt({{offAtMs, [&] { moveTo(input, 0, off); }},
               {offAtMs + 400, [&] { moveTo(input, 0, backOn ? on : off); }},
               {1500, [&] { up(input, 0, backOn ? on : off); }}});
        QCOMPARE(s().link.lines, QStringList(lines, "sent SpeedButton35"));
        QVERIFY(!s().target("SpeedButton35").isHovered() || input == Input::Mouse);
    }

    // A second finger is a press of its own: a tap on a sign while backspace repeats sends the
    // sign once, in its place among the repeats, and the repeat goes on.
    void secondFingerWhileRepeating() {
        const QPointF backspace = s().centreOf("SpeedButton35");
        const QPointF k1 = s().centreOf("k1");
        down(Input::Touch, 0, backspace);
        runAt({{650, [&] { down(Input::Touch, 1, k1); }},
               {680, [&] { up(Input::Touch, 1, k1); }},
               {1250, [&] { up(Input::Touch, 0, backspace); }}});
        QCOMPARE(s().link.lines,
                 (QStringList{"sent SpeedButton35", "sent SpeedButton35", "sent k1",
                              "sent SpeedButton35", "sent SpeedButton35", "sent SpeedButton35",
                              "sent SpeedButton35", "sent SpeedButton35", "sent SpeedButton35"}));
    }

    // Two fingers each holding a repeating key repeat each on their own.
    void twoKeysHeld() {
        const QPointF backspace = s().centreOf("SpeedButton35");
        const QPointF tool = s().centreOf("SpeedButton14");
        down(Input::Touch, 0, backspace);
        runAt({{750, [&] { up(Input::Touch, 0, backspace); }}});
        // SpeedButton14 does not repeat: held 0.75 s it sends once, on release.
        down(Input::Touch, 1, tool);
        runAt({{750, [&] { up(Input::Touch, 1, tool); }}});
        QCOMPARE(s().link.lines, (QStringList{"sent SpeedButton35", "sent SpeedButton35",
                                              "sent SpeedButton35", "sent SpeedButton14"}));
    }

    // An answer that is not "ok" ends the repeat with the box it shows; the release sends
    // nothing more.
    void aRefusedSendEndsTheRepeat_data() {
        QTest::addColumn<Input>("input");
        QTest::addColumn<QString>("key");
        QTest::addColumn<RecordingLink::Answer>("answer");
        QTest::addColumn<QString>("box");

        const QString notConnected = "Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS";
        QTest::newRow("finger, backspace, not connected")
            << Input::Touch << "SpeedButton35" << RecordingLink::Answer::NotConnected
            << notConnected;
        QTest::newRow("mouse, arrow, not connected")
            << Input::Mouse << "SpeedButton9" << RecordingLink::Answer::NotConnected
            << notConnected;
        QTest::newRow("finger, large right arrow, failed check")
            << Input::Touch << "moveR" << RecordingLink::Answer::CheckFails
            << "Socket Error # 10038.";
    }

    void aRefusedSendEndsTheRepeat() {
        QFETCH(Input, input);
        QFETCH(QString, key);
        QFETCH(RecordingLink::Answer, answer);
        QFETCH(QString, box);

        showPageOf(key);
        const QString word = key == "moveR" ? "SpeedButton31" : key;
        const QPointF at = s().centreOf(key);
        // The third send is refused.
        s().link.atSend = [&](const QString &) {
            if (s().link.lines.size() == 3)
                s().link.answer = answer;
        };
        down(input, 0, at);
        runAt({{1250, [&] { up(input, 0, at); }}});
        QCOMPARE(s().link.lines, QStringList(3, "sent " + word));
        QCOMPARE(s().boxTexts, QStringList{box});
    }

    // Through the program's own link with no editor connected: the first send shows the
    // message, and the key, still held, sends nothing more.
    void noConnectionThroughTheRealLink() {
        client()->setCommandLink(client()->link()->commandLink());
        client()->link()->discovery().stop();
        const QPointF at = s().centreOf("SpeedButton35");
        down(Input::Touch, 0, at);
        runAt({{1250, [&] { up(Input::Touch, 0, at); }}});
        QCOMPARE(s().boxTexts, QStringList{"Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS"});
    }
};

QTEST_MAIN(SceneHeldKeysTest)
#include "tst_scene_held_keys.moc"
