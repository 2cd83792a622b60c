#pragma once

#include <QImage>
#include <QQuickAsyncImageProvider>
#include <QThreadPool>

// The program's pictures (assets/pictures/<name>.svg) for image://pictures/<name>, drawn straight
// at the size asked for. The toolkit's own reading of an SVG file parses it once to learn its
// size and again to draw it; here each is parsed once. They are drawn on a pool of threads, as
// many as there are cores, rather than one after the other on the toolkit's one reading thread:
// the keyboard page shows a dozen at start.
class PictureProvider : public QQuickAsyncImageProvider {
public:
    // Drawn on a pool of its own, or on one its owner keeps. The engine shares its providers with
    // the threads that read pictures, so a provider may outlive its window; the window's scene
    // keeps the pool and waits for it as it goes, so that no picture is still being drawn when
    // the application itself is taken down.
    PictureProvider() : m_pool(&m_ownPool) {}
    explicit PictureProvider(QThreadPool &pool) : m_pool(&pool) {}

    QQuickImageResponse *requestImageResponse(const QString &name,
                                              const QSize &requestedSize) override;

    // The picture drawn at the size asked for (both sides: stretched to them; one: the other in
    // proportion; none: as drawn), its own size in `natural`. A name that is no picture of the
    // program, or that reaches outside their folder, gives a null image.
    static QImage draw(const QString &name, QSize requestedSize, QSize *natural = nullptr);

private:
    QThreadPool m_ownPool;
    QThreadPool *m_pool;
};
