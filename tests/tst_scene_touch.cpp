#include "SceneTest.h"
#include "app/PointerTracker.h"
#include "app/PressArea.h"
#include "keyboard/PanelSwitch.h"

#include "app/ButtonGroup.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointingDevice>
#include <QQuickItem>
#include <QTest>
#include <memory>

// The window pressed as a finger presses it: taps in quick succession, several fingers at once,
// a finger resting while others tap, and a screen reader's press.
class SceneTouchTest : public SceneTest {
    Q_OBJECT

private:
    QPointingDevice *m_finger = QTest::createTouchDevice();

    void down(int finger, QPointF at) {
        QTest::touchEvent(s().window(), m_finger).press(finger, at.toPoint(), s().window());
    }
    void up(int finger, QPointF at) {
        QTest::touchEvent(s().window(), m_finger).release(finger, at.toPoint(), s().window());
    }
    void tap(QPointF at) {
        down(0, at);
        up(0, at);
    }
    bool hovered(const QString &name) { return s().target(name).isHovered(); }

    // Every press area and group of the window, hidden pages and groups included.
    template <typename Area> static void collect(QQuickItem *from, QList<Area *> &into) {
        for (QQuickItem *child : from->childItems()) {
            if (auto *area = qobject_cast<Area *>(child))
                into.append(area);
            collect(child, into);
        }
    }

    // What a screen reader finds for a press target: the item's own interface, or the button
    // among its group's children.
    QAccessibleInterface *accessibleOf(const QString &name) {
        const Target target = s().target(name);
        if (!target)
            return nullptr;
        QAccessibleInterface *own = QAccessible::queryAccessibleInterface(target.item);
        if (target.button.isEmpty() || !own)
            return own;
        const auto *group = qobject_cast<ButtonGroup *>(target.item);
        return own->child(int(group->buttonNames().indexOf(target.button)));
    }

private slots:

    // However quickly taps follow each other on one key, each is one press: for a key that
    // sends, one line each; for a set button, one switch each.
    void everyTapIsOnePress_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("taps");
        QTest::addColumn<int>("gapMs");

        const struct {
            const char *page, *key, *line;
        } keys[] = {
            {"Panel1", "k1", "sent k1"},
            {"Panel1", "SpeedButton35", "sent SpeedButton35"},
            {"Panel1", "enallagianavasi", ""},
            {"Panel1", "CheckBox1", "sent CheckBox1"},
            {"Panel4", "SpeedButton7", "sent SpeedButton7"},
            {"Panelmartyries", "ark1", "sent ark1"},
        };
        for (const auto &k : keys) {
            for (int taps : {2, 3}) {
                for (int gap : {50, 150, 300, 600})
                    QTest::addRow("%s %d taps %d ms", k.key, taps, gap)
                        << k.page << k.key << k.line << taps << gap;
            }
        }
    }

    void everyTapIsOnePress() {
        QFETCH(QString, page);
        QFETCH(QString, key);
        QFETCH(QString, line);
        QFETCH(int, taps);
        QFETCH(int, gapMs);

        if (page == "Panel4")
            s().client->press("move_client");
        else if (page == "Panelmartyries")
            s().client->pages()->showSignaturesPage();
        QCOMPARE(s().client->pages()->visiblePage(), page);
        s().link.lines.clear();

        PanelSwitch *secondSet =
            s().client->keyboard()->panels().value("Panelanavasi2").value<PanelSwitch *>();
        QVERIFY(secondSet);
        int switches = 0;
        connect(secondSet, &PanelSwitch::shownChanged, this, [&switches] { ++switches; });

        const QPointF at = s().centreOf(key);
        for (int i = 0; i < taps; ++i) {
            if (i > 0)
                QTest::qWait(gapMs);
            tap(at);
        }

        if (line.isEmpty()) {
            QCOMPARE(switches, taps);
            QVERIFY(s().link.lines.isEmpty());
        } else {
            QCOMPARE(s().link.lines, QStringList(taps, line));
        }
        QVERIFY(!hovered(key));
    }

    // The mouse is as it was: two clicks in quick succession, a double click to the system,
    // are two presses; a press that leaves the key before its release is none.
    void mouseClicksStayPresses() {
        const QPointF k1 = s().centreOf("k1");
        QTest::mouseDClick(s().window(), Qt::LeftButton, Qt::NoModifier, k1.toPoint());
        QCOMPARE(s().link.lines, (QStringList{"sent k1", "sent k1"}));

        QTest::mousePress(s().window(), Qt::LeftButton, Qt::NoModifier, k1.toPoint());
        QTest::mouseMove(s().window(), s().centreOf("k5").toPoint());
        QTest::mouseRelease(s().window(), Qt::LeftButton, Qt::NoModifier,
                            s().centreOf("k5").toPoint());
        QCOMPARE(s().link.lines.size(), 2);
    }

    // Each finger is its own press: it presses where it lands, whatever other fingers rest on,
    // and presses run in the order the fingers lift.
    void fingersPressOnTheirOwn_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("lines");

        // "dN key" puts finger N down on the key, "uN key" lifts it there.
        QTest::newRow("rolling, first down first up")
            << "d0 k1, d1 k2, u0 k1, u1 k2" << QStringList{"sent k1", "sent k2"};
        QTest::newRow("rolling, second up first")
            << "d0 k1, d1 k2, u1 k2, u0 k1" << QStringList{"sent k2", "sent k1"};
        QTest::newRow("three fingers on three groups")
            << "d0 a1, d1 k5, d2 c1, u2 c1, u0 a1, u1 k5"
            << QStringList{"sent c1", "sent a1", "sent k5"};
        QTest::newRow("a finger resting on a key, taps beside it")
            << "d0 k1, d1 k2, u1 k2, d1 k3, u1 k3" << QStringList{"sent k2", "sent k3"};
        QTest::newRow("a palm resting on a group, taps elsewhere")
            << "d0 PanelLoipa, d1 k4, u1 k4, d1 SpeedButton35, u1 SpeedButton35"
            << QStringList{"sent k4", "sent SpeedButton35"};
        QTest::newRow("a palm resting on the tool column")
            << "d0 Panelgrammiergaleion, d1 c2, u1 c2" << QStringList{"sent c2"};
        QTest::newRow("a finger sliding off its key sends nothing")
            << "d0 k1, d1 k2, u0 k6, u1 k2" << QStringList{"sent k2"};
    }

    void fingersPressOnTheirOwn() {
        QFETCH(QString, steps);
        QFETCH(QStringList, lines);

        // A palm on a group is on a blank part of it, away from its buttons.
        const QHash<QString, QPointF> blankPlaces{
            {"PanelLoipa", s().onPage("Panel1", QPointF(134, 362))},
            {"Panelgrammiergaleion", s().onPage("Panel1", QPointF(390, 680))},
        };
        QHash<int, QString> resting;
        for (const QString &step : steps.split(", ")) {
            const int finger = step.mid(1, 1).toInt();
            const QString target = step.mid(3);
            const QPointF at = blankPlaces.value(target, s().centreOf(target));
            if (step.startsWith('d')) {
                resting.insert(finger, target);
                down(finger, at);
                if (!blankPlaces.contains(target)) {
                    // The hover look shows while the finger is on the key.
                    QVERIFY2(hovered(target), qPrintable(step));
                }
            } else {
                resting.remove(finger);
                up(finger, at);
            }
        }
        QCOMPARE(s().link.lines, lines);
        // The hover look stays only where a finger still rests.
        for (const QString &key : {"k1", "k2", "k3", "k5", "k6", "a1", "c1"})
            QVERIFY2(hovered(key) == resting.values().contains(key), qPrintable(key));
    }

    // A pop-up group that closes under a finger or the held mouse button takes the pointer off
    // its key: lifting it presses nothing, beneath the group included, and the key shows no
    // hover look, then or once the group opens again.
    void aGroupClosingUnderAPointerLetsItGo_data() {
        QTest::addColumn<bool>("finger");
        QTest::newRow("finger") << true;
        QTest::newRow("mouse") << false;
    }

    void aGroupClosingUnderAPointerLetsItGo() {
        QFETCH(bool, finger);
        s().client->press("enallagifthores");
        QVERIFY(s().item("Panelfthores")->isVisible());
        const QString key =
            qobject_cast<ButtonGroup *>(s().item("Panelfthores"))->buttonNames().first();
        const QPointF at = s().centreOf(key);
        if (finger)
            down(0, at);
        else
            QTest::mousePress(s().window(), Qt::LeftButton, {}, at.toPoint());
        QVERIFY(hovered(key));

        s().client->press("enallagifthores");
        QVERIFY(!s().item("Panelfthores")->isVisible());
        QVERIFY(!hovered(key));
        if (finger)
            up(0, at);
        else
            QTest::mouseRelease(s().window(), Qt::LeftButton, {}, at.toPoint());
        QCOMPARE(s().link.lines, QStringList());

        s().client->press("enallagifthores");
        QVERIFY(!hovered(key));
        tap(at);
        QCOMPARE(s().link.lines, QStringList{"sent " + key});
    }

    // Two fingers on one press area (a single button, here the cursor page's large left arrow)
    // are two presses: the first to lift never takes the other with it.
    void twoFingersOnOnePressArea() {
        s().client->pages()->showCursorPage();
        QTRY_VERIFY(s().target("moveL").isVisible());
        const QPointF centre = s().centreOf("moveL");
        const QPointF beside = centre + QPointF(20, 0);
        down(0, centre);
        down(1, beside);
        up(0, centre);
        QVERIFY(s().target("moveL").isHovered());
        up(1, beside);
        QCOMPARE(s().link.lines, (QStringList{"sent SpeedButton25", "sent SpeedButton25"}));
        QVERIFY(!s().target("moveL").isHovered());
    }

    // A touch the window cancels (the system took the fingers for a gesture of its own) lets
    // every finger on the key go: nothing is sent, the key shows no hover look, the mouse
    // pointer moved onto the key shows it (while a finger is taken to be down, hovers are taken
    // as made up from it), and the next tap is one press.
    void aCancelledTouchLetsItsFingersGo_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("line");
        QTest::newRow("a button of a group") << "k1"
                                             << "k5"
                                             << "sent k1";
        QTest::newRow("a press area") << "moveL"
                                      << "moveR"
                                      << "sent SpeedButton25";
    }

    void aCancelledTouchLetsItsFingersGo() {
        QFETCH(QString, key);
        QFETCH(QString, elsewhere);
        QFETCH(QString, line);
        if (key == "moveL") {
            s().client->pages()->showCursorPage();
            QTRY_VERIFY(s().target(key).isVisible());
        }
        const QPointF at = s().centreOf(key);
        down(0, at);
        down(1, at + QPointF(3, 3));
        QVERIFY(hovered(key));

        QTouchEvent cancel(QEvent::TouchCancel, m_finger);
        QCoreApplication::sendEvent(s().window(), &cancel);
        QVERIFY(!hovered(key));
        QCOMPARE(PointerTracker::fingersDown(), 0);
        QVERIFY(s().link.lines.isEmpty());

        QTest::mouseMove(s().window(), s().centreOf(elsewhere).toPoint());
        QTest::mouseMove(s().window(), at.toPoint());
        QTRY_VERIFY(hovered(key));

        tap(at);
        QCOMPARE(s().link.lines, QStringList{line});
    }

    // A press that ends while another press's handler is still running (here: while its send
    // waits) runs once that handler has returned, never inside it.
    void aPressEndingDuringAHandlerRunsAfterIt() {
        const QPointF k1 = s().centreOf("k1");
        const QPointF k2 = s().centreOf("k2");
        down(0, k1);
        down(1, k2);
        QStringList seenDuringK1;
        s().link.atSend = [&](const QString &word) {
            if (word != "k1")
                return;
            up(1, k2);
            seenDuringK1 = s().link.lines;
        };
        up(0, k1);
        QCOMPARE(seenDuringK1, QStringList{"sent k1"});
        QCOMPARE(s().link.lines, (QStringList{"sent k1", "sent k2"}));
    }

    // Every press target takes a press on all four edges, so that its right and bottom edges
    // are its own too; where two touch, the later member takes the shared edge. Pressed at
    // scales where an edge has a pixel of its own.
    void edgesTakeThePress_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QString>("effect");

        const struct {
            const char *what, *page;
            QPointF point;
            const char *effect;
        } rows[] = {
            // The mode strip's shared edges, and its keys' own right edges.
            {"strip mh1|mh2", "Panelmartyries", {79, 400}, "sent mh1"},
            {"strip mh3|mh4", "Panelmartyries", {176, 400}, "sent mh4"},
            {"strip mh4|mh5", "Panelmartyries", {224, 400}, "sent mh4"},
            {"strip mh5|mh6", "Panelmartyries", {272, 400}, "sent mh5"},
            {"strip mh2 right", "Panelmartyries", {127, 400}, "sent mh2"},
            {"strip mh7 bottom", "Panelmartyries", {350, 426}, "sent mh7"},
            {"tab hx2 right", "Panelmartyries", {104, 26}, "panel Panelhxos_b"},
            {"tab hx2 bottom", "Panelmartyries", {80, 50}, "panel Panelhxos_b"},
            {"Button1 right", "Panelmartyries", {343, 540}, "page Panel1"},
            {"Button1 bottom", "Panelmartyries", {200, 569}, "page Panel1"},
            {"Button3 right", "Panel4", {401, 600}, "written move_client"},
            {"Button3 bottom", "Panel4", {200, 633}, "written move_client"},
            {"arrow key right", "Panel4", {253, 60}, "sent SpeedButton7"},
            {"arrow key bottom", "Panel4", {200, 112}, "sent SpeedButton7"},
            {"Button4 right", "Panel5", {385, 300}, "page Panel1"},
            {"Button4 bottom", "Panel5", {200, 337}, "page Panel1"},
            {"ConnectDisconnect right", "Panel5", {201, 30}, "connect"},
            {"ConnectDisconnect bottom", "Panel5", {100, 57}, "connect"},
            {"ScreenOn right", "Panel5", {233, 225}, "screen option off"},
            {"ScreenOn bottom", "Panel5", {100, 235}, "screen option off"},
            {"Edit2 right", "Panel5", {361, 20}, "focus Edit2"},
            {"Edit2 bottom", "Panel5", {300, 40}, "focus Edit2"},
            {"Edit3 right", "Panel5", {337, 80}, "focus Edit3"},
            {"Edit3 bottom", "Panel5", {300, 96}, "focus Edit3"},
        };
        for (QSize window : {QSize(415, 710), QSize(830, 1420)}) {
            for (const auto &row : rows)
                QTest::addRow("%s at %dx%d", row.what, window.width(), window.height())
                    << window << row.page << row.point << row.effect;
        }
    }

    void edgesTakeThePress() {
        QFETCH(QSize, window);
        QFETCH(QString, page);
        QFETCH(QPointF, point);
        QFETCH(QString, effect);

        QVERIFY(s().resizeTo(window));
        // Port 0 fails the connect at once, with its box, and nothing goes on the network.
        s().client->fields()->setPort("0");
        if (page == "Panel4")
            s().client->press("move_client");
        else if (page == "Panelmartyries")
            s().client->pages()->showSignaturesPage();
        else if (page == "Panel5")
            s().client->pages()->showSettingsPage();
        QCOMPARE(s().client->pages()->visiblePage(), page);
        s().link.lines.clear();

        tap(s().onPage(page, point));

        QString seen;
        if (!s().link.lines.isEmpty())
            seen = s().link.lines.join(' ');
        else if (s().client->pages()->visiblePage() != page)
            seen = "page " + s().client->pages()->visiblePage();
        else if (s().client->modes()->visiblePanel() != "Panelhxos_a")
            seen = "panel " + s().client->modes()->visiblePanel();
        else if (!s().client->fields()->screenOn())
            seen = "screen option off";
        else if (s().window()->activeFocusItem() &&
                 !s().window()->activeFocusItem()->objectName().isEmpty())
            seen = "focus " + s().window()->activeFocusItem()->objectName();
        if (QTest::qWaitFor([this] { return !s().boxTexts.isEmpty(); }, 200))
            seen = "connect";
        QCOMPARE(seen, effect);
    }

    // A screen reader finds every press target as a named button it can press.
    void everyPressTargetIsANamedButton() {
        // Every page, the hidden ones included once they are built.
        s().buildEveryPage();
        QList<PressArea *> areas;
        collect(s().window()->contentItem(), areas);
        QList<ButtonGroup *> groups;
        collect(s().window()->contentItem(), groups);

        QStringList unnamed;
        int buttons = 0;
        auto checkButton = [&](QAccessibleInterface *iface, const QString &own) {
            ++buttons;
            const QString name = iface->text(QAccessible::Name);
            if (name.isEmpty() || name == "......")
                unnamed.append(own);
            QAccessibleActionInterface *actions = iface->actionInterface();
            QVERIFY2(actions &&
                         actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
                     qPrintable(own));
        };
        for (PressArea *area : areas) {
            const QString own = area->objectName().isEmpty() ? area->parentItem()->objectName()
                                                             : area->objectName();
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(area);
            QVERIFY2(iface, qPrintable(own));
            if (iface->role() != QAccessible::Button) {
                // Pages take presses and do nothing with them.
                QVERIFY2(own.startsWith("Panel"), qPrintable(own));
                QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(own));
                continue;
            }
            checkButton(iface, own);
        }
        // A group is named and lists its buttons, which are no items, as its children.
        for (ButtonGroup *group : groups) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(group);
            QVERIFY2(iface, qPrintable(group->objectName()));
            QCOMPARE(iface->role(), QAccessible::Grouping);
            QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(group->objectName()));
            const QStringList names = group->buttonNames();
            QCOMPARE(iface->childCount(), names.size());
            for (int i = 0; i < names.size(); ++i) {
                QAccessibleInterface *button = iface->child(i);
                QVERIFY2(button && button->role() == QAccessible::Button, qPrintable(names[i]));
                QCOMPARE(button->parent(), iface);
                QCOMPARE(iface->indexOfChild(button), i);
                checkButton(button, names[i]);
            }
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(' ')));
        // 169 sign words, 59 pop-up words, the tool column, the set buttons and check boxes,
        // the signatures, the strip, the tabs, the arrow keys and the text buttons.
        QVERIFY2(buttons >= 169 + 59 + 11 + 55 + 8, qPrintable(QString::number(buttons)));

        // The names say what the button is, not its command word, where the tables know it.
        const auto nameOf = [this](const QString &objectName) {
            QAccessibleInterface *iface = accessibleOf(objectName);
            return iface ? iface->text(QAccessible::Name) : QString();
        };
        QCOMPARE(nameOf("a1"), QString("oligon"));
        QCOMPARE(nameOf("k1"), QString("(Ν)"));
        QCOMPARE(nameOf("Button4"), QString("Επιστροφή"));
        QVERIFY(nameOf("enallagianavasi").contains("ascending"));
        QVERIFY(nameOf("enallaghvellh").contains("arrows"));

        // What a screen reader walks: the tree from the window down, the shown page only.
        QList<QAccessibleInterface *> shownButtons;
        collectButtons(QAccessible::queryAccessibleInterface(s().window()), shownButtons);
        QStringList shownNames;
        for (QAccessibleInterface *button : shownButtons)
            shownNames.append(button->text(QAccessible::Name));
        QVERIFY2(!shownNames.contains(QString()), qPrintable(shownNames.join('|')));
        QVERIFY2(shownButtons.size() >= 140, qPrintable(QString::number(shownButtons.size())));
        QVERIFY(shownNames.contains("Backspace"));
        QVERIFY(!shownNames.contains("Επιστροφή")); // on the hidden pages
        QCOMPARE(shownNames.count("(Ν)"), 1);

        QAccessibleInterface *k1 = shownButtons.at(shownNames.indexOf("(Ν)"));
        k1->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(s().link.lines, QStringList{"sent k1"});
    }

    // A reader's press reaches only what a tap can: a button of a hidden page or of a hidden
    // second set does nothing, and does it again once shown.
    void aReaderPressesOnlyWhatShows_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("linesOnceShown");
        QTest::newRow("hidden page's button") << "Button3" << QStringList{"written move_client"};
        QTest::newRow("hidden second set's sign") << "b9" << QStringList{"sent b9"};
    }

    void aReaderPressesOnlyWhatShows() {
        QFETCH(QString, button);
        QFETCH(QStringList, linesOnceShown);
        s().buildEveryPage();
        QCOMPARE(client()->pages()->visiblePage(), QString("Panel1"));
        QAccessibleInterface *hidden = accessibleOf(button);
        QVERIFY2(hidden, qPrintable(button));
        QVERIFY(hidden->state().invisible);
        hidden->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(s().link.lines, QStringList());
        QCOMPARE(client()->pages()->visiblePage(), QString("Panel1"));

        if (button == "Button3")
            client()->pages()->showCursorPage();
        else
            client()->press("enallagianavasi");
        QAccessibleInterface *shown = accessibleOf(button);
        QVERIFY(!shown->state().invisible);
        shown->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(s().link.lines, linesOnceShown);
    }

private:
    static void collectButtons(QAccessibleInterface *from, QList<QAccessibleInterface *> &into) {
        // A screen reader passes over what is not shown, and all within it.
        if (!from || from->state().invisible)
            return;
        if (from->role() == QAccessible::Button)
            into.append(from);
        for (int i = 0; i < from->childCount(); ++i)
            collectButtons(from->child(i), into);
    }
};

QTEST_MAIN(SceneTouchTest)
#include "tst_scene_touch.moc"
