// The signs keep the shape they are drawn in on every window: the pages stretch to the window
// unevenly, but each sign is drawn at one scale across and down, inside its button. Measured on
// the window as drawn: the ink of a sample of sign tiles on each page, its width over its height.
#include "PageScene.h"

#include <QHash>
#include <QImage>
#include <QtTest>

namespace {

// The ink of a sign: the bounding box of the pixels that differ from the tile's own colour (the
// commonest colour of the rectangle), within the button's rectangle less a rim where the
// neighbouring tiles and the tile's own outline lie. `touches` tells whether the ink reaches
// that rim, which a sign that stays within its button never does.
struct Ink {
    QRect box;
    bool touches = false;
};

Ink inkIn(const QImage &image, const QRectF &button) {
    const int rim = qMax(2, qRound(qMin(button.width(), button.height()) * 0.06));
    const QRect area = button.toAlignedRect().adjusted(rim, rim, -rim, -rim) & image.rect();
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    }
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int distance = qAbs(qRed(c) - qRed(ground)) + qAbs(qGreen(c) - qGreen(ground)) +
                                 qAbs(qBlue(c) - qBlue(ground));
            if (distance > 150)
                ink.box |= QRect(x, y, 1, 1);
        }
    }
    ink.touches = !ink.box.isEmpty() &&
                  (ink.box.left() <= area.left() || ink.box.top() <= area.top() ||
                   ink.box.right() >= area.right() || ink.box.bottom() >= area.bottom());
    return ink;
}

// A sample of sign tiles: the page, the button, and the width over the height of its ink as
// drawn at the design size, 415 by 710.
struct Sample {
    const char *page;
    const char *button;
    double designShape;
};

const Sample kSamples[] = {
    {"Panel1", "k1", 1.0},
    {"Panel1", "x10", 1.0},
    {"Panel1", "a6", 1.0},
    {"Panel1", "c2", 1.0},
    {"Panel1", "m2", 1.0},
    {"Panel1", "xr16", 1.0},
    {"Panel1", "sa1", 1.0},
    {"Panel1", "off", 1.0},
    {"Panelmartyries", "ark17", 1.0},
    {"Panelmartyries", "mh3", 1.0},
    {"Panel4", "SpeedButton7", 1.0},
    {"Panel4", "SpeedButton8", 1.0},
};

} // namespace

class SceneSignShapeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageScene> m_scene;
    PageScene &s() { return *m_scene; }

    void showPage(const QString &page) {
        Pages *pages = s().client->pages();
        if (page == QLatin1String("Panelmartyries"))
            pages->martyriesshowClick();
        else if (page == QLatin1String("Panel4"))
            pages->showCursorPage();
        else
            pages->showKeyboardPage();
    }

private slots:
    void init() {
        m_scene = std::make_unique<PageScene>();
        QVERIFY(s().showAtRestoredSize());
        s().buildEveryPage();
    }
    void cleanup() { m_scene.reset(); }

    void signsKeepTheirShape_data() {
        QTest::addColumn<QSize>("windowSize");
        for (const QSize size : {QSize(415, 710), QSize(769, 816), QSize(1920, 1200),
                                 QSize(1200, 1920), QSize(2560, 1600), QSize(800, 480)}) {
            QTest::addRow("%dx%d", size.width(), size.height()) << size;
        }
    }

    void signsKeepTheirShape() {
        QFETCH(QSize, windowSize);
        s().window()->resize(windowSize);
        QTRY_COMPARE(s().client->scaling()->sx(), float(windowSize.width() / 415.0));
        QTRY_COMPARE(s().client->scaling()->sy(), float(windowSize.height() / 710.0));
        QString shown;
        QImage image;
        for (const Sample &sample : kSamples) {
            const QString page = QString::fromLatin1(sample.page);
            if (page != shown) {
                showPage(page);
                shown = page;
                // Pictures are read off the user-interface thread when first shown at a size.
                QTest::qWait(400);
                image = s().window()->grabWindow();
            }
            const Target target = s().target(QString::fromLatin1(sample.button));
            QVERIFY2(target, sample.button);
            const QRectF rect = target.rectIn(s().window()->contentItem());
            const Ink ink = inkIn(image, rect);
            QVERIFY2(!ink.box.isEmpty(), sample.button);
            const double shape = double(ink.box.width()) / ink.box.height();
            // A pixel more or less on the ink's smaller side is all the slack there is.
            const double slack = 0.08 + 1.5 / qMin(ink.box.width(), ink.box.height());
            qDebug("%s %s %.3f box %dx%d", sample.page, sample.button, shape, ink.box.width(), ink.box.height());
            QVERIFY2(qAbs(shape / sample.designShape - 1) <= slack,
                     qPrintable(QStringLiteral("%1: ink %2 x %3, shape %4 instead of %5")
                                    .arg(QLatin1String(sample.button))
                                    .arg(ink.box.width())
                                    .arg(ink.box.height())
                                    .arg(shape)
                                    .arg(sample.designShape)));
            QVERIFY2(!ink.touches, qPrintable(QStringLiteral("%1 reaches out of its button")
                                                   .arg(QLatin1String(sample.button))));
        }
    }
};

QTEST_MAIN(SceneSignShapeTest)
#include "tst_scene_sign_shape.moc"
