#pragma once

#include <QElapsedTimer>
#include <QObject>

class QQuickItem;
class QQuickWindow;

// Ends the process once the window has shown a frame in which every visible picture under
// `content` had finished loading, and prints, before it exits, "<ms> <width>x<height> <boot ms>":
// the milliseconds since the process started as the system counts it (to a clock tick), the
// window's size, and the time of the frame on the system's boot-time clock, for a caller that
// took the time just before starting the process: the measure of start-up.
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
