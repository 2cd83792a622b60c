#include "app/KeyRepeat.h"

#include "app/PressQueue.h"

#include <QPointer>
#include <algorithm>

KeyRepeat::KeyRepeat(Press press, QObject *parent) : QObject(parent), m_press(std::move(press)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &KeyRepeat::send);
    m_held.start();
    m_timer.start(kDelayMs);
}

void KeyRepeat::end() {
    if (m_ended)
        return;
    const bool wasRepeating = isRepeating();
    m_ended = true;
    m_timer.stop();
    if (wasRepeating)
        emit repeatingChanged();
}

void KeyRepeat::send() {
    if (m_ended)
        return;
    // A press still running at this point is waiting in its message box.
    if (PressQueue::instance().isRunning()) {
        end();
        return;
    }
    ++m_sent;
    if (m_sent == 1)
        emit repeatingChanged();
    // The press may end the key's hold (a box runs the event loop, where the pointer can lift),
    // and with it this repeat; what it needs is kept here.
    const QPointer<KeyRepeat> self(this);
    const Press press = m_press;
    bool wentThrough = true;
    PressQueue::instance().submit([&wentThrough, press] { wentThrough = press(); });
    if (!self || m_ended)
        return;
    if (!wentThrough) {
        end();
        return;
    }
    // A send that fell behind (a slow exchange) is not made up for with a burst.
    m_nextDueMs = std::max(m_nextDueMs + kIntervalMs, m_held.elapsed());
    m_timer.start(int(m_nextDueMs - m_held.elapsed()));
}

void KeyRepeats::start(int pointer, KeyRepeat::Press press) {
    end(pointer);
    auto *repeat = new KeyRepeat(std::move(press), m_owner);
    QObject::connect(repeat, &KeyRepeat::repeatingChanged, m_owner, [this] { m_changed(); });
    m_held.insert(pointer, repeat);
}

void KeyRepeats::stop(int pointer) {
    if (KeyRepeat *repeat = m_held.value(pointer))
        repeat->end();
}

bool KeyRepeats::end(int pointer) {
    KeyRepeat *repeat = m_held.take(pointer);
    if (!repeat)
        return false;
    const bool sent = repeat->hasSent();
    repeat->end();
    // It may be sending right now, inside a message box's event loop.
    repeat->deleteLater();
    return sent;
}

void KeyRepeats::endAll() {
    const QList<int> pointers = m_held.keys();
    for (int pointer : pointers)
        end(pointer);
}

bool KeyRepeats::isRepeating(int pointer) const {
    const KeyRepeat *repeat = m_held.value(pointer);
    return repeat && repeat->isRepeating();
}

bool KeyRepeats::anyRepeating() const {
    return std::any_of(m_held.cbegin(), m_held.cend(),
                       [](const KeyRepeat *repeat) { return repeat->isRepeating(); });
}
