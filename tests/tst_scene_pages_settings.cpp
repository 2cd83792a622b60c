#include "SceneTest.h"
#include "TestFiles.h"

#include <QFile>
#include <QImage>
#include <QPointingDevice>
#include <QQuickItem>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

const QString kPage = QStringLiteral("Panel5");

} // namespace

class ScenePagesSettingsTest : public SceneTest {
    Q_OBJECT

public:
    ScenePagesSettingsTest()
        : SceneTest({PageScene::Boxes::AnsweredWithOk, PageScene::kRestoredSize, true}) {}

private:
    // A touch screen, for a finger on the page.
    std::unique_ptr<QPointingDevice> m_touchScreen{QTest::createTouchDevice()};

    QString text(const QString &name) { return s().item(name)->property("text").toString(); }
    // Typed key by key into the item with the focus, as QTest::keyClicks does for widgets.
    void typeText(const char *text) {
        for (const char *c = text; *c; ++c)
            QTest::keyClick(s().window(), *c);
    }
    QString iniPath() { return s().documents.filePath("QS.INI"); }

    // The log's scrolled view and where it is scrolled to.
    QQuickItem *logView() {
        return s().item("Memo1View")->property("contentItem").value<QQuickItem *>();
    }
    QPointF logScroll() {
        return {logView()->property("contentX").toReal(), logView()->property("contentY").toReal()};
    }
    // Whether the whole of a line of the log (counted from 0) lies inside the box.
    bool logLineShown(int line) {
        QQuickItem *memo = s().item("Memo1");
        const QString log = memo->property("text").toString();
        int start = 0;
        for (int i = 0; i < line; ++i)
            start = log.indexOf('\n', start) + 1;
        QRectF cursor;
        QMetaObject::invokeMethod(memo, "positionToRectangle", Q_RETURN_ARG(QRectF, cursor),
                                  Q_ARG(int, start));
        const QRectF inBox = memo->mapRectToItem(logView(), cursor);
        return QRectF(0, 0, logView()->width(), logView()->height()).contains(inBox);
    }
    // Connection lines as the link appends them, numbered so that each can be told apart.
    void appendLogLines(int from, int to) {
        for (int i = from; i <= to; ++i)
            s().client->fields()->appendLogLine(QString(i % 2
                                                            ? "Client connected with server %1"
                                                            : "Client disconnected from server %1")
                                                    .arg(i));
    }
    // A finger laid on the log and drawn by the given distance in window pixels, in small steps,
    // then lifted; the box is left to come to rest.
    void panLog(QPointF by) {
        QQuickItem *view = logView();
        QPointF at = view->mapToScene(QPointF(view->width() / 2, view->height() / 2));
        QTest::touchEvent(s().window(), m_touchScreen.get()).press(0, at.toPoint());
        const int steps = 10;
        for (int i = 0; i < steps; ++i) {
            QTest::qWait(10);
            at += by / steps;
            QTest::touchEvent(s().window(), m_touchScreen.get()).move(0, at.toPoint());
        }
        QTest::qWait(100);
        QTest::touchEvent(s().window(), m_touchScreen.get()).release(0, at.toPoint());
        QTRY_VERIFY(!view->property("moving").toBool());
    }

    void openPage() {
        pressItem(s().window(), "rythmiseisshow");
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    // Everything the page shows and the program keeps.
    QStringList snapshot() {
        ClientFields *f = s().client->fields();
        return {text("Edit2"),
                text("Edit3"),
                text("Memo1"),
                text("Label1"),
                s().item("ScreenOn")->property("checked").toString(),
                f->host(),
                f->port(),
                f->log(),
                QString::number(f->screenOn())};
    }

private slots:

    void layoutOfThePage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QString>("text");

        QTest::newRow("ConnectDisconnect")
            << "ConnectDisconnect" << QRectF(16, 16, 185, 41) << "Connect Disconnect";
        QTest::newRow("Edit2") << "Edit2" << QRectF(248, 8, 113, 32) << "127.0.0.1";
        QTest::newRow("Edit3") << "Edit3" << QRectF(264, 64, 73, 32) << "6000";
        QTest::newRow("ScreenOn") << "ScreenOn" << QRectF(40, 216, 193, 19)
                                  << "Οθόνη πάντα ανοιχτή";
        QTest::newRow("Button4") << "Button4" << QRectF(40, 280, 345, 57) << "Επιστροφή";
        QTest::newRow("Label1") << "Label1" << QRectF(156, 92, 61, 23) << "ok";
    }

    void layoutOfThePage() {
        QFETCH(QString, name);
        QFETCH(QRectF, rect);
        QFETCH(QString, text);
        QVERIFY(s().item(name));
        QCOMPARE(s().rectOnPage(kPage, name), rect);
        QCOMPARE(this->text(name), text);
        QCOMPARE(s().item("Label1")->isVisible(), false);
    }

    void logBoxLayout() {
        openPage();
        QQuickItem *memo = s().item("Memo1");
        // The box shows its lines unwrapped, as plain text, in its rectangle at (18, 122).
        QCOMPARE(memo->property("wrapMode").toInt(), 0);   // TextEdit.NoWrap
        QCOMPARE(memo->property("textFormat").toInt(), 0); // TextEdit.PlainText
        QCOMPARE(memo->property("readOnly").toBool(), false);
        QCOMPARE(s().rectOnPage(kPage, "Memo1").topLeft(), QPointF(18, 122));
        QCOMPARE(memo->parentItem()->parentItem()->parentItem()->size(), QSizeF(383, 81));
        QCOMPARE(s().item("ConnectDisconnect")->property("radius").toReal(), 3.0);
    }

    void logShowsItsNewestLine_data() {
        QTest::addColumn<bool>("pageOpenFirst");
        QTest::addRow("page open as the lines come") << true;
        QTest::addRow("page opened afterwards") << false;
    }

    void logShowsItsNewestLine() {
        QFETCH(bool, pageOpenFirst);
        if (pageOpenFirst)
            openPage();
        appendLogLines(1, 6);
        if (!pageOpenFirst)
            openPage();
        // Four lines fit the box: the sixth is in view, the first scrolled out of it.
        QVERIFY(logLineShown(5));
        QVERIFY(!logLineShown(0));
        QCOMPARE(text("Memo1").count('\n'), 5);
    }

    void logStaysWhereTheUserScrolledTo_data() {
        QTest::addColumn<bool>("cursorAtTheEnd");
        QTest::addRow("never typed in") << false;
        // Where the next line goes: the box must not scroll to show the cursor as it moves.
        QTest::addRow("cursor left at the end") << true;
    }

    void logStaysWhereTheUserScrolledTo() {
        QFETCH(bool, cursorAtTheEnd);
        openPage();
        appendLogLines(1, 6);
        if (cursorAtTheEnd) {
            pressItem(s().window(), "Memo1");
            QTest::keyClick(s().window(), Qt::Key_End, Qt::ControlModifier);
            pressItem(s().window(), "Edit3");
            QCOMPARE(s().item("Memo1")->property("cursorPosition").toInt(), text("Memo1").size());
        }
        QVERIFY(logLineShown(5));

        // A finger pulls the log down to its first line; the lines that come meanwhile do not
        // take the reader away from it.
        panLog(QPointF(0, 200));
        QVERIFY(logLineShown(0));
        const QPointF readingAt = logScroll();
        appendLogLines(7, 8);
        QCOMPARE(logScroll(), readingAt);
        QVERIFY(logLineShown(0));
        QVERIFY(!logLineShown(7));

        // Pushed back up to the end, the log follows its newest line again.
        panLog(QPointF(0, -400));
        QVERIFY(logLineShown(7));
        appendLogLines(9, 9);
        QVERIFY(logLineShown(8));
        QVERIFY(!s().item("Memo1")->hasActiveFocus());
    }

    // The box draws only the lines in view; those scrolled into view must be drawn then, from
    // the newest line of a long log back to its first.
    void logLinesScrolledIntoViewAreDrawn() {
        openPage();
        appendLogLines(1, 60);
        QQuickItem *view = logView();
        auto inkInView = [&] {
            QTest::qWait(50);
            const QImage shot = s().window()->grabWindow();
            const QRectF box = view->mapRectToScene(QRectF(0, 0, view->width(), view->height()));
            const qreal dpr = shot.devicePixelRatio();
            int ink = 0;
            for (int y = int(box.top() * dpr) + 2; y < int(box.bottom() * dpr) - 2; ++y) {
                for (int x = int(box.left() * dpr) + 2; x < int(box.right() * dpr) - 12; ++x)
                    ink += qGray(shot.pixel(x, y)) < 128;
            }
            return ink;
        };
        QVERIFY(logLineShown(59));
        QVERIFY2(inkInView() > 100, "the newest lines");
        // A finger pulls the log down a little, then it is scrolled on to its middle and its
        // first line.
        panLog(QPointF(0, 60));
        QVERIFY(!logLineShown(59));
        QVERIFY2(inkInView() > 100, "lines just above the newest");
        const qreal bottom = view->property("contentHeight").toReal() - view->height();
        view->setProperty("contentY", bottom / 2);
        QVERIFY(!logLineShown(0) && !logLineShown(59));
        QVERIFY2(inkInView() > 100, "lines in the middle");
        view->setProperty("contentY", 0);
        QVERIFY(logLineShown(0));
        QVERIFY2(inkInView() > 100, "the first lines");
    }

    void logScrollBarOnceTallerThanTheBox_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("barShown");
        QTest::addRow("one line") << 1 << false;
        QTest::addRow("four lines, as many as the box holds") << 4 << false;
        QTest::addRow("five lines") << 5 << true;
        QTest::addRow("twelve lines") << 12 << true;
    }

    void logScrollBarOnceTallerThanTheBox() {
        QFETCH(int, lines);
        QFETCH(bool, barShown);
        openPage();
        appendLogLines(1, lines);
        QQuickItem *view = logView();
        QCOMPARE(view->property("contentHeight").toReal() > view->height(), barShown);
        // The bar stays in sight while the log is taller, not only while it moves.
        QQuickItem *bar = s().item("Memo1VerticalBar");
        QVERIFY(bar);
        QQuickItem *handle = bar->property("contentItem").value<QQuickItem *>();
        QCOMPARE(bar->isVisible() && bar->property("size").toReal() < 1 && handle->opacity() > 0,
                 barShown);
        QCOMPARE(int(bar->property("orientation").toInt()), int(Qt::Vertical));
        // The bar's share of its length is the share of the log in view.
        if (barShown)
            QCOMPARE(bar->property("size").toReal(),
                     view->height() / view->property("contentHeight").toReal());
    }

    void longLogLineStaysUnwrappedAndPansSideways() {
        openPage();
        const QString wide = QString("Client connected with server ").repeated(6);
        s().client->fields()->appendLogLine(wide);
        appendLogLines(1, 1);
        QQuickItem *memo = s().item("Memo1");
        QCOMPARE(memo->property("lineCount").toInt(), 2);
        QVERIFY(logView()->property("contentWidth").toReal() > logView()->width());
        QCOMPARE(logScroll().x(), 0.0);
        panLog(QPointF(-150, 0));
        QVERIFY(logScroll().x() > 0);
        QCOMPARE(text("Memo1"), wide + "\nClient connected with server 1");
    }

    void logKeepsStillWhileTheUserTypes() {
        openPage();
        appendLogLines(1, 6);
        // A tap in the box puts the cursor on a line in view; the user types there.
        pressItem(s().window(), "Memo1");
        QVERIFY(s().item("Memo1")->hasActiveFocus());
        typeText("abc");
        const QPointF typingAt = logScroll();
        const QString typed = text("Memo1");
        QVERIFY(typed.contains("abc"));

        // A line appended meanwhile neither moves the box nor the cursor: typing goes on where
        // it was, and the line comes after everything.
        appendLogLines(7, 7);
        QCOMPARE(logScroll(), typingAt);
        typeText("d");
        QCOMPARE(text("Memo1"),
                 QString(typed).replace("abc", "abcd") + "\nClient connected with server 7");
        QCOMPARE(s().client->fields()->log(), text("Memo1"));
    }

    void openingAndLeavingChangesNothing() {
        ClientFields *f = s().client->fields();
        f->setHost("qs-editor.lan");
        f->setPort("6001");
        f->setScreenOn(false);
        f->appendLogLine("Client connected with server");
        const QStringList before = snapshot();

        openPage();
        QCOMPARE(snapshot(), before);
        pressItem(s().window(), "Button4");
        QCOMPARE(s().visiblePages(), QStringList{"Panel1"});
        QCOMPARE(snapshot(), before);
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().boxTexts.isEmpty());
    }

    void typedLogLineStaysAndGoesNowhere() {
        ClientFields *f = s().client->fields();
        f->appendLogLine("Client connected with server");
        QVERIFY(s().client->saveSettingsForClose());
        const QByteArray savedBefore = TestFiles::read(iniPath());
        QVERIFY(!savedBefore.isEmpty());

        openPage();
        pressItem(s().window(), "Memo1");
        QVERIFY(s().item("Memo1")->hasActiveFocus());
        QTest::keyClick(s().window(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(s().window(), Qt::Key_Return);
        typeText("typed by hand");
        QCOMPARE(text("Memo1"), QString("Client connected with server\ntyped by hand"));

        // A later line of the program comes after what was typed.
        f->appendLogLine("Client connected with server");
        QCOMPARE(
            text("Memo1"),
            QString("Client connected with server\ntyped by hand\nClient connected with server"));

        // Never sent, never saved.
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().client->saveSettingsForClose());
        QCOMPARE(TestFiles::read(iniPath()), savedBefore);
        QVERIFY(!TestFiles::read(iniPath()).contains("typed"));
    }

    void connectDisconnectUsesTheAddressAndLogsAfterTypedText() {
        QTcpServer editor;
        QVERIFY(editor.listen(QHostAddress::LocalHost, 0));
        ClientFields *f = s().client->fields();
        openPage();
        pressItem(s().window(), "Memo1");
        typeText("note");

        // The address typed on the page is the one connected to.
        for (const char *name : {"Edit2", "Edit3"}) {
            pressItem(s().window(), name);
            QTest::keyClick(s().window(), Qt::Key_A, Qt::ControlModifier);
            typeText(qPrintable(QString(name) == "Edit2" ? QString("127.0.0.1")
                                                         : QString::number(editor.serverPort())));
        }
        pressItem(s().window(), "ConnectDisconnect");
        QTRY_VERIFY(editor.hasPendingConnections());
        QCOMPARE(text("Memo1"), QString("note\nClient connected with server"));
        QVERIFY(s().client->indicatorConnected());

        pressItem(s().window(), "ConnectDisconnect");
        QTRY_VERIFY(!s().client->indicatorConnected());
        QCOMPARE(text("Memo1"),
                 QString("note\nClient connected with server\nClient disconnected from server"));
        QCOMPARE(f->log(), text("Memo1"));
        QVERIFY(s().boxTexts.isEmpty());
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    void typedAddressGoesToTheFieldsAndDiscoveryReplacesIt_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("host") << "Edit2";
        QTest::newRow("port") << "Edit3";
    }

    void typedAddressGoesToTheFieldsAndDiscoveryReplacesIt() {
        QFETCH(QString, field);
        ClientFields *f = s().client->fields();
        auto value = [&] { return field == "Edit2" ? f->host() : f->port(); };
        openPage();
        pressItem(s().window(), field);
        QTest::keyClick(s().window(), Qt::Key_A, Qt::ControlModifier);
        typeText("77");
        QCOMPARE(text(field), QString("77"));
        QCOMPARE(value(), QString("77"));

        // An answer of discovery while the user is still in the field replaces the text.
        if (field == "Edit2")
            f->setHost("10.0.0.9");
        else
            f->setPort("6123");
        QCOMPARE(text(field), value());
        QVERIFY(s().item(field)->hasActiveFocus());
        // And typing goes on from the new text.
        typeText("1");
        QCOMPARE(text(field), value());
        QVERIFY(value().endsWith('1'));
        QVERIFY(s().link.lines.isEmpty());
    }

    void screenOnChangesOnlyWhatIsSaved() {
        openPage();
        const QString memoBefore = text("Memo1");
        pressItem(s().window(), "ScreenOn");
        QCOMPARE(s().item("ScreenOn")->property("checked").toBool(), false);
        QCOMPARE(s().client->fields()->screenOn(), false);
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QCOMPARE(text("Memo1"), memoBefore);
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().client->saveSettingsForClose());
        QVERIFY(TestFiles::read(iniPath()).contains("ScreenOn=0"));
    }

    void focusOrder() {
        const QStringList order{"Memo1",   "Edit3",   "Edit2", "ConnectDisconnect",
                                "Button4", "ScreenOn"};
        openPage();

        s().item("Memo1")->forceActiveFocus();
        for (int i = 1; i <= order.size(); ++i) {
            QTest::keyClick(s().window(), Qt::Key_Tab);
            QCOMPARE(s().window()->activeFocusItem()->objectName(), order[i % order.size()]);
        }
        for (int i = order.size() - 1; i >= 0; --i) {
            QTest::keyClick(s().window(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(s().window()->activeFocusItem()->objectName(), order[i]);
        }
        // Tab moves on from the log instead of typing into it.
        QCOMPARE(text("Memo1"), QString());
    }
};

QTEST_MAIN(ScenePagesSettingsTest)
#include "tst_scene_pages_settings.moc"
