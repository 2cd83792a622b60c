#include "app/PressQueue.h"

PressQueue &PressQueue::instance() {
    static PressQueue queue;
    return queue;
}

void PressQueue::submit(std::function<void()> press) {
    m_waiting.push_back(std::move(press));
    if (m_running)
        return;
    m_running = true;
    struct Done {
        bool &running;
        ~Done() { running = false; }
    } done{m_running};
    while (!m_waiting.empty()) {
        std::function<void()> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        next();
    }
}
