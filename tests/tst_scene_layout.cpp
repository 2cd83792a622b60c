// The layout table against the window built from it, the table's reader against tables that are
// wrong, and the pictures as the window's provider draws them.
#include "PageScene.h"
#include "app/ButtonGroup.h"
#include "app/PictureProvider.h"
#include "base/WindowLayout.h"

#include <QTest>

class SceneLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // Each page's members stand in the window in the table's child order, shown at start as the
    // table says; each group lists the table's buttons in their order. The pages' QML names the
    // members in its own order, so this is what catches the two apart. Places are checked
    // against the description below, not against the table the window read them from.
    void windowFollowsTheTable() {
        PageScene scene;
        QVERIFY2(scene.window(), qPrintable(scene.scene->errors()));
        QVERIFY(scene.showAtRestoredSize());
        const QStringList shownAtStart = scene.client->keyboard()->shownPanels();
        scene.buildEveryPage();
        const WindowLayout &layout = WindowLayout::standard();
        QCOMPARE(layout.pageNames().size(), 4);
        for (const QString &pageName : layout.pageNames()) {
            QQuickItem *page = scene.item(pageName);
            QVERIFY2(page, qPrintable(pageName));
            // The pages' design sizes as the description gives them.
            const QHash<QString, QSizeF> described{{"Panel1", {415, 710}},
                                                   {"Panelmartyries", {415, 710}},
                                                   {"Panel4", {409, 710}},
                                                   {"Panel5", {415, 362}}};
            QCOMPARE(page->size(), described.value(pageName));
            qsizetype previous = -1;
            for (const LayoutMember *member : layout.members(pageName)) {
                QQuickItem *item = scene.item(member->name);
                QVERIFY2(item && item->parentItem() == page, qPrintable(member->name));
                const qsizetype at = page->childItems().indexOf(item);
                QVERIFY2(at > previous, qPrintable(member->name));
                previous = at;
                // Its place is the table's; fields and the settings page's check box are laid
                // out wider or higher by the page's stretch, and drawn back into that place.
                QCOMPARE(item->position(), member->rect.topLeft());
                if (member->kind != "field" && !(member->kind == "check" && pageName == "Panel5"))
                    QCOMPARE(item->size(), member->rect.size());
                if (member->kind == "group") {
                    auto *group = qobject_cast<ButtonGroup *>(item);
                    QVERIFY2(group, qPrintable(member->name));
                    QStringList names;
                    for (const LayoutButton &button : member->buttons)
                        names.append(button.name);
                    QCOMPARE(group->buttonNames(), names);
                    if (pageName == "Panel1")
                        QCOMPARE(member->shownAtStart,
                                 !scene.client->keyboard()->panelSwitch(member->name) ||
                                     shownAtStart.contains(member->name));
                }
            }
        }
    }

    // Places as the window's description gives them, written here, so that a wrong table fails
    // even where the window follows it faithfully: members of each page and buttons of groups.
    void placesAsDescribed_data() {
        QTest::addColumn<QString>("group"); // empty for a member of a page
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("rect");
        QTest::addRow("ison letters") << ""
                                      << "PanelIson1" << QRectF(0, 530, 291, 43);
        QTest::addRow("time signs") << ""
                                    << "Panelgorgo" << QRectF(50, 1, 75, 450);
        QTest::addRow("ascending, second set") << ""
                                               << "Panelanavasi2" << QRectF(133, 1, 181, 240);
        QTest::addRow("tool column") << ""
                                     << "Panelgrammiergaleion" << QRectF(368, 1, 45, 710);
        QTest::addRow("pop-up group") << ""
                                      << "Panelpena" << QRectF(258, 498, 50, 162);
        QTest::addRow("set button") << ""
                                    << "CornerButton1" << QRectF(1, 406, 49, 43);
        QTest::addRow("swap button") << ""
                                     << "enallagiIson" << QRectF(295, 529, 42, 42);
        QTest::addRow("mode panel") << ""
                                    << "Panelhxos_a" << QRectF(35, 60, 345, 300);
        QTest::addRow("cursor key") << ""
                                    << "moveL" << QRectF(24, 352, 105, 97);
        QTest::addRow("connection log") << ""
                                        << "Memo1View" << QRectF(18, 122, 383, 81);
        QTest::addRow("first flat") << "Panelyfesi"
                                    << "sa1" << QRectF(3, 3, 36, 36);
        QTest::addRow("last toggle") << "Panelyfesi"
                                     << "enallaghvellh" << QRectF(255, 3, 36, 36);
        QTest::addRow("signature") << "Panelhxos_a"
                                   << "ark1" << QRectF(55, 45, 112, 60);
    }

    void placesAsDescribed() {
        QFETCH(QString, group);
        QFETCH(QString, name);
        QFETCH(QRectF, rect);
        PageScene scene;
        QVERIFY2(scene.window(), qPrintable(scene.scene->errors()));
        scene.buildEveryPage();
        if (group.isEmpty()) {
            QQuickItem *item = scene.item(name);
            QVERIFY2(item, qPrintable(name));
            QCOMPARE(QRectF(item->position(), item->size()), rect);
        } else {
            auto *buttons = qobject_cast<ButtonGroup *>(scene.item(group));
            QVERIFY2(buttons, qPrintable(group));
            QCOMPARE(buttons->buttonRect(name), rect);
        }
    }

    // A table that is not what the window needs is refused with its reason, never half read.
    void wrongTablesAreRefused_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{\"pages\": [") << "";
        QTest::newRow("no pages") << QByteArray("{\"pages\": {}}") << "no pages";
        QTest::newRow("member without rectangle")
            << QByteArray(R"({"pages": {"P": [{"name": "g", "kind": "group"}]}})")
            << "a member without a name or rectangle";
        QTest::newRow("button row too short")
            << QByteArray(R"({"pages": {"P": [{"name": "g", "kind": "group",
                 "rect": [0, 0, 10, 10], "buttons": [["k1", 0, 0, 5]]}]}})")
            << "a button of g is not [name, x, y, width, height, handler]";
        QTest::newRow("handler that is no text")
            << QByteArray(R"({"pages": {"P": [{"name": "g", "kind": "group",
                 "rect": [0, 0, 10, 10], "buttons": [["k1", 0, 0, 5, 5, 7]]}]}})")
            << "a button of g is not [name, x, y, width, height, handler]";
        QTest::newRow("properties before the handler")
            << QByteArray(R"({"pages": {"P": [{"name": "g", "kind": "group",
                 "rect": [0, 0, 10, 10], "buttons": [["k1", 0, 0, 5, 5, {"repeat": true}, "h"]]}]}})")
            << "a button of g is not [name, x, y, width, height, handler]";
        QTest::newRow("a name twice")
            << QByteArray(R"({"pages": {"P": [{"name": "g", "kind": "group",
                 "rect": [0, 0, 10, 10], "buttons": [["k1", 0, 0, 5, 5], ["k1", 5, 0, 5, 5]]}]}})")
            << "k1 is named twice";
    }

    void wrongTablesAreRefused() {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        QString error;
        const WindowLayout layout = WindowLayout::fromJson(json, &error);
        QVERIFY(!error.isEmpty());
        if (!reason.isEmpty())
            QCOMPARE(error, reason);
        QVERIFY(layout.pageNames().isEmpty());
        QVERIFY(!layout.member("g"));
        QVERIFY(!layout.button("k1"));
    }

    // A button's properties follow its rectangle, or its handler where it has one.
    void buttonPropertiesAreRead() {
        QString error;
        const WindowLayout layout = WindowLayout::fromJson(
            R"({"pages": {"P": [{"name": "g", "kind": "group", "rect": [0, 0, 20, 10],
                "buttons": [["k1", 0, 0, 5, 5, {"repeat": true}],
                            ["k2", 5, 0, 5, 5, "h", {"repeat": true}],
                            ["k3", 10, 0, 5, 5, "h", {}],
                            ["k4", 15, 0, 5, 5]]},
                {"name": "a", "kind": "key", "rect": [0, 10, 5, 5], "repeat": true}]}})",
            &error);
        QCOMPARE(error, QString());
        const struct {
            const char *name;
            const char *handler;
            bool repeats;
        } expected[] = {{"k1", "c13Click", true},
                        {"k2", "h", true},
                        {"k3", "h", false},
                        {"k4", "c13Click", false}};
        for (const auto &e : expected) {
            const LayoutButton *button = layout.button(e.name);
            QVERIFY2(button, e.name);
            QCOMPARE(button->handler, e.handler);
            QCOMPARE(button->repeats, e.repeats);
        }
        QVERIFY(layout.member("a")->repeats);
        QVERIFY(!layout.member("g")->repeats);
    }

    void handlersFromTheTable_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("handler");
        QTest::newRow("sign") << "k1"
                              << "c13Click";
        QTest::newRow("martyria letter") << "m3"
                                         << "m1Click";
        QTest::newRow("martyria sign") << "o5"
                                       << "o5Click";
        QTest::newRow("toggle in a group") << "di6"
                                           << "di6Click";
        QTest::newRow("set button") << "CornerButton1"
                                    << "CornerButton1Click";
        QTest::newRow("check box") << "CheckBox1"
                                   << "CheckBox1Click";
        QTest::newRow("tool column") << "off"
                                     << "offClick";
        QTest::newRow("signature key") << "ark17"
                                       << "ark1Click";
        QTest::newRow("strip key") << "mh3"
                                   << "c13Click";
        QTest::newRow("tab") << "hx4"
                             << "hxClick";
        QTest::newRow("cursor page") << "moveL"
                                     << "moveLClick";
        QTest::newRow("a group is no control") << "Panelgorgo"
                                               << "";
        QTest::newRow("unknown") << "nothing"
                                 << "";
    }

    void handlersFromTheTable() {
        QFETCH(QString, control);
        QFETCH(QString, handler);
        QCOMPARE(WindowLayout::standard().handlerOf(control), handler);
    }

    // Drawn at the size asked for; a name that is no picture, or reaches outside their folder,
    // gives nothing.
    void picturesAsProvided_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("both sides") << "PanelIson1" << QSize(578, 76) << QSize(578, 76);
        QTest::newRow("stretched") << "PanelIson1" << QSize(100, 100) << QSize(100, 100);
        QTest::newRow("width only") << "arrow-key" << QSize(64, 0) << QSize(64, 64);
        QTest::newRow("missing") << "Image99" << QSize(10, 10) << QSize(0, 0);
        QTest::newRow("outside the folder") << "../icon" << QSize(10, 10) << QSize(0, 0);
        QTest::newRow("another kind of file") << "PanelIson1.svg" << QSize(10, 10) << QSize(0, 0);
    }

    void picturesAsProvided() {
        QFETCH(QString, name);
        QFETCH(QSize, requested);
        QFETCH(QSize, drawn);
        QSize natural;
        const QImage image = PictureProvider::draw(name, requested, &natural);
        QCOMPARE(image.size(), drawn);
        if (!drawn.isEmpty()) {
            QVERIFY(!natural.isEmpty());
            // Something is drawn, not a blank image of the right size.
            QVERIFY(image.pixelColor(drawn.width() / 2, drawn.height() / 2).alpha() > 0 ||
                    image.pixelColor(drawn.width() / 4, drawn.height() / 2).alpha() > 0);
        }
    }
};

QTEST_MAIN(SceneLayoutTest)
#include "tst_scene_layout.moc"
