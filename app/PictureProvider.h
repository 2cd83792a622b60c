#pragma once

#include <QQuickImageProvider>

// The program's pictures (assets/pictures/<name>.svg) for image://pictures/<name>, drawn straight
// at the size asked for. The toolkit's own reading of an SVG file parses it once to learn its
// size and again to draw it; here each is parsed once, on the loader's thread when the picture
// is read asynchronously.
class PictureProvider : public QQuickImageProvider {
public:
    PictureProvider();

    // A name with no picture gives a null image, which the picture shows as its error.
    QImage requestImage(const QString &name, QSize *size, const QSize &requestedSize) override;
};
