#include "MessageTexts.h"
#include "SceneTest.h"
#include "keyboard/KeyboardState.h"

#include <QImage>
#include <QLineF>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

using MessageTexts::kNoConnection;

// The page's members, bottom to top, with their places and sizes.
struct Member {
    const char *name;
    int x, y, w, h;
};
const Member kMembers[] = {
    {"PanelIson1", 0, 530, 291, 43},         {"Panelyfesi", 0, 660, 291, 42},
    {"PanelxronikiAgogi1", 1, 617, 291, 41}, {"PanelKatavasi2", 133, 363, 180, 167},
    {"PanelKatavasi1", 133, 363, 180, 167},  {"PanelLoipa", 133, 240, 181, 124},
    {"Panelanavasi1", 133, 1, 181, 241},     {"PanelPoiotitas2", 0, 111, 49, 295},
    {"Paneldiastoles", 1, 451, 132, 79},     {"PanelMartyries1", 1, 573, 291, 42},
    {"PanelIson2", 0, 530, 291, 43},         {"Panelanavasi2", 133, 1, 181, 240},
    {"enallagianavasi", 319, 120, 42, 42},   {"enallagiIson", 295, 529, 42, 42},
    {"enallagiMartyries", 295, 575, 42, 42}, {"PanelPoiotitas1", 0, 111, 49, 295},
    {"CornerButton1", 1, 406, 49, 43},       {"CheckBox1", 321, 569, 65, 27},
    {"enallagikatavasi", 319, 425, 42, 42},  {"Panelgorgo", 50, 1, 75, 450},
    {"PanelMartyries2", 1, 573, 291, 42},    {"Panelgrammiergaleion", 368, 1, 45, 710},
    {"Panelkoumpiahxos", 1, 1, 49, 112},     {"Panelfthores", 1, 530, 291, 127},
    {"Panelmetra", 98, 255, 47, 205},        {"Panelasterakia", 258, 415, 55, 202},
    {"Panelendikseis", 48, 38, 191, 301},    {"Panelyfeseis2", 138, 463, 53, 205},
    {"Panelentasi", 218, 384, 151, 273},     {"Panelpena", 258, 498, 50, 162},
};

// Each group's buttons, bottom to top.
const QMap<QString, QString> kChildOrder{
    {"PanelIson1", "k3 k2 k1 k6 k5 k4 k8 k7"},
    {"PanelIson2", "l3 l2 l1"},
    {"PanelMartyries1", "m1 m3 m2 m5 m6 m4 m7 m8"},
    {"PanelMartyries2", "o1 o3 o2 o6 o5 o4 o8 o7 o9"},
    {"PanelxronikiAgogi1", "x8 x10 x9 x11 x14 x12 x13 enallagi_asterakia"},
    {"Panelyfesi", "sa1 enallagihfeseis sa2 enallaghvellh sa5 sa4 enallagifthores enallaghentash"},
    {"Panelanavasi1", "a15 a7 a6 a1 a4 a3 a8 b1 a16 a5 a2 b2 a14 a13 a12 a9 b4 b6 b3 b5 a18 "
                      "a20 a17 a19"},
    {"Panelanavasi2", "b9 b14 b12 b7 b10 b13 b8 b15 b18 b19 b11 b17 b20 b16 b21"},
    {"PanelLoipa", "e5 e2 e1 e7 e4 e10 e6 e3 f1 e8 f4 f5"},
    {"PanelKatavasi1", "c1 c2 c3 c4 c9 c10 c11 c12 c5 c6 c7 c8 c13 c14 d1 f2"},
    {"PanelKatavasi2", "e9 e11 e13 e12 d3 d4 d5 d6 d2 d8 d7 d9 d12 f3 d10 d11"},
    {"PanelPoiotitas1", "g6 g4 g15 g2 g1 g11 g9 g7"},
    {"PanelPoiotitas2", "g14 g13 g24 g20 g3 g25 g22 g23"},
    {"Panelgorgo", "xr20 xr25 xr24 xr18 xr19 xr16 xr4 xr17 xr26 kar7 kar5 xr1 xr5 xr13 xr15 "
                   "xr14 xr6 xr7 xr12 xr11 xr10 xr9 xr2 xr3 xr8"},
    {"Paneldiastoles", "di2 di3 di4 di1 di5 di6"},
    {"Panelgrammiergaleion", "SpeedButton35 SpeedButton25 move_client SpeedButton31 "
                             "SpeedButton14 off con_SpeedButton SpeedButton15 rythmiseisshow N5 "
                             "SpeedButton36"},
    {"Panelkoumpiahxos", "martyriesshow enallagiendikseis"},
    {"Panelfthores", "ft6 ft7 ft8 ft5 ft13 ft14 ft15 ft3 ft2 ft1 ft11 ft10 ft9 ft4 ft21 ft18 "
                     "ft17 ft12 ft16"},
    {"Panelmetra", "dm16 dm15 dm14 dm13"},
    {"Panelasterakia", "SpeedButton11 par4 par3 par1 par2"},
    {"Panelendikseis", "en2 en3 en4 en5 en6 en8 en7 en15 en13 en10 en11 en9 en16 en14 en12 en1"},
    {"Panelyfeseis2", "ft20 ft_close sa6 ft19 sa3"},
    {"Panelentasi", "is6 is7 is5 is4 is3 is2 is1"},
    {"Panelpena", "pen4 pen3 pen2 pen1"},
};

// The buttons that switch what is shown and send nothing.
const QStringList kSwitches{"enallagihfeseis", "enallagifthores",    "enallaghentash",
                            "enallaghvellh",   "enallagi_asterakia", "di6",
                            "ft_close",        "enallagiendikseis"};
// The buttons that leave the page or the program, tested on their own.
const QStringList kLeaving{"off", "move_client", "rythmiseisshow", "martyriesshow",
                           "con_SpeedButton"};

// What shows each switchable group.
const QMap<QString, QString> kOpener{
    {"PanelKatavasi2", "enallagikatavasiClick"},
    {"Panelanavasi2", "enallagianavasiClick"},
    {"PanelPoiotitas2", "CornerButton1Click"},
    {"PanelIson2", "enallagiIsonClick"},
    {"PanelMartyries2", "enallagiMartyriesClick"},
    {"Panelfthores", "enallagifthoresClick"},
    {"Panelmetra", "di6Click"},
    {"Panelasterakia", "enallagi_asterakiaClick"},
    {"Panelendikseis", "enallagiendikseisClick"},
    {"Panelyfeseis2", "enallagihfeseisClick"},
    {"Panelentasi", "enallaghentashClick"},
    {"Panelpena", "enallaghvellhClick"},
};

const QStringList kStart{"PanelIson1", "PanelKatavasi1", "Panelanavasi1", "PanelMartyries1",
                         "PanelPoiotitas1"};

// Items made by a Repeater are not children of the window object, so search the item tree.
QQuickItem *findIn(QQuickItem *root, const QString &name) {
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findIn(child, name))
            return found;
    }
    return nullptr;
}

QStringList buttonNames(QQuickItem *group) {
    QStringList names;
    for (const Target &button : groupButtons(group)) {
        if (button.item == group)
            names.append(button.name());
    }
    return names;
}

} // namespace

class SceneKeyboardTest : public SceneTest {
    Q_OBJECT

public:
    SceneKeyboardTest() : SceneTest({PageScene::Boxes::AnsweredWithOk, QSize(415, 710), false}) {}

private:
    KeyboardState *keyboard() const { return client()->keyboard(); }
    QQuickItem *page() const { return findItem(window(), "Panel1"); }
    QQuickItem *item(const QString &name) const { return findIn(page(), name); }
    Target button(const QString &name) const { return findTarget(page(), name); }

    void pressPage(QPointF pagePoint) { pressAt(window(), page()->mapToScene(pagePoint)); }

    // The press of a set button or toggle, named by its handler ("di6Click" is di6).
    void invoke(const QString &handler) {
        QVERIFY2(client()->press(handler.chopped(5)), qPrintable(handler));
    }

    // Back to the start state, with only the named group shown in addition.
    void showOnly(const QString &group) {
        for (const QString &panel : keyboard()->panels().keys()) {
            const bool wanted = (kStart.contains(panel) &&
                                 !(group == "PanelMartyries2" && panel == "PanelMartyries1")) ||
                                panel == group;
            if (keyboard()->isShown(panel) != wanted && kOpener.contains(panel))
                invoke(kOpener[panel]);
        }
        QVERIFY(group.isEmpty() || !keyboard()->panels().contains(group) ||
                keyboard()->isShown(group));
    }

    // The point of the button nearest its centre that no later member of its group covers,
    // with a margin for the rounding of a scaled point to a pixel.
    QPointF uncoveredPoint(const Target &button) {
        const QStringList siblings = buttonNames(button.item);
        QList<QRectF> later;
        for (qsizetype i = siblings.indexOf(button.name()) + 1; i < siblings.size(); ++i)
            later.append(this->button(siblings[i]).placed().adjusted(-0.6, -0.6, 0.6, 0.6));
        const QRectF placed = button.placed();
        const QPointF centre(placed.width() / 2, placed.height() / 2);
        QList<QPointF> candidates;
        for (double y = 0.6; y <= placed.height() - 0.6; y += 0.5) {
            for (double x = 0.6; x <= placed.width() - 0.6; x += 0.5)
                candidates.append(QPointF(x, y));
        }
        std::sort(candidates.begin(), candidates.end(), [&](QPointF a, QPointF b) {
            return QLineF(a, centre).length() < QLineF(b, centre).length();
        });
        for (const QPointF &local : candidates) {
            const QPointF inGroup = placed.topLeft() + local;
            if (std::none_of(later.begin(), later.end(),
                             [&](const QRectF &r) { return r.contains(inGroup); }))
                return local;
        }
        return QPointF(-1, -1);
    }

private slots:
    void init() {
        SceneTest::init();
        if (!QTest::currentTestFailed())
            s().link.boxes = &s().boxes;
    }

    void membersInOrderAndPlace() {
        QList<QQuickItem *> members;
        for (const Member &m : kMembers) {
            QQuickItem *member = item(m.name);
            QVERIFY2(member, m.name);
            QCOMPARE(member->parentItem(),
                     members.isEmpty() ? member->parentItem() : members.first()->parentItem());
            QCOMPARE(QRectF(member->position(), member->size()), QRectF(m.x, m.y, m.w, m.h));
            QCOMPARE(member->isVisible(), !QString(m.name).startsWith("Panel") ||
                                              !keyboard()->panels().contains(m.name) ||
                                              kStart.contains(m.name));
            members.append(member);
        }
        const QList<QQuickItem *> children = members.first()->parentItem()->childItems();
        for (qsizetype i = 1; i < members.size(); ++i)
            QVERIFY2(children.indexOf(members[i - 1]) < children.indexOf(members[i]),
                     kMembers[i].name);

        // Drawn: the time signs 1.1 times as wide; "Κάτω" standing upright.
        QCOMPARE(item("Panelgorgo")->mapRectToItem(page(), QRectF(0, 0, 75, 450)),
                 QRectF(50, 1, 75 * double(1.1f), 450));
        const QRectF turned = item("CheckBox1")->mapRectToItem(page(), QRectF(0, 0, 65, 27));
        QCOMPARE(turned, QRectF(340, 550, 27, 65));
        // The connection indicator, 51 below the top of its button con_SpeedButton (6, 573) in
        // the tool column.
        QCOMPARE(item("ImageControl1")->mapRectToItem(page(), QRectF(0, 0, 35, 35)),
                 QRectF(368 + 6, 1 + 573 + 51, 35, 35));
    }

    // The page has the ordinary panel look: light grey where no member lies, such as the strip
    // between the descending signs and the tool column, inside a thin grey outline.
    void pageHasThePanelLook_data() {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("strip beside the step signs") << QPointF(340, 300) << QColor("#f0f0f0");
        QTest::newRow("strip below the check box") << QPointF(350, 660) << QColor("#f0f0f0");
        QTest::newRow("gap below the flats and sharps") << QPointF(150, 705) << QColor("#f0f0f0");
        QTest::newRow("outline at the bottom edge") << QPointF(200, 709.2) << QColor("#a0a0a0");
    }

    void pageHasThePanelLook() {
        QFETCH(QPointF, point);
        QFETCH(QColor, colour);
        const QImage drawn = window()->grabWindow();
        const qreal dpr = drawn.devicePixelRatio();
        const QPoint pixel = (page()->mapToScene(point) * dpr).toPoint();
        QCOMPARE(drawn.pixelColor(pixel).name(), colour.name());
    }

    void groupsListTheirButtonsInOrder() {
        QCOMPARE(groupButtons(page()).size(), 247);
        int total = 0;
        for (auto it = kChildOrder.begin(); it != kChildOrder.end(); ++it) {
            QQuickItem *group = item(it.key());
            QVERIFY2(group, qPrintable(it.key()));
            QCOMPARE(buttonNames(group).join(' '), it.value());
            total += buttonNames(group).size();
        }
        QCOMPARE(total, 247);
    }

    // Every button of every group, pressed through the window where it is drawn, with its
    // group shown: a sign sends its own name, a switch sends nothing.
    void everyButtonSendsItsWord_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::addRow("design size") << QSize(415, 710);
        QTest::addRow("restored window") << QSize(769, 816);
    }

    void everyButtonSendsItsWord() {
        QFETCH(QSize, windowSize);
        QVERIFY(s().resizeTo(windowSize));
        int words = 0;
        for (const Target &button : groupButtons(page())) {
            const QString name = button.name();
            if (kLeaving.contains(name))
                continue;
            const QString group = button.item->objectName();
            showOnly(group);
            QVERIFY2(button.isVisible(), qPrintable(name));
            const QPointF local = uncoveredPoint(button);
            QVERIFY2(local.x() >= 0, qPrintable(name));
            s().link.lines.clear();
            const QStringList before = keyboard()->shownPanels();
            pressAt(window(), button.toScene(local));
            if (kSwitches.contains(name)) {
                QVERIFY2(s().link.lines.isEmpty(), qPrintable(name));
                QVERIFY2(keyboard()->shownPanels() != before, qPrintable(name));
            } else {
                QCOMPARE(s().link.lines, QStringList{"sent " + name});
                ++words;
            }
        }
        // With "Κάτω" and move_client, the page's 236 command words.
        QCOMPARE(words, 234);
        QVERIFY(s().boxTexts.isEmpty());
    }

    void pressAtPagePoint_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("shownAfter");

        const QStringList start = kStart;
        auto with = [](QStringList panels, const QStringList &more) {
            panels += more;
            return panels;
        };
        // Ison letters second set shown, in the order of the page.
        const QStringList isonSecond{"PanelKatavasi1", "Panelanavasi1", "PanelMartyries1",
                                     "PanelIson2", "PanelPoiotitas1"};

        QTest::addRow("sa1 and sa2 share a strip: sa2")
            << QStringList{} << QPointF(38, 681) << QStringList{"sent sa2"} << start;
        QTest::addRow("time signs row 2, shared strip: xr8")
            << QStringList{} << QPointF(50 + 37.5 * 1.1, 54) << QStringList{"sent xr8"} << start;
        QTest::addRow("time signs row 3, shared strip: xr12")
            << QStringList{} << QPointF(50 + 37.5 * 1.1, 88) << QStringList{"sent xr12"} << start;
        QTest::addRow("time signs drawn wider: x 131 is xr14")
            << QStringList{} << QPointF(131, 54) << QStringList{"sent xr14"} << start;
        QTest::addRow("time signs blank tile")
            << QStringList{"enallagiIsonClick"} << QPointF(60, 15) << QStringList{} << isonSecond;
        QTest::addRow("l1 and l2 share x 36: l1")
            << QStringList{"enallagiIsonClick"} << QPointF(36, 552) << QStringList{"sent l1"}
            << start;
        QTest::addRow("l1 right edge x 37: l1")
            << QStringList{"enallagiIsonClick"} << QPointF(37, 552) << QStringList{"sent l1"}
            << start;
        QTest::addRow("blank tile of the second ison set")
            << QStringList{"enallagiIsonClick"} << QPointF(200, 552) << QStringList{} << isonSecond;
        QTest::addRow("hidden second set takes nothing: k1")
            << QStringList{} << QPointF(20, 552) << QStringList{"sent k1"} << start;
        QTest::addRow("white part of the second ascending set")
            << QStringList{"enallagianavasiClick"} << QPointF(245, 100) << QStringList{}
            << QStringList{"PanelIson1", "PanelKatavasi1", "PanelMartyries1", "Panelanavasi2",
                           "PanelPoiotitas1"};
        QTest::addRow("k1 right edge over k2's left edge: k1")
            << QStringList{} << QPointF(37, 552) << QStringList{"sent k1"} << start;
        QTest::addRow("k1 bottom edge")
            << QStringList{} << QPointF(20, 570) << QStringList{"sent k1"} << start;
        QTest::addRow("panel margin between buttons")
            << QStringList{"enallagikatavasiClick"} << QPointF(134, 300) << QStringList{}
            << QStringList{"PanelIson1", "PanelKatavasi2", "Panelanavasi1", "PanelMartyries1",
                           "PanelPoiotitas1"};

        QTest::addRow("Κάτω turned: above its unturned rectangle")
            << QStringList{} << QPointF(353, 555) << QStringList{"sent CheckBox1"} << start;
        QTest::addRow("Κάτω turned: inside its unturned rectangle only")
            << QStringList{} << QPointF(339, 580) << QStringList{} << start;

        QTest::addRow("column y 370: SpeedButton25")
            << QStringList{} << QPointF(388, 371) << QStringList{"sent SpeedButton25"} << start;
        QTest::addRow("four-way arrow: SpeedButton31")
            << QStringList{} << QPointF(388, 397) << QStringList{"sent SpeedButton31"} << start;
        QTest::addRow("SpeedButton31's right edge")
            << QStringList{} << QPointF(410, 397) << QStringList{"sent SpeedButton31"} << start;
        QTest::addRow("SpeedButton25's right edge beside it")
            << QStringList{} << QPointF(411, 397) << QStringList{"sent SpeedButton25"} << start;
        QTest::addRow("column y 122: N5")
            << QStringList{} << QPointF(388, 123) << QStringList{"sent N5"} << start;
        QTest::addRow("column y 105: SpeedButton35")
            << QStringList{} << QPointF(388, 106) << QStringList{"sent SpeedButton35"} << start;
        QTest::addRow("tool command resets the sets")
            << QStringList{"enallagikatavasiClick", "enallaghentashClick"} << QPointF(390, 180)
            << QStringList{"sent SpeedButton14"} << start;
        QTest::addRow("connection indicator")
            << QStringList{} << QPointF(391, 642) << QStringList{} << start;
        QTest::addRow("blank lower column")
            << QStringList{} << QPointF(390, 690) << QStringList{} << start;
        QTest::addRow("blank tile of the top-left block")
            << QStringList{} << QPointF(20, 95) << QStringList{} << start;

        QTest::addRow("measure numbers over di6's top edge: dm16")
            << QStringList{"di6Click"} << QPointF(110, 454) << QStringList{"sent dm16"} << start;
        QTest::addRow("lower on di6: the toggle closes it")
            << QStringList{"di6Click"} << QPointF(110, 470) << QStringList{} << start;
        QTest::addRow("measure numbers between buttons, over a time sign")
            << QStringList{"di6Click"} << QPointF(118, 306) << QStringList{}
            << with(start, {"Panelmetra"});
        QTest::addRow("asterisks group y 50: SpeedButton11")
            << QStringList{"enallagi_asterakiaClick"} << QPointF(283, 465)
            << QStringList{"sent SpeedButton11"} << start;
        QTest::addRow("asterisks group y 45: par4")
            << QStringList{"enallagi_asterakiaClick"} << QPointF(283, 460)
            << QStringList{"sent par4"} << start;
        QTest::addRow("dynamics over Κάτω")
            << QStringList{"enallaghentashClick"} << QPointF(353, 555) << QStringList{"sent is3"}
            << start;
        QTest::addRow("dynamics over enallagikatavasi")
            << QStringList{"enallaghentashClick"} << QPointF(340, 446) << QStringList{"sent is6"}
            << start;
        QTest::addRow("dynamics over enallagiMartyries")
            << QStringList{"enallaghentashClick"} << QPointF(316, 596) << QStringList{"sent is2"}
            << start;
        QTest::addRow("dynamics panel edge over a descending sign")
            << QStringList{"enallaghentashClick"} << QPointF(219, 500) << QStringList{}
            << with(start, {"Panelentasi"});
        QTest::addRow("dynamics reach into the tool column")
            << QStringList{"enallaghentashClick"} << QPointF(370, 430) << QStringList{"sent is6"}
            << start;
        QTest::addRow("arrows over dynamics")
            << QStringList{"enallaghentashClick", "enallaghvellhClick"} << QPointF(284, 602)
            << QStringList{"sent pen2"} << start;
        QTest::addRow("modulation signs cover the martyria row")
            << QStringList{"enallagifthoresClick"} << QPointF(200, 552) << QStringList{}
            << with(start, {"Panelfthores"});
        QTest::addRow("modulation sign leaves its group open")
            << QStringList{"enallagifthoresClick", "enallagiIsonClick"} << QPointF(92, 624)
            << QStringList{"sent ft3"} << with(start, {"Panelfthores"});
        QTest::addRow("further flats and sharps stay open")
            << QStringList{"enallagihfeseisClick"} << QPointF(164, 525) << QStringList{"sent ft20"}
            << with(start, {"Panelyfeseis2"});
        QTest::addRow("letter indications over the time signs")
            << QStringList{"enallagiendikseisClick"} << QPointF(80, 300) << QStringList{"sent en1"}
            << start;
    }

    void pressAtPagePoint() {
        QFETCH(QStringList, before);
        QFETCH(QPointF, point);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, shownAfter);

        for (const QString &handler : before)
            invoke(handler);
        pressPage(point);
        QCOMPARE(s().link.lines, sent);
        QCOMPARE(keyboard()->shownPanels(), shownAfter);
        QVERIFY(s().boxTexts.isEmpty());
    }

    void setButtonsAndTogglesTwiceRestore() {
        const QStringList controls{"enallagianavasi", "enallagiIson",       "enallagiMartyries",
                                   "CornerButton1",   "enallagikatavasi",   "enallagiendikseis",
                                   "enallagihfeseis", "enallagifthores",    "enallaghentash",
                                   "enallaghvellh",   "enallagi_asterakia", "di6"};
        for (const QString &name : controls) {
            const Target control = button(name);
            QVERIFY2(control, qPrintable(name));
            const QPointF centre = control.centreInScene();
            pressAt(window(), centre);
            QVERIFY2(keyboard()->shownPanels() != kStart, qPrintable(name));
            pressAt(window(), centre);
            QCOMPARE(keyboard()->shownPanels(), kStart);
        }
        QVERIFY(s().link.lines.isEmpty());
    }

    void m3WithoutConnectionSwapsBeforeTheMessage() {
        s().link.answer = RecordingLink::Answer::NotConnected;
        invoke("enallagikatavasiClick");
        QStringList seen;
        QObject::connect(&s().boxes, &QuickMessageBoxes::openTextsChanged, &s().boxes, [&] {
            if (!s().boxes.openTexts().isEmpty())
                seen << QString("box signs %1 katavasi2 %2")
                            .arg(item("PanelMartyries2")->isVisible())
                            .arg(item("PanelKatavasi2")->isVisible());
        });
        pressAt(window(), button("m3").toScene(QPointF(18, 18)));
        QCOMPARE(s().link.lines, QStringList{"sent m3"});
        QCOMPARE(seen, QStringList{"box signs 1 katavasi2 1"});
        QCOMPARE(s().boxTexts, QStringList{kNoConnection});
        QVERIFY(item("PanelMartyries2")->isVisible());
        QVERIFY(!item("PanelMartyries1")->isVisible());
        QVERIFY(item("PanelKatavasi1")->isVisible());
        QVERIFY(!item("PanelKatavasi2")->isVisible());
    }

    void failedConnectionCheckEndsThePress() {
        s().link.answer = RecordingLink::Answer::CheckFails;
        invoke("enallagikatavasiClick");
        pressAt(window(), button("m3").toScene(QPointF(18, 18)));
        QCOMPARE(s().boxTexts, QStringList{"Socket Error # 10038."});
        // The swap made before the send stays; no reset.
        QVERIFY(item("PanelMartyries2")->isVisible());
        QVERIFY(item("PanelKatavasi2")->isVisible());
        pressPage(QPointF(353, 555));
        QVERIFY(!item("CheckBox1")->property("checked").toBool());
    }

    void checkBoxMarkTogglesAfterItsSendAndMessage() {
        s().link.answer = RecordingLink::Answer::NotConnected;
        invoke("enallagiIsonClick");
        QQuickItem *box = item("CheckBox1");
        QStringList seen;
        s().link.atSend = [&](const QString &) {
            seen << QString("send checked %1").arg(box->property("checked").toBool());
        };
        QObject::connect(&s().boxes, &QuickMessageBoxes::openTextsChanged, &s().boxes, [&] {
            if (!s().boxes.openTexts().isEmpty())
                seen << QString("box checked %1 ison2 %2")
                            .arg(box->property("checked").toBool())
                            .arg(item("PanelIson2")->isVisible());
        });
        pressPage(QPointF(353, 600));
        QCOMPARE(seen, (QStringList{"send checked 0", "box checked 0 ison2 1"}));
        QVERIFY(box->property("checked").toBool());
        QVERIFY(!item("PanelIson2")->isVisible());
        pressPage(QPointF(353, 600));
        QVERIFY(!box->property("checked").toBool());
        QCOMPARE(s().link.lines, (QStringList{"sent CheckBox1", "sent CheckBox1"}));
    }

    void leavingButtons() {
        QSignalSpy closing(client(), &MainClient::closeRequested);
        pressItem(window(), "rythmiseisshow");
        QCOMPARE(client()->pages()->visiblePage(), QString("Panel5"));
        client()->press("Button4");
        pressItem(window(), "martyriesshow");
        QCOMPARE(client()->pages()->visiblePage(), QString("Panelmartyries"));
        client()->press("Button1");
        // The connection button restarts discovery, which runs from the start, and switches no
        // page.
        client()->link()->discovery().stop();
        pressItem(window(), "con_SpeedButton");
        QVERIFY(client()->link()->discovery().running());
        QCOMPARE(client()->pages()->visiblePage(), QString("Panel1"));

        // move_client: the cursor page first, then the send, and no reset.
        invoke("enallagikatavasiClick");
        s().link.atSend = [&](const QString &) {
            s().link.lines << "page " + client()->pages()->visiblePage();
        };
        pressItem(window(), "move_client");
        QCOMPARE(s().link.lines, (QStringList{"sent move_client", "page Panel4"}));
        QVERIFY(keyboard()->isShown("PanelKatavasi2"));
        QCOMPARE(closing.count(), 0);
    }

    void picturesReadWhenFirstShown() {
        auto pictureOf = [this](const QString &group) -> QQuickItem * {
            for (QQuickItem *child : item(group)->childItems()) {
                if (QByteArray(child->metaObject()->className()).startsWith("Picture"))
                    return child;
            }
            return nullptr;
        };
        const int null = 0, ready = 1;
        for (const Member &m : kMembers) {
            QQuickItem *picture = QString(m.name).startsWith("Panel") ? pictureOf(m.name) : nullptr;
            if (!picture)
                continue;
            const bool shown = item(m.name)->isVisible();
            QTRY_COMPARE(picture->property("status").toInt(), shown ? ready : null);
        }
        QTRY_COMPARE(item("ImageControl1")->property("status").toInt(), ready);

        invoke("enallaghentashClick");
        QTRY_COMPARE(pictureOf("Panelentasi")->property("status").toInt(), ready);
        invoke("enallaghentashClick");
        QVERIFY(!item("Panelentasi")->isVisible());
        QTRY_COMPARE(pictureOf("Panelentasi")->property("status").toInt(), ready);

        // Read at the size it is drawn.
        QVERIFY(s().resizeTo(QSize(830, 1420)));
        QQuickItem *image = pictureOf("Panelgorgo");
        QVERIFY(image && image->inherits("QQuickImage"));
        const qreal dpr = window()->effectiveDevicePixelRatio();
        QCOMPARE(image->property("sourceSize").toSize(),
                 QSize(qCeil(73 * 2 * double(1.1f) * dpr - 1e-9), qCeil(444 * 2 * dpr)));
    }

    // The hover look a group draws over one of its buttons while it shows it.
    static QQuickItem *hoverLookOver(const Target &button) {
        for (QQuickItem *child : button.item->childItems()) {
            if (child->objectName() == "hoverLook" && child->isVisible() &&
                QRectF(child->position(), child->size()) == button.rect)
                return child;
        }
        return nullptr;
    }

    void hoverLook() {
        const Target k1 = button("k1");
        QVERIFY(!hoverLookOver(k1));
        QTest::mouseMove(window(), k1.toScene(QPointF(18, 18)).toPoint());
        QTRY_VERIFY(k1.isHovered());
        QTRY_VERIFY(hoverLookOver(k1));
        QQuickItem *look = hoverLookOver(k1);
        QTRY_COMPARE(look->opacity(), 0.5);
        QQuickItem *ellipse = look->childItems().first();
        QTRY_COMPARE(ellipse->opacity(), 175.0 / 255);
        QCOMPARE(ellipse->mapRectToItem(look, QRectF(0, 0, 100, 100)).toRect(),
                 QRect(0, 0, 36, 36));

        // Non-square: an ellipse filling the rectangle.
        invoke("enallagiMartyriesClick");
        const Target o7 = button("o7");
        QTest::mouseMove(window(), o7.toScene(QPointF(18, 18)).toPoint());
        QTRY_VERIFY(hoverLookOver(o7));
        QTRY_VERIFY(!k1.isHovered());
        QCOMPARE(hoverLookOver(o7)
                     ->childItems()
                     .first()
                     ->mapRectToItem(hoverLookOver(o7), QRectF(0, 0, 100, 100))
                     .toRect(),
                 QRect(0, 0, 35, 36));

        QTest::mouseMove(window(), page()->mapToScene(QPointF(390, 690)).toPoint());
        QTRY_VERIFY(!hoverLookOver(o7));
        QVERIFY(!o7.isHovered());
        QVERIFY(s().link.lines.isEmpty());
    }
};

QTEST_MAIN(SceneKeyboardTest)
#include "tst_scene_keyboard.moc"
