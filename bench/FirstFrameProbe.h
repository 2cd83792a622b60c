#pragma once

#include <QElapsedTimer>
#include <QObject>

class QQuickItem;
class QQuickWindow;

// Ends the process once the window has shown a frame in which every visible picture under
// `content` had finished loading, and prints the milliseconds since the process started (as the
// system counts it) and the window's size (as "<ms> <width>x<height>") before it exits: the
// measure of start-up.
class FirstFrameProbe : public QObject {
    Q_OBJECT

public:
    FirstFrameProbe(QQuickWindow *window, QQuickItem *content);

private:
    bool allPicturesReady() const;
    void onFrameSwapped();

    QQuickWindow *m_window;
    QQuickItem *m_content;
    bool m_readyBeforeFrame = false;
};
