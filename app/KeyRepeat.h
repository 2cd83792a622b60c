#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <functional>
#include <limits>

// A key held down that repeats, as a key of a keyboard does: held past half a second it sends
// at that moment, and then every tenth of a second for as long as its pointer stays on it. One
// is made for each pointer (the mouse, each finger) that goes down on a key that repeats, and
// ended when that pointer lifts, slides off the key or is taken away.
//
// Each send is a whole press, run through the PressQueue. A press that showed the user a message
// box (the editor refused the word, there is no connection) ends the repeat: the user has to
// read it, and a key must not go on sending behind it. So does a send that falls due while
// another press waits for its box to be closed.
class KeyRepeat : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 500;
    static constexpr int kIntervalMs = 100;

    // Runs one press of the key; false when it showed a message box.
    using Press = std::function<bool()>;

    // The hold is timed from now.
    KeyRepeat(Press press, QObject *parent);

    // The key has sent while held, so its release sends nothing.
    bool hasSent() const { return m_sent > 0; }
    // The key is sending while held, and shows its hover look.
    bool isRepeating() const { return m_sent > 0 && !m_ended; }
    // Nothing more is sent.
    void end();

signals:
    void repeatingChanged();

private:
    void send();

    Press m_press;
    QTimer m_timer;
    QElapsedTimer m_held;
    qint64 m_nextDueMs = kDelayMs;
    int m_sent = 0;
    bool m_ended = false;
};

// The repeats of one press target, one for each pointer held on a key of it that repeats.
class KeyRepeats {
public:
    // The mouse among the pointers; fingers are known by their own ids.
    static constexpr int kMouse = std::numeric_limits<int>::min();

    // `changed` runs whenever whether a pointer's key is repeating changes.
    KeyRepeats(QObject *owner, std::function<void()> changed)
        : m_owner(owner), m_changed(std::move(changed)) {}

    void start(int pointer, KeyRepeat::Press press);
    // The pointer slid off the key: it sends no more, even if it comes back.
    void stop(int pointer);
    // The pointer lifted or was taken away. True when its key has sent while held, so that its
    // release sends nothing.
    bool end(int pointer);
    void endAll();
    bool isRepeating(int pointer) const;
    bool anyRepeating() const;

private:
    QObject *m_owner;
    std::function<void()> m_changed;
    // Owned by m_owner as their parent, and so gone with it.
    QHash<int, KeyRepeat *> m_held;
};
