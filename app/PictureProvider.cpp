#include "app/PictureProvider.h"

#include <QFile>
#include <QPainter>
#include <QRunnable>
#include <QSvgRenderer>
#include <QtMath>

namespace {

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
    return new PictureResponse(name, requestedSize, m_pool);
}

QImage PictureProvider::draw(const QString &name, QSize requestedSize, QSize *natural) {
    // Names are the pictures' own: nothing may reach outside their folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('.')))
        return {};
    const QString file = QStringLiteral(":/qt/qml/QsClient/assets/pictures/%1.svg").arg(name);
    if (!QFile::exists(file))
        return {};
    QSvgRenderer renderer(file);
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
    if (drawn.isEmpty())
        return {};
    QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

#include "PictureProvider.moc"
