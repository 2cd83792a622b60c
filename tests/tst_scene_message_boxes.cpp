#include "MessageTexts.h"
#include "SceneTest.h"

#include <QJSValue>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

using MessageTexts::kNoConnection;

// A failure text far wider than any window: many words, and one word with no place to break.
const QString kManyWords = QStringLiteral("Socket Error # 10061 Connection refused: ").repeated(60);
const QString kOneLongWord = QStringLiteral("QSeditor").repeated(40);

struct WindowSize {
    int w;
    int h;
};

} // namespace

// The message boxes as a user at a keyboard or with a tablet meets them, through the real
// window: boxes opened by the program's own handlers, answered by keys, and measured.
class SceneMessageBoxesTest : public SceneTest {
    Q_OBJECT

public:
    SceneMessageBoxesTest() : SceneTest({PageScene::Boxes::LeftOpen, QSize(), false}) {}

private:
    // What the user does at each box, one step per box in the order they open. Each step runs
    // on the event loop while its box is open, as the user's input would.
    QList<std::function<void()>> m_steps;
    // Boxes that no step closed: closed with OK afterwards so that a failing test ends.
    int m_leftOpen = 0;

    QuickMessageBoxes &boxes() { return s().boxes; }

    QString focusName() {
        QQuickItem *focus = window()->activeFocusItem();
        return focus ? focus->objectName() : QString();
    }
    QObject *popup() { return window()->findChild<QObject *>("messageBox"); }
    QQuickItem *boxItem() { return popup()->property("background").value<QQuickItem *>(); }
    QQuickItem *boxPart(const QString &name) {
        return PageScene::findDrawn(boxItem()->parentItem(), name);
    }
    QString shownText() { return boxPart("messageText")->property("text").toString(); }
    static QRectF sceneRect(QQuickItem *item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    }

    // Until the window has drawn what changed, so that the box is laid out as the user sees it.
    void waitForFrame() {
        QSignalSpy drawn(window(), &QQuickWindow::afterRendering);
        window()->update();
        QVERIFY(drawn.wait(2000));
    }

    // A handler of the program that shows a box while the event loop runs, as a discovery tick
    // or an answer does.
    void showFromEventLoop(const QString &text) {
        QTimer::singleShot(0, &boxes(), [this, text] { boxes().showMessage(text); });
    }

    // Presses go through the program's own link: with no connection to the editor, a sign
    // press shows its message and, once the box is answered, starts discovery again.
    void useTheRealLink() {
        s().client->setCommandLink(s().client->link()->commandLink());
        s().client->link()->discovery().stop();
    }

    void pressSign(const QString &name) {
        const Target key = s().target(name);
        QVERIFY2(key, qPrintable(name));
        pressAt(window(), key.centreInScene());
    }

private slots:
    void init() {
        m_steps.clear();
        m_leftOpen = 0;
        SceneTest::init();
        if (QTest::currentTestFailed())
            return;

        auto openBefore = std::make_shared<qsizetype>(0);
        connect(&boxes(), &QuickMessageBoxes::openTextsChanged, this, [this, openBefore] {
            const qsizetype open = boxes().openTexts().size();
            if (open > *openBefore) {
                const std::function<void()> step =
                    m_steps.isEmpty() ? std::function<void()>() : m_steps.takeFirst();
                QTimer::singleShot(0, this, [this, step, open] {
                    if (step)
                        step();
                    if (boxes().openTexts().size() >= open) {
                        ++m_leftOpen;
                        boxes().accept();
                    }
                });
            }
            *openBefore = open;
        });
    }

    void eachKeyAnswersTheBox_data() {
        QTest::addColumn<int>("key");
        QTest::addRow("Return") << int(Qt::Key_Return);
        QTest::addRow("Enter") << int(Qt::Key_Enter);
        QTest::addRow("Space") << int(Qt::Key_Space);
        QTest::addRow("Escape") << int(Qt::Key_Escape);
    }

    void eachKeyAnswersTheBox() {
        QFETCH(int, key);
        useTheRealLink();
        QString focusAtOpen;
        QString textAtOpen;
        m_steps.append([&] {
            focusAtOpen = focusName();
            textAtOpen = shownText();
            QTest::keyClick(window(), Qt::Key(key));
        });

        pressSign("k1");

        // The box had the keyboard as it opened, and the key closed it as OK does: the press
        // went on to start discovery again and switch the indicator off.
        QCOMPARE(textAtOpen, kNoConnection);
        QCOMPARE(focusAtOpen, QString("messageOk"));
        QCOMPARE(m_leftOpen, 0);
        QVERIFY(boxes().openTexts().isEmpty());
        QVERIFY(s().client->link()->discovery().running());
        QVERIFY(!s().client->indicatorConnected());
        QVERIFY(!popup()->property("visible").toBool());
    }

    void stackedBoxesAnsweredOneAfterTheOther() {
        useTheRealLink();
        const QString second = QStringLiteral("Second box");
        QStringList seen;
        auto look = [&] { seen.append(shownText() + " | " + focusName()); };
        // The first box, opened by the press; while it is open a handler opens a second one on
        // top of it, which the user answers with Return, then the first with Space.
        m_steps.append([&] {
            look();
            boxes().showMessage(second);
            look();
            QTest::keyClick(window(), Qt::Key_Space);
        });
        m_steps.append([&] {
            look();
            QTest::keyClick(window(), Qt::Key_Return);
        });

        pressSign("k1");

        QCOMPARE(seen, (QStringList{kNoConnection + " | messageOk", second + " | messageOk",
                                    kNoConnection + " | messageOk"}));
        QCOMPARE(m_leftOpen, 0);
        QVERIFY(boxes().openTexts().isEmpty());
        QVERIFY(s().client->link()->discovery().running());
    }

    void boxesOneAfterTheOtherEachTakeTheKeyboard() {
        QStringList seen;
        m_steps.append([&] {
            seen.append(shownText() + " | " + focusName());
            QTest::keyClick(window(), Qt::Key_Return);
        });
        m_steps.append([&] {
            seen.append(shownText() + " | " + focusName());
            QTest::keyClick(window(), Qt::Key_Escape);
        });
        // One handler, two messages in turn: the box closes and opens again.
        bool handled = false;
        QTimer::singleShot(0, this, [&] {
            boxes().showMessage("first");
            boxes().showMessage("second");
            handled = true;
        });
        QTRY_VERIFY(handled);
        QCOMPARE(seen, (QStringList{"first | messageOk", "second | messageOk"}));
        QCOMPARE(m_leftOpen, 0);
    }

    void aKeyHeldDownAnswersOnlyTheTopBox() {
        QStringList open;
        m_steps.append([&] { boxes().showMessage("top"); });
        m_steps.append([&] {
            QTest::simulateEvent(window(), true, Qt::Key_Return, Qt::NoModifier, QString(), false);
            QTest::simulateEvent(window(), true, Qt::Key_Return, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(window(), true, Qt::Key_Return, Qt::NoModifier, QString(), true);
            open = boxes().openTexts();
            QTest::simulateEvent(window(), false, Qt::Key_Return, Qt::NoModifier, QString(), false);
        });
        showFromEventLoop("below");
        QTRY_VERIFY(m_steps.isEmpty() && boxes().openTexts().isEmpty());

        // Only the top box went; the one below waited for a key of its own (and got OK).
        QCOMPARE(open, QStringList{"below"});
        QCOMPARE(m_leftOpen, 1);
    }

    void keysGoToTheBoxAndFocusComesBack() {
        QVERIFY(s().showAtRestoredSize());
        pressItem(window(), "rythmiseisshow");
        pressItem(window(), "Edit2");
        QCOMPARE(focusName(), QString("Edit2"));
        const QString host = s().client->fields()->host();

        bool answered = false;
        m_steps.append([&] {
            QTest::keyClick(window(), Qt::Key_X);
            QTest::keyClick(window(), Qt::Key_Return);
            answered = true;
        });
        showFromEventLoop("Failure.");
        QTRY_VERIFY(answered && boxes().openTexts().isEmpty());

        // Nothing typed while the box was open reached the field, and the field has the
        // keyboard again.
        QCOMPARE(m_leftOpen, 0);
        QCOMPARE(s().client->fields()->host(), host);
        QCOMPARE(focusName(), QString("Edit2"));
        QTest::keyClick(window(), Qt::Key_End);
        QTest::keyClick(window(), Qt::Key_9);
        QCOMPARE(s().client->fields()->host(), host + "9");
    }

    void readableAndInsideTheWindow_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("scrolls");

        // Which texts are taller than the room the window leaves them.
        struct Case {
            const char *name;
            WindowSize size;
            bool shortScrolls;
            bool longWordScrolls;
        };
        const Case cases[]{{"design size", {415, 710}, false, false},
                           {"restored size", {769, 816}, false, false},
                           {"small", {320, 240}, false, true},
                           {"tiny", {180, 150}, true, true}};
        for (const Case &c : cases) {
            QTest::addRow("%s, short", c.name)
                << c.size.w << c.size.h << kNoConnection << c.shortScrolls;
            QTest::addRow("%s, many words", c.name) << c.size.w << c.size.h << kManyWords << true;
            QTest::addRow("%s, one long word", c.name)
                << c.size.w << c.size.h << kOneLongWord << c.longWordScrolls;
        }
    }

    void readableAndInsideTheWindow() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(QString, text);
        QFETCH(bool, scrolls);
        QVERIFY(s().resizeTo(QSize(w, h)));

        bool looked = false;
        m_steps.append([&] {
            waitForFrame();
            looked = true;
            const QRectF windowRect(0, 0, w, h);
            const QRectF box = sceneRect(boxItem());
            QQuickItem *ok = boxPart("messageOk");
            QQuickItem *message = boxPart("messageText");
            QQuickItem *view = boxPart("messageTextView");

            // One text and one OK.
            QCOMPARE(shownText(), text);
            QCOMPARE(ok->property("text").toString(), QString("OK"));
            QList<QQuickItem *> buttons;
            std::function<void(QQuickItem *)> collect = [&](QQuickItem *item) {
                if (item->inherits("QQuickAbstractButton"))
                    buttons.append(item);
                for (QQuickItem *child : item->childItems())
                    collect(child);
            };
            collect(boxItem()->parentItem());
            QCOMPARE(buttons, QList<QQuickItem *>{ok});

            // Large enough to read and to hit.
            const int textPixels =
                message->property("fontInfo").value<QJSValue>().property("pixelSize").toInt();
            QVERIFY2(textPixels >= 16, qPrintable(QString::number(textPixels)));
            QVERIFY2(ok->height() >= 48, qPrintable(QString::number(ok->height())));
            const int okPixels = ok->property("font").value<QFont>().pixelSize();
            QVERIFY2(okPixels >= 16, qPrintable(QString::number(okPixels)));

            // The box, its text and its OK all inside the window.
            QVERIFY2(windowRect.contains(box), qPrintable(QString("%1,%2 %3x%4")
                                                              .arg(box.x())
                                                              .arg(box.y())
                                                              .arg(box.width())
                                                              .arg(box.height())));
            QVERIFY(box.contains(sceneRect(ok)));
            QVERIFY(box.contains(sceneRect(view)));

            // The text wraps inside the box: no line wider than the room it has.
            QVERIFY(message->width() <= view->width());
            QCOMPARE(view->property("contentWidth").toReal(), view->width());
            QVERIFY(message->property("contentWidth").toReal() <= view->width());
            if (text != kNoConnection)
                QVERIFY(message->property("lineCount").toInt() > 1);

            // A text taller than its room shows a scroll bar, and the keys scroll it.
            const qreal textHeight = message->height();
            QCOMPARE(textHeight > view->height(), scrolls);
            QQuickItem *bar = boxPart("messageScrollBar");
            QQuickItem *handle = bar->property("contentItem").value<QQuickItem *>();
            QCOMPARE(bar->isVisible() && bar->property("size").toReal() < 1 &&
                         handle->opacity() > 0,
                     scrolls);
            if (scrolls) {
                const qreal before = view->property("contentY").toReal();
                QTest::keyClick(window(), Qt::Key_Down);
                QTRY_VERIFY(view->property("contentY").toReal() > before);
            } else {
                QCOMPARE(view->height(), textHeight);
            }
            QTest::keyClick(window(), Qt::Key_Return);
        });
        showFromEventLoop(text);
        QTRY_VERIFY(looked && boxes().openTexts().isEmpty());
        QCOMPARE(m_leftOpen, 0);
    }
};

QTEST_MAIN(SceneMessageBoxesTest)
#include "tst_scene_message_boxes.moc"
