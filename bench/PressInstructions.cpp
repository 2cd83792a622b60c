#include "PressInstructions.h"

#include <QEvent>
#include <QQuickWindow>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_TOGGLE_COLLECT
#endif

PressInstructions::PressInstructions(QQuickWindow *window) : QObject(window) {
    window->installEventFilter(this);
}

bool PressInstructions::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::UpdateRequest)
        return false;
    setCollecting(false);
    static_cast<QObject *>(watched)->event(event);
    setCollecting(m_inPress);
    return true;
}

void PressInstructions::start() {
    CALLGRIND_START_INSTRUMENTATION;
}

void PressInstructions::beginPress() {
    m_inPress = true;
    setCollecting(true);
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
