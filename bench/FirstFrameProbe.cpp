#include "FirstFrameProbe.h"

#include <QCoreApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

double bootTimeMs() {
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    return boot.tv_sec * 1000.0 + boot.tv_nsec / 1e6;
}

// Milliseconds since this process was started, from the start time the kernel recorded (in clock
// ticks, so to 10 ms or so).
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), {});
    // The fields after the command name (which may hold spaces) start after its closing bracket;
    // the start time is field 22.
    std::istringstream rest(content.substr(content.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && rest >> field; ++i)
        if (i == 22)
            startTicks = std::stoull(field);
    return bootTimeMs() - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace

FirstFrameProbe::FirstFrameProbe(QQuickWindow *window, QQuickItem *content)
    : QObject(window), m_window(window), m_content(content) {
    connect(window, &QQuickWindow::frameSwapped, this, &FirstFrameProbe::onFrameSwapped,
            Qt::DirectConnection);
    // A frame is only drawn when something changed; ask for one as pictures come in.
    connect(window, &QQuickWindow::afterAnimating, this, [this] {
        if (!m_readyBeforeFrame)
            m_window->update();
    });
    window->update();
}

bool FirstFrameProbe::allPicturesReady() const {
    const auto items = m_content->findChildren<QQuickItem *>();
    for (QQuickItem *item : items) {
        if (!item->isVisible() || !item->inherits("QQuickImage"))
            continue;
        // 1 is Image.Ready; 3 is Image.Error, which counts as done for a missing file.
        const int status = item->property("status").toInt();
        if (status != 1 && status != 3)
            return false;
    }
    return true;
}

void FirstFrameProbe::onFrameSwapped() {
    if (m_readyBeforeFrame) {
        std::printf("%.3f %dx%d %.3f\n", msSinceProcessStart(), m_window->width(),
                    m_window->height(), bootTimeMs());
        std::fflush(stdout);
        QCoreApplication::exit(0);
        return;
    }
    // The next frame after every picture is in shows them all.
    m_readyBeforeFrame = allPicturesReady();
    m_window->update();
}
