// The signs keep the shape they are drawn in on every window: the pages stretch to the window
// unevenly, but each sign, caption and arrow is drawn at one scale across and down, inside its
// button. Measured on the window as drawn, as the user sees it: the ink of a sample of tiles on
// each page, its width over its height.
#include "SceneTest.h"

#include <QHash>
#include <QImage>
#include <QQuickItem>
#include <QtTest>

namespace {

int distance(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

// The ink of a sign on its tile. The tile is the largest run of one colour inside the button's
// rectangle, joined across and down: its box bounds where the sign may lie. The ink is what
// differs from that colour within the box, less its rounded corners; its edges are counted in
// fractions of a pixel by how strongly their pixels are inked, so that a sign a few pixels high
// is measured as closely as a large one.
struct Ink {
    QRectF box;
    QRect tile;
    // Whether the ink covers an edge of the tile's box, which a sign that stays on its tile never
    // does.
    bool touches = false;
};

Ink inkIn(const QImage &image, const QRectF &button) {
    const QRect area = button.toAlignedRect() & image.rect();
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

    // The largest joined run of the ground colour.
    const int w = area.width(), h = area.height();
    QList<int> label(w * h, -1);
    QRect tile;
    qsizetype tileSize = 0;
    for (int start = 0; start < w * h; ++start) {
        if (label[start] >= 0 || image.pixel(area.x() + start % w, area.y() + start / w) != ground)
            continue;
        QList<int> stack{start};
        label[start] = start;
        QRect box;
        qsizetype size = 0;
        while (!stack.isEmpty()) {
            const int at = stack.takeLast();
            const int x = at % w, y = at / w;
            box |= QRect(area.x() + x, area.y() + y, 1, 1);
            ++size;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto &n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h)
                    continue;
                const int i = n[1] * w + n[0];
                if (label[i] < 0 && image.pixel(area.x() + n[0], area.y() + n[1]) == ground) {
                    label[i] = start;
                    stack.append(i);
                }
            }
        }
        if (size > tileSize) {
            tileSize = size;
            tile = box;
        }
    }

    Ink ink;
    ink.tile = tile;
    if (tile.isEmpty())
        return ink;
    // The tile's rounded corners show what lies beside it.
    const int corner = qMax(2, qRound(qMin(tile.width(), tile.height()) * 0.2));
    auto inCorner = [&](int x, int y) {
        const bool side = x < tile.left() + corner || x > tile.right() - corner;
        const bool end = y < tile.top() + corner || y > tile.bottom() - corner;
        return side && end;
    };
    // How strongly each column and row is inked: 1 where a pixel is fully the sign's colour.
    // Where the tile's edge falls between two pixels, a pixel of its outline may lie on the edge
    // of its box, a line one pixel thick: a pixel there is the sign's only where the ink goes on
    // inwards.
    constexpr int kFull = 150;
    auto strength = [&](int x, int y) {
        return inCorner(x, y) ? 0.0
                              : qMin(1.0, distance(image.pixel(x, y), ground) / double(kFull));
    };
    QList<double> columns(tile.width(), 0), rows(tile.height(), 0);
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        for (int x = tile.left(); x <= tile.right(); ++x) {
            const double here = strength(x, y);
            if (here < 0.25)
                continue;
            const int inX = x == tile.left() ? x + 1 : x == tile.right() ? x - 1 : x;
            const int inY = y == tile.top() ? y + 1 : y == tile.bottom() ? y - 1 : y;
            if ((inX != x || inY != y) && strength(inX, inY) < 0.25)
                continue;
            double &column = columns[x - tile.left()];
            double &row = rows[y - tile.top()];
            column = qMax(column, here);
            row = qMax(row, here);
        }
    }
    auto extent = [](const QList<double> &strengths, double *from, double *to) {
        qsizetype first = 0, last = strengths.size() - 1;
        while (first <= last && strengths[first] == 0)
            ++first;
        while (last >= first && strengths[last] == 0)
            --last;
        if (first > last)
            return false;
        *from = first + 1 - strengths[first];
        *to = last + strengths[last];
        return true;
    };
    double left, right, top, bottom;
    if (!extent(columns, &left, &right) || !extent(rows, &top, &bottom))
        return ink;
    ink.box = QRectF(tile.left() + left, tile.top() + top, right - left, bottom - top);
    // A sign a few pixels high may come within a faint pixel of its tile's edge; one that spills
    // over it inks the edge fully.
    auto inked = [](double strength) { return strength >= 0.75; };
    ink.touches = inked(columns.first()) || inked(columns.last()) || inked(rows.first()) ||
                  inked(rows.last());
    return ink;
}

// A tile of a page: the view it is shown in, the button over it, and the width over the height of
// its ink as drawn at the design size, 415 by 710. A caption's letters are fitted to the pixels at
// each size they are drawn at, a little wider or narrower at some: it is given 10 % more slack.
struct Sample {
    const char *view;
    const char *button;
    double designShape;
    bool caption = false;
};

const Sample kSamples[] = {
    // The keyboard page: signs of its groups, a number, a letter of the letter row, a mode key,
    // a tool column icon.
    {"Panel1", "k1", 1.643},
    {"Panel1", "x10", 1.000},
    {"Panel1", "a6", 2.583},
    {"Panel1", "c2", 2.778},
    {"Panel1", "m2", 1.052},
    {"Panel1", "xr16", 2.727},
    {"Panel1", "sa1", 1.160},
    {"Panel1", "off", 1.000},
    // A pop-up group.
    {"Panelfthores", "ft6", 0.833},
    {"Panelfthores", "ft14", 1.047},
    // The signatures page: signatures, the mode strip, a mode tab's caption.
    {"Panelmartyries", "ark1", 1.597},
    {"Panelmartyries", "ark5", 1.478},
    {"Panelmartyries", "mh3", 1.300},
    {"Panelmartyries", "mh7", 2.722},
    {"Panelmartyries", "hx1", 1.067, true},
    // The cursor page: the arrow keys, a large arrow, the return button's caption.
    {"Panel4", "SpeedButton7", 1.290},
    {"Panel4", "SpeedButton8", 0.775},
    {"Panel4", "moveL", 1.000},
    {"Panel4", "Button3", 4.376, true},
    // The settings page: a button's caption.
    {"Panel5", "ConnectDisconnect", 11.100, true},
};

} // namespace

class SceneSignShapeTest : public SceneTest {
    Q_OBJECT

public:
    SceneSignShapeTest()
        : SceneTest({PageScene::Boxes::AnsweredWithOk, PageScene::kRestoredSize, true}) {}

private:
    void show(const QString &view) {
        Pages *pages = client()->pages();
        if (view == QLatin1String("Panelmartyries")) {
            pages->showSignaturesPage();
        } else if (view == QLatin1String("Panel4")) {
            pages->showCursorPage();
        } else if (view == QLatin1String("Panel5")) {
            pages->showSettingsPage();
        } else {
            pages->showKeyboardPage();
            if (view == QLatin1String("Panelfthores"))
                client()->press(QStringLiteral("enallagifthores"));
        }
    }

    // Whether every shown picture has been drawn at the size it is shown at: pictures are read
    // off the user-interface thread, each time their size changes.
    static bool picturesDrawn(const QQuickItem *item) {
        if (!item->isVisible())
            return true;
        if (item->inherits("QQuickImageBase") && !item->property("source").toUrl().isEmpty()) {
            const QSize wanted = item->property("sourceSize").toSize();
            if (item->property("status").toInt() != 1 || // Image.Ready
                qAbs(item->implicitWidth() - wanted.width()) > 1 ||
                qAbs(item->implicitHeight() - wanted.height()) > 1)
                return false;
        }
        const QList<QQuickItem *> children = item->childItems();
        return std::all_of(children.cbegin(), children.cend(),
                           [](const QQuickItem *child) { return picturesDrawn(child); });
    }

private slots:
    void signsKeepTheirShape_data() {
        QTest::addColumn<QSize>("windowSize");
        for (const QSize size : {QSize(415, 710), QSize(769, 816), QSize(1920, 1200),
                                 QSize(1200, 1920), QSize(2560, 1600), QSize(800, 480)}) {
            QTest::addRow("%dx%d", size.width(), size.height()) << size;
        }
    }

    void signsKeepTheirShape() {
        QFETCH(QSize, windowSize);
        QVERIFY(s().resizeTo(windowSize));
        // The pointer on the window's last pixel, where no page has a button, so that none is
        // drawn in its hover look.
        QTest::mouseMove(window(), QPoint(windowSize.width() - 1, windowSize.height() - 1));
        QString shown;
        QImage image;
        for (const Sample &sample : kSamples) {
            const QString view = QString::fromLatin1(sample.view);
            const QString button = QString::fromLatin1(sample.button);
            if (view != shown) {
                show(view);
                shown = view;
                QTRY_VERIFY(picturesDrawn(window()->contentItem()));
                image = window()->grabWindow();
            }
            const Target target = s().target(button);
            QVERIFY2(target && target.isVisible(), sample.button);
            const QRectF rect = target.rectIn(window()->contentItem());
            const Ink ink = inkIn(image, rect);
            QVERIFY2(!ink.box.isEmpty(), sample.button);
            const double shape = ink.box.width() / ink.box.height();
            // Three quarters of a pixel at either end of the ink's smaller side, where the edges
            // of a sign a few pixels high fall differently on the pixels, and 5 % besides.
            const double slack =
                0.05 + 1.5 / qMin(ink.box.width(), ink.box.height()) + (sample.caption ? 0.10 : 0);
            qDebug("%s %s shape %.3f ink %.1f x %.1f", sample.view, sample.button, shape,
                   ink.box.width(), ink.box.height());
            QVERIFY2(qAbs(shape / sample.designShape - 1) <= slack,
                     qPrintable(QStringLiteral("%1: ink %2 x %3, shape %4 instead of %5")
                                    .arg(button)
                                    .arg(ink.box.width())
                                    .arg(ink.box.height())
                                    .arg(shape)
                                    .arg(sample.designShape)));
            // The tile lies on the button, and the ink within the tile, clear of its edges.
            QVERIFY2(rect.toAlignedRect().contains(ink.tile), sample.button);
            QVERIFY2(!ink.touches,
                     qPrintable(QStringLiteral("%1 reaches the edge of its tile").arg(button)));
        }
    }
};

QTEST_MAIN(SceneSignShapeTest)
#include "tst_scene_sign_shape.moc"
