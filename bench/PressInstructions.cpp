#include "PressInstructions.h"

#include <QQuickWindow>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define RUNNING_ON_VALGRIND 0
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_TOGGLE_COLLECT
#endif

PressInstructions::PressInstructions(QQuickWindow *window) : QObject(window) {
    // The frame runs on this thread between these two signals (the software renderer's loop).
    connect(
        window, &QQuickWindow::afterAnimating, this,
        [this] {
            m_inFrame = true;
            setCollecting(false);
        },
        Qt::DirectConnection);
    connect(
        window, &QQuickWindow::frameSwapped, this,
        [this] {
            m_inFrame = false;
            setCollecting(m_inPress);
        },
        Qt::DirectConnection);
}

bool PressInstructions::underValgrind() {
    return RUNNING_ON_VALGRIND;
}

void PressInstructions::start() {
    CALLGRIND_START_INSTRUMENTATION;
}

void PressInstructions::beginPress() {
    m_inPress = true;
    setCollecting(!m_inFrame);
}

void PressInstructions::endPress() {
    setCollecting(false);
    m_inPress = false;
    ++m_presses;
}

void PressInstructions::setCollecting(bool on) {
    if (on == m_collecting)
        return;
    m_collecting = on;
    CALLGRIND_TOGGLE_COLLECT;
}
