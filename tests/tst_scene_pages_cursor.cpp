#include "MessageTexts.h"
#include "SceneTest.h"

#include <QQuickItem>
#include <QTest>

namespace {

const QString kPage = QStringLiteral("Panel4");

} // namespace

class ScenePagesCursorTest : public SceneTest {
    Q_OBJECT

public:
    ScenePagesCursorTest()
        : SceneTest({PageScene::Boxes::AnsweredWithOk, PageScene::kRestoredSize, true}) {}

private:
    void openPage() {
        pressItem(s().window(), "move_client");
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QCOMPARE(s().link.lines, QStringList{"sent move_client"});
        s().link.lines.clear();
    }

private slots:

    void layoutOfThePage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("rect");

        QTest::newRow("Button3") << "Button3" << QRectF(17, 567, 384, 66);
        QTest::newRow("ImageControl2") << "ImageControl2" << QRectF(25, 353, 104, 96);
        QTest::newRow("ImageControl3") << "ImageControl3" << QRectF(273, 353, 104, 96);
        QTest::newRow("moveL") << "moveL" << QRectF(24, 352, 105, 97);
        QTest::newRow("moveR") << "moveR" << QRectF(280, 344, 105, 97);
        // The arrow keys as drawn: twice their 48 by 48 about their top-left corners.
        QTest::newRow("SpeedButton7") << "SpeedButton7" << QRectF(157, 16, 96, 96);
        QTest::newRow("SpeedButton8") << "SpeedButton8" << QRectF(256, 112, 96, 96);
        QTest::newRow("SpeedButton9") << "SpeedButton9" << QRectF(155, 206, 96, 96);
        QTest::newRow("SpeedButton10") << "SpeedButton10" << QRectF(56, 112, 96, 96);
    }

    void layoutOfThePage() {
        QFETCH(QString, name);
        QFETCH(QRectF, rect);
        QVERIFY(s().item(name));
        QCOMPARE(s().rectOnPage(kPage, name), rect);
        QCOMPARE(s().item(kPage)->width(), 409.0);
        QCOMPARE(s().item("Button3")->property("text").toString(), QString("Επιστροφή"));
    }

    void arrowPicturesFitTheirBoxes_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("left") << "ImageControl2";
        QTest::newRow("right") << "ImageControl3";
    }

    void arrowPicturesFitTheirBoxes() {
        QFETCH(QString, name);
        QQuickItem *picture = s().item(name + "Picture");
        QVERIFY(picture);
        QQuickItem *image = PageScene::imageOf(picture);
        QVERIFY(image);
        // Not read while the page is hidden.
        QCOMPARE(picture->property("status").toInt(), 0);
        openPage();
        // Pictures are read off the user-interface thread.
        QTRY_COMPARE(picture->property("status").toInt(), 1);
        // Square pictures keep their proportions inside the framed 104 by 96 box, centred.
        const qreal w = image->property("paintedWidth").toReal();
        const qreal h = image->property("paintedHeight").toReal();
        QCOMPARE(w, h);
        QVERIFY(w > 80 && w <= 96);
        const QRectF box = s().rectOnPage(kPage, name);
        const QRectF area = s().rectOnPage(kPage, name + "Picture");
        QVERIFY(box.contains(area));
        QCOMPARE(area.center(), box.center());
    }

    void arrowKeyTakesPressesOnItsEnlargedDrawing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QPointF>("topLeft");

        QTest::newRow("up") << "SpeedButton7" << QPointF(157, 16);
        QTest::newRow("right") << "SpeedButton8" << QPointF(256, 112);
        QTest::newRow("down") << "SpeedButton9" << QPointF(155, 206);
        QTest::newRow("left") << "SpeedButton10" << QPointF(56, 112);
    }

    void arrowKeyTakesPressesOnItsEnlargedDrawing() {
        QFETCH(QString, key);
        QFETCH(QPointF, topLeft);
        openPage();
        // Inside the 48 by 48 layout rectangle, and near the bottom-right corner of the 96 by
        // 96 drawing, well outside it.
        s().pressOnPage(kPage, topLeft + QPointF(24, 24));
        s().pressOnPage(kPage, topLeft + QPointF(90, 90));
        QCOMPARE(s().link.lines, (QStringList{"sent " + key, "sent " + key}));
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QVERIFY(s().boxTexts.isEmpty());
    }

    // The arrow pad is drawn at twice its layout size and then at the window's scales: its
    // arrows are read at that final size, so that they stay sharp in a large window.
    void arrowPadIsReadAtItsShownSize_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("quarterTurned");
        QTest::addColumn<QSize>("windowSize");

        for (const QSize size : {QSize(769, 816), QSize(1920, 1200)}) {
            const QByteArray at =
                QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTest::addRow("up %s", at.constData()) << "SpeedButton7" << false << size;
            QTest::addRow("right %s", at.constData()) << "SpeedButton8" << true << size;
            QTest::addRow("down %s", at.constData()) << "SpeedButton9" << false << size;
            QTest::addRow("left %s", at.constData()) << "SpeedButton10" << true << size;
        }
    }

    void arrowPadIsReadAtItsShownSize() {
        QFETCH(QString, key);
        QFETCH(bool, quarterTurned);
        QFETCH(QSize, windowSize);
        QVERIFY(s().resizeTo(windowSize));
        openPage();
        QQuickItem *arrow = PageScene::imageOf(s().item(key + "Arrow"));
        QVERIFY(arrow);
        QTRY_COMPARE(arrow->property("status").toInt(), 1);

        const qreal dpr = s().window()->effectiveDevicePixelRatio();
        QRectF shown = arrow->mapRectToScene(QRectF(0, 0, arrow->width(), arrow->height()));
        shown = QRectF(shown.topLeft() * dpr, shown.size() * dpr);
        QSizeF along = shown.size();
        if (quarterTurned)
            along.transpose();
        const QSize read = arrow->property("sourceSize").toSize();
        QVERIFY2(qAbs(read.width() - along.width()) < 1 && qAbs(read.height() - along.height()) < 1,
                 qPrintable(QStringLiteral("read at %1 x %2, shown at %3 x %4")
                                .arg(read.width())
                                .arg(read.height())
                                .arg(along.width())
                                .arg(along.height())));
        // Much larger than the 48-unit key it lies in, and centred in its enlarged drawing.
        QVERIFY(shown.width() > 48 * 2);
        const QRectF keyShown = s().item(key)->mapRectToScene(QRectF(0, 0, 48, 48));
        QVERIFY(qAbs(shown.center().x() / dpr - keyShown.center().x()) < 0.5);
        QVERIFY(qAbs(shown.center().y() / dpr - keyShown.center().y()) < 0.5);
    }

    void largeArrowsSendTheToolColumnWords_data() {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QString>("word");

        QTest::newRow("moveL centre") << QPointF(24 + 52, 352 + 48) << "SpeedButton25";
        QTest::newRow("moveR centre") << QPointF(280 + 52, 344 + 48) << "SpeedButton31";
        // The strips of moveR beyond its picture press like the rest of it.
        QTest::newRow("moveR above the picture") << QPointF(330, 348) << "SpeedButton31";
        QTest::newRow("moveR right of the picture") << QPointF(381, 400) << "SpeedButton31";
    }

    void largeArrowsSendTheToolColumnWords() {
        QFETCH(QPointF, point);
        QFETCH(QString, word);
        KeyboardState &keyboard = *s().client->keyboard();
        PageScene::openEverySecondSet(*s().client);
        const QStringList before = keyboard.shownPanels();
        openPage();
        s().pressOnPage(kPage, point);
        QCOMPARE(s().link.lines, QStringList{"sent " + word});
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        // Unlike the tool column's own cursor keys, the keyboard page keeps its sets.
        QCOMPARE(keyboard.shownPanels(), before);
    }

    void uncoveredPartsOfTheRightArrowDoNothing_data() {
        QTest::addColumn<QPointF>("point");
        QTest::newRow("lower left") << QPointF(275, 445);
        QTest::newRow("left strip") << QPointF(276, 380);
        QTest::newRow("bottom strip") << QPointF(330, 446);
    }

    void uncoveredPartsOfTheRightArrowDoNothing() {
        QFETCH(QPointF, point);
        openPage();
        s().pressOnPage(kPage, point);
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().boxTexts.isEmpty());
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    void aVisitSendsMoveClientTwiceReadingOneAnswer() {
        pressItem(s().window(), "move_client");
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        pressItem(s().window(), "Button3");
        QCOMPARE(s().visiblePages(), QStringList{"Panel1"});
        // One word sent with its answer read, one line written without one.
        QCOMPARE(s().link.lines, (QStringList{"sent move_client", "written move_client"}));
        QVERIFY(s().boxTexts.isEmpty());
    }

    void leavingWithoutConnectionShowsTheKeyboardPageFirst() {
        openPage();
        s().link.writable = false;
        QStringList pageWhileBoxOpen;
        QObject::connect(&s().boxes, &QuickMessageBoxes::openTextsChanged, &s().boxes,
                         [this, &pageWhileBoxOpen] {
                             if (!s().boxes.openTexts().isEmpty())
                                 pageWhileBoxOpen = s().visiblePages();
                         });
        pressItem(s().window(), "Button3");
        QTRY_COMPARE(s().boxTexts, QStringList{MessageTexts::kRefused});
        QCOMPARE(pageWhileBoxOpen, QStringList{"Panel1"});
        QCOMPARE(s().visiblePages(), QStringList{"Panel1"});
        QCOMPARE(s().link.lines, QStringList{"written move_client"});
    }
};

QTEST_MAIN(ScenePagesCursorTest)
#include "tst_scene_pages_cursor.moc"
