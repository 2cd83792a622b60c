#pragma once

#include <deque>
#include <functional>

// Presses run one at a time, in the order they end. A handler can wait a long time (a message
// box runs its own event loop until the user presses OK), and meanwhile a second finger that was
// already down can lift; its press must not run inside the first one's handler, so it waits
// here and runs once the first handler has returned.
class PressQueue {
public:
    // The queue of the user-interface thread, which runs every press handler.
    static PressQueue &instance();

    // Runs the press now, or, while another press is running, after it and every press queued
    // before it.
    void submit(std::function<void()> press);

    // A press is running: outside of its handler, that means it waits in a message box.
    bool isRunning() const { return m_running; }

private:
    std::deque<std::function<void()>> m_waiting;
    bool m_running = false;
};
