#include "LinkTestSupport.h"
#include "MessageTexts.h"
#include "SceneTest.h"
#include "TestFiles.h"

#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QStringList kPages{"Panel1", "Panel4", "Panel5", "Panelmartyries"};

} // namespace

class SceneWindowTest : public SceneTest {
    Q_OBJECT

public:
    SceneWindowTest() : SceneTest({PageScene::Boxes::AnsweredWithOk, QSize(), false}) {}

private:
    QStringList visiblePages() const {
        QStringList shown;
        for (const QString &name : kPages) {
            QQuickItem *page = findItem(window(), name);
            if (page && page->isVisible())
                shown.append(name);
        }
        return shown;
    }

private slots:

    void windowProperties() {
        QCOMPARE(window()->title(), QString("QS Client V 3.0"));
        QVERIFY(window()->flags() & Qt::FramelessWindowHint);
        QCOMPARE(window()->objectName(), QString("MainClient"));
        QCOMPARE(visiblePages(), QStringList{"Panel1"});
        // The other pages are built when first shown.
        for (const char *name : {"Panel4", "Panel5", "Panelmartyries"})
            QVERIFY2(!s().item(name), name);
        s().buildEveryPage();
        QCOMPARE(visiblePages(), QStringList{"Panel1"});
        // Later pages paint over earlier ones, in the order of the window's members.
        QList<QQuickItem *> order;
        for (const QString &name : {"Panel1", "Panel4", "Panel5", "Panelmartyries"}) {
            QQuickItem *member = s().item(name);
            QVERIFY2(member, qPrintable(name));
            while (member->parentItem() != window()->contentItem())
                member = member->parentItem();
            order.append(member);
        }
        const auto children = window()->contentItem()->childItems();
        for (int i = 1; i < order.size(); ++i)
            QVERIFY(children.indexOf(order[i - 1]) < children.indexOf(order[i]));
    }

    void scaling_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("panel5Y");

        QTest::addRow("design size") << 415 << 710 << 174;
        QTest::addRow("twice as wide") << 830 << 710 << 174;
        // (816 - 362 * 816/710) / 2 is 199.98..., truncated toward zero.
        QTest::addRow("restored size") << 769 << 816 << 199;
    }

    void scaling() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, panel5Y);
        s().buildEveryPage();
        QVERIFY(s().resizeTo(QSize(w, h)));
        const float sx = float(double(w) / 415);
        const float sy = float(double(h) / 710);
        QCOMPARE(client()->scaling()->sx(), sx);
        QCOMPARE(client()->scaling()->sy(), sy);

        // Every page, shown or not, covers the window (the cursor page 409/415 of its width),
        // and the settings page sits centred across the full width.
        for (const QString &name : kPages) {
            QQuickItem *page = findItem(window(), name);
            const QRectF drawn = page->mapRectToScene(QRectF(0, 0, page->width(), page->height()));
            QCOMPARE(drawn.width(), double(page->width() * sx));
            QCOMPARE(drawn.height(), double(page->height() * sy));
            if (name == "Panel5") {
                QCOMPARE(drawn.topLeft(), QPointF(0, panel5Y));
            } else {
                QCOMPARE(drawn.topLeft(), QPointF(0, 0));
                QCOMPARE(qRound(drawn.height()), h);
            }
        }
        QCOMPARE(
            qRound(findItem(window(), "Panel1")->mapRectToScene(QRectF(0, 0, 415, 710)).width()),
            w);

        // A press lands where the drawing is: the settings button's centre at scaled place.
        const Target settingsButton = findTarget(window()->contentItem(), "rythmiseisshow");
        QVERIFY(settingsButton);
        const QPointF centre = settingsButton.toScene(QPointF(20.5, 20.5));
        QCOMPARE(centre, QPointF((368 + 2 + 20.5) * sx, (1 + 504 + 20.5) * sy));
        pressAt(window(), centre);
        QCOMPARE(visiblePages(), QStringList{"Panel5"});

        // Activation without a size change keeps every scale.
        QSignalSpy changed(client()->scaling(), &PageScaling::scaleChanged);
        client()->fitPagesToWindow(w, h);
        QCOMPARE(changed.count(), 0);
    }

    void resizeWhileAnotherPageIsShown() {
        QVERIFY(s().resizeTo(QSize(415, 710)));
        pressItem(window(), "rythmiseisshow");
        QVERIFY(s().resizeTo(QSize(830, 355)));
        QCOMPARE(client()->scaling()->sx(), 2.0f);
        QCOMPARE(client()->scaling()->sy(), 0.5f);
        QQuickItem *keyboard = findItem(window(), "Panel1");
        QCOMPARE(keyboard->mapRectToScene(QRectF(0, 0, 415, 710)), QRectF(0, 0, 830, 355));
        QCOMPARE(findItem(window(), "Panel5")->mapToScene(QPointF(0, 0)), QPointF(0, 87));
    }

    void pageStateMachine() {
        QVERIFY(s().resizeTo(QSize(769, 816)));
        struct Step {
            const char *control;
            const char *visibleAfter;
        };
        const Step steps[] = {
            {"martyriesshow", "Panelmartyries"}, {"Button1", "Panel1"},
            {"rythmiseisshow", "Panel5"},        {"Button4", "Panel1"},
            {"move_client", "Panel4"},           {"Button3", "Panel1"},
        };
        for (const Step &step : steps) {
            pressItem(window(), step.control);
            QCOMPARE(visiblePages(), QStringList{step.visibleAfter});
        }
        // Entering the cursor page sends with an answer, leaving writes without one.
        QCOMPARE(s().link.lines, (QStringList{"sent move_client", "written move_client"}));
        QVERIFY(s().boxTexts.isEmpty());
    }

    void leavingTheCursorPageWithoutConnection() {
        s().link.writable = false;
        pressItem(window(), "move_client");
        pressItem(window(), "Button3");
        QTRY_COMPARE(s().boxTexts, QStringList{MessageTexts::kRefused});
        QCOMPARE(visiblePages(), QStringList{"Panel1"});
    }

    void hiddenPagesTakeNoPresses() {
        QVERIFY(s().resizeTo(QSize(415, 710)));
        // The modal signatures page's return button lies over the keyboard page; while that
        // page is hidden, once built, a press there must not switch anything.
        s().buildEveryPage();
        QQuickItem *button1 = findItem(window(), "Button1");
        pressAt(window(), scenePoint(button1, QPointF(140, 24)));
        QCOMPARE(visiblePages(), QStringList{"Panel1"});
    }

    void closeRefusedWithBadPortThenAccepted() {
        // A close asked for by the window system while the settings page is shown.
        pressItem(window(), "rythmiseisshow");
        client()->fields()->setPort("abc");
        QVERIFY(!window()->close());
        QCOMPARE(s().boxTexts, QStringList{"'abc' is not a valid integer value."});
        QVERIFY(window()->isVisible());
        QCOMPARE(visiblePages(), QStringList{"Panel5"});
        QVERIFY(!QFile::exists(s().documents.filePath("QS.INI")));

        // Corrected, the off button of the keyboard page closes the window.
        client()->fields()->setPort("6000");
        pressItem(window(), "Button4");
        pressItem(window(), "off");
        QTRY_VERIFY(!window()->isVisible());
        QCOMPARE(s().boxTexts.size(), 1);
        QVERIFY(QFile::exists(s().documents.filePath("QS.INI")));
    }

    // The program's start, step by step: building shows the window with its defaults; starting
    // gives discovery its port, reads the settings file and fits the pages to the window.
    void startInTheProgramsOrder() {
        QTemporaryDir documents;
        QVERIFY(TestFiles::write(documents.filePath("QS.INI"),
                                 "[Form]\nport=6001\nipserver=qs-editor.lan\nScreenOn=0\n"));
        QuickMessageBoxes boxes;
        QStringList boxTexts;
        answerBoxesWithOk(boxes, boxTexts);
        ClientStartup startup(boxes, SettingsFile(documents.path()), loopbackDiscovery());
        QVERIFY2(startup.window(), qPrintable(startup.errors()));
        MainClient &c = startup.client();
        QVERIFY(startup.window()->isVisible());
        QVERIFY(!c.indicatorConnected());
        QVERIFY(!c.link()->discovery().isOpen());
        QVERIFY(!c.link()->discovery().running());
        QCOMPARE(c.fields()->host(), QString("127.0.0.1"));
        QVERIFY(!c.scaling()->fitted());

        QVERIFY(startup.start());
        QVERIFY(c.link()->discovery().isOpen());
        QVERIFY(c.link()->discovery().running());
        QCOMPARE(c.fields()->host(), QString("qs-editor.lan"));
        QCOMPARE(c.fields()->port(), QString("6001"));
        QCOMPARE(c.fields()->screenOn(), false);
        QVERIFY(c.scaling()->fitted());
        QCOMPARE(c.scaling()->sx(), float(double(startup.window()->width()) / 415));
        QCOMPARE(c.scaling()->sy(), float(double(startup.window()->height()) / 710));
        QCOMPARE(c.pages()->visiblePage(), QString("Panel1"));
        QVERIFY(boxTexts.isEmpty());
    }

    // A second copy on the same discovery port shows the bind failure in front of its fitted
    // pages and does not start: its settings file is not read, its discovery stays stopped, and
    // the first copy goes on.
    void secondCopyDoesNotStart() {
        const DiscoveryEndpoints endpoints = LinkUnderTest::loopback();
        QTemporaryDir documents;
        QVERIFY(TestFiles::write(documents.filePath("QS.INI"),
                                 "[Form]\nport=6001\nipserver=qs-editor.lan\nScreenOn=0\n"));
        QuickMessageBoxes firstBoxes;
        QStringList firstTexts;
        answerBoxesWithOk(firstBoxes, firstTexts);
        ClientStartup first(firstBoxes, SettingsFile(documents.path()), endpoints);
        QVERIFY2(first.window(), qPrintable(first.errors()));
        QVERIFY(first.start());

        QuickMessageBoxes boxes;
        QStringList boxTexts;
        answerBoxesWithOk(boxes, boxTexts);
        ClientStartup second(boxes, SettingsFile(documents.path()), endpoints);
        QVERIFY2(second.window(), qPrintable(second.errors()));
        bool fittedBehindTheBox = false;
        connect(&boxes, &QuickMessageBoxes::openTextsChanged, this, [&] {
            if (!boxes.openTexts().isEmpty())
                fittedBehindTheBox = second.client().scaling()->fitted();
        });
        QVERIFY(!second.start());
        QCOMPARE(boxTexts,
                 QStringList{"Could not bind socket. Address and port are already in use."});
        QVERIFY(fittedBehindTheBox);
        QCOMPARE(second.client().fields()->host(), QString("127.0.0.1"));
        QVERIFY(!second.client().link()->discovery().running());
        QVERIFY(first.client().link()->discovery().running());
        QCOMPARE(first.client().fields()->host(), QString("qs-editor.lan"));
        QVERIFY(firstTexts.isEmpty());
    }

    void settingsReadIntoThePageAtCreation() {
        QVERIFY(TestFiles::write(s().documents.filePath("QS.INI"),
                                 "[Form]\nport=$10\nipserver=qs-editor.lan\nScreenOn=0\n"));
        client()->readSettings();
        s().buildEveryPage();
        QCOMPARE(findItem(window(), "Edit3")->property("text").toString(), QString("16"));
        QCOMPARE(findItem(window(), "Edit2")->property("text").toString(),
                 QString("qs-editor.lan"));
        QCOMPARE(findItem(window(), "ScreenOn")->property("checked").toBool(), false);
    }
};

QTEST_MAIN(SceneWindowTest)
#include "tst_scene_window.moc"
