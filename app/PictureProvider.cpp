#include "app/PictureProvider.h"

#include "base/WindowLayout.h"

#include <QFile>
#include <QPainter>
#include <QRunnable>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtMath>

namespace {

const QString kSignPrefix = QStringLiteral("sign-");

QString number(qreal value) {
    return QString::number(value, 'f', 3);
}

// How much wider than drawn a group's signs are shown at the design size: the stretch of the
// group whose picture it is (its signs are drawn narrower by as much), else 1.
qreal signStretch(const QString &picture) {
    const WindowLayout &layout = WindowLayout::standard();
    for (const QString &page : layout.pageNames()) {
        for (const LayoutMember *member : layout.members(page)) {
            if (member->kind == QLatin1String("group") && member->image == picture)
                return member->stretch;
        }
    }
    return 1;
}

// A picture of sign tiles split in two: its tiles and ground, stretched to the picture's
// rectangle as the page is, and its signs, each drawn on its own at one scale across and down.
// The tiles carry their rect, corner radii and outline (data-tile), so that at any stretch their
// corners stay round and their outlines as thick at the sides as at the top.
struct PictureLayers {
    QStringList signs;
    QByteArray tiles;

    // The picture's SVG text as the layers to draw into `pixels`, the scales being from the
    // picture's units to pixels across and down.
    static PictureLayers read(const QByteArray &svg, qreal kx, qreal ky, QSize pixels);
};

// A rounded rectangle as SVG path data, each corner with its own radius.
QString roundedRect(const QRectF &r, const qreal radii[4]) {
    const qreal tl = radii[0], tr = radii[1], br = radii[2], bl = radii[3];
    auto arc = [](qreal radius, qreal x, qreal y) {
        return radius > 0
                   ? QStringLiteral("A%1 %1 0 0 1 %2 %3").arg(number(radius), number(x), number(y))
                   : QString();
    };
    return QStringLiteral("M%1 %2H%3%4V%5%6H%7%8V%9%10Z")
        .arg(number(r.left() + tl), number(r.top()), number(r.right() - tr),
             arc(tr, r.right(), r.top() + tr), number(r.bottom() - br),
             arc(br, r.right() - br, r.bottom()), number(r.left() + bl),
             arc(bl, r.left(), r.bottom() - bl), number(r.top() + tl),
             arc(tl, r.left() + tl, r.top()));
}

// One tile in pixels: its outer edge, outline included, where the stretched picture puts it;
// its outline and corner radii scaled as the signs are.
void writeTile(QXmlStreamReader &reader, QXmlStreamWriter &writer, qreal kx, qreal ky) {
    const QXmlStreamAttributes attributes = reader.attributes();
    const QStringList data =
        attributes.value(QStringLiteral("data-tile")).toString().split(QLatin1Char(' '));
    const qreal stroke = attributes.hasAttribute(QStringLiteral("stroke"))
                             ? attributes.value(QStringLiteral("stroke-width")).toDouble()
                             : 0;
    const qreal k = qMin(kx, ky);
    qreal v[8] = {};
    for (int i = 0; i < 8 && i < data.size(); ++i)
        v[i] = data[i].toDouble();
    const QRectF outer(v[0] - stroke / 2, v[1] - stroke / 2, v[2] + stroke, v[3] + stroke);
    const QRectF scaled(outer.x() * kx, outer.y() * ky, outer.width() * kx, outer.height() * ky);
    const qreal half = stroke * k / 2;
    const QRectF drawn = scaled.adjusted(half, half, -half, -half);
    qreal radii[4];
    for (int i = 0; i < 4; ++i)
        radii[i] = qMin(v[4 + i] * k, qMin(drawn.width(), drawn.height()) / 2);
    writer.writeStartElement(QStringLiteral("path"));
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QString name = attribute.qualifiedName().toString();
        if (name == QLatin1String("d") || name == QLatin1String("data-tile"))
            continue;
        if (name == QLatin1String("stroke-width"))
            writer.writeAttribute(name, number(stroke * k));
        else
            writer.writeAttribute(name, attribute.value().toString());
    }
    writer.writeAttribute(QStringLiteral("d"), roundedRect(drawn, radii));
    writer.writeEndElement();
    reader.skipCurrentElement();
}

// The element the reader stands at, with all it holds.
void copyElement(QXmlStreamReader &reader, QXmlStreamWriter &writer) {
    int depth = 0;
    do {
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement())
            --depth;
        writer.writeCurrentToken(reader);
    } while (depth > 0 && !reader.atEnd() && (reader.readNext(), true));
}

PictureLayers PictureLayers::read(const QByteArray &svg, qreal kx, qreal ky, QSize pixels) {
    PictureLayers layers;
    QXmlStreamReader reader(svg);
    reader.setNamespaceProcessing(false);
    QXmlStreamWriter writer(&layers.tiles);
    writer.writeStartDocument();
    if (!reader.readNextStartElement())
        return {};
    writer.writeStartElement(QStringLiteral("svg"));
    writer.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/2000/svg"));
    writer.writeAttribute(QStringLiteral("viewBox"),
                          QStringLiteral("0 0 %1 %2").arg(pixels.width()).arg(pixels.height()));
    writer.writeAttribute(QStringLiteral("width"), QString::number(pixels.width()));
    writer.writeAttribute(QStringLiteral("height"), QString::number(pixels.height()));
    // Whatever is neither a tile nor a sign (the ground, the bands of the tool column) is
    // stretched with the picture, in runs.
    bool inStretched = false;
    auto endStretched = [&] {
        if (inStretched)
            writer.writeEndElement();
        inStretched = false;
    };
    while (reader.readNextStartElement()) {
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString id = attributes.value(QStringLiteral("id")).toString();
        if (reader.name() == QLatin1String("g") && id.startsWith(kSignPrefix)) {
            layers.signs.append(id);
            reader.skipCurrentElement();
        } else if (attributes.hasAttribute(QStringLiteral("data-tile"))) {
            endStretched();
            writeTile(reader, writer, kx, ky);
        } else if (reader.name() == QLatin1String("defs")) {
            endStretched();
            copyElement(reader, writer);
        } else {
            if (!inStretched) {
                writer.writeStartElement(QStringLiteral("g"));
                writer.writeAttribute(QStringLiteral("transform"),
                                      QStringLiteral("scale(%1 %2)").arg(number(kx), number(ky)));
                inStretched = true;
            }
            copyElement(reader, writer);
        }
    }
    endStretched();
    writer.writeEndDocument();
    if (reader.hasError())
        return {};
    return layers;
}

// One picture drawn on the pool; it tells its response when done. The response may be gone by
// then (the picture was no longer wanted): the connection goes with it.
class PictureDrawing : public QObject, public QRunnable {
    Q_OBJECT

public:
    PictureDrawing(QString name, QSize requestedSize)
        : m_name(std::move(name)), m_requestedSize(requestedSize) {}

    void run() override { emit drawn(PictureProvider::draw(m_name, m_requestedSize)); }

signals:
    void drawn(const QImage &image);

private:
    QString m_name;
    QSize m_requestedSize;
};

class PictureResponse : public QQuickImageResponse {
public:
    PictureResponse(const QString &name, QSize requestedSize, QThreadPool &pool) : m_name(name) {
        auto *drawing = new PictureDrawing(name, requestedSize);
        connect(drawing, &PictureDrawing::drawn, this, [this](const QImage &image) {
            m_image = image;
            emit finished();
        });
        pool.start(drawing);
    }

    QQuickTextureFactory *textureFactory() const override {
        return QQuickTextureFactory::textureFactoryForImage(m_image);
    }
    QString errorString() const override {
        return m_image.isNull() ? QStringLiteral("No picture %1 can be drawn").arg(m_name)
                                : QString();
    }

private:
    QString m_name;
    QImage m_image;
};

} // namespace

QQuickImageResponse *PictureProvider::requestImageResponse(const QString &name,
                                                           const QSize &requestedSize) {
    return new PictureResponse(name, requestedSize, *m_pool);
}

QImage PictureProvider::draw(const QString &name, QSize requestedSize, QSize *natural) {
    // Names are the pictures' own: nothing may reach outside their folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('.')))
        return {};
    const QString path = QStringLiteral(":/qt/qml/QsClient/assets/pictures/%1.svg").arg(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray svg = file.readAll();
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    const QSize own = renderer.defaultSize();
    if (natural)
        *natural = own;
    QSize drawn = own;
    const int w = requestedSize.width(), h = requestedSize.height();
    if (w > 0 && h > 0)
        drawn = requestedSize;
    else if (w > 0 && own.width() > 0)
        drawn = QSize(w, qCeil(qreal(own.height()) * w / own.width()));
    else if (h > 0 && own.height() > 0)
        drawn = QSize(qCeil(qreal(own.width()) * h / own.height()), h);
    const QRectF box = renderer.viewBoxF();
    if (drawn.isEmpty() || box.isEmpty())
        return {};
    QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const qreal kx = drawn.width() / box.width(), ky = drawn.height() / box.height();
    const PictureLayers layers = PictureLayers::read(svg, kx, ky, drawn);

    // A picture without signs is one drawing (an arrow, the indicator): at one scale, centred.
    if (layers.signs.isEmpty()) {
        const qreal k = qMin(kx, ky);
        QRectF target(0, 0, box.width() * k, box.height() * k);
        target.moveCenter(QRectF(QPointF(), QSizeF(drawn)).center());
        renderer.render(&painter, target);
        return image;
    }

    QSvgRenderer tiles(layers.tiles);
    tiles.render(&painter);
    // Each sign keeps the shape it has at the design size, where the picture is stretched by the
    // group's own stretch alone: as large as the tighter of the two scales allows, centred where
    // the stretched picture puts its centre, so that it stays on its button.
    const qreal stretch = signStretch(name);
    const qreal k = qMin(kx / stretch, ky);
    for (const QString &sign : layers.signs) {
        const QRectF bounds = renderer.boundsOnElement(sign);
        if (bounds.isEmpty())
            continue;
        QRectF target(0, 0, bounds.width() * k * stretch, bounds.height() * k);
        target.moveCenter(QPointF(bounds.center().x() * kx, bounds.center().y() * ky));
        renderer.render(&painter, sign, target);
    }
    return image;
}

#include "PictureProvider.moc"
