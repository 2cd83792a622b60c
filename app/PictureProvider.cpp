#include "app/PictureProvider.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QtMath>

PictureProvider::PictureProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage PictureProvider::requestImage(const QString &name, QSize *size, const QSize &requestedSize) {
    // Names are the pictures' own: nothing may reach outside their folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('.')))
        return {};
    const QString file = QStringLiteral(":/qt/qml/QsClient/assets/pictures/%1.svg").arg(name);
    if (!QFile::exists(file))
        return {};
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return {};
    const QSize natural = renderer.defaultSize();
    if (size)
        *size = natural;
    // Both sides asked for: stretched to them; one: the other in proportion; none: as drawn.
    QSize drawn = natural;
    const int w = requestedSize.width(), h = requestedSize.height();
    if (w > 0 && h > 0)
        drawn = requestedSize;
    else if (w > 0 && natural.width() > 0)
        drawn = QSize(w, qCeil(qreal(natural.height()) * w / natural.width()));
    else if (h > 0 && natural.height() > 0)
        drawn = QSize(qCeil(qreal(natural.width()) * h / natural.height()), h);
    if (drawn.isEmpty())
        return {};
    QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}
