#pragma once

#include "app/MessageBoxes.h"
#include "link/CommandLink.h"
#include "link/Discovery.h"

#include <QString>
#include <QStringList>
#include <functional>

// Message boxes that a test answers: every box is recorded in the shared event list as
// "box: <text>" and closed at once, after whileOpen has run (a test may run events there, as
// the user-interface thread does while a real box is open).
class RecordingBoxes : public MessageBoxes {
public:
    explicit RecordingBoxes(QStringList &events) : m_events(events) {}

    void showMessage(const QString &text) override;

    QStringList texts;
    std::function<void(const QString &)> whileOpen;

private:
    QStringList &m_events;
};

// Discovery for a window under test: loopback only, a port of the system's choosing and a
// period so long that no tick falls due while a test runs, so that nothing a test presses (the
// connection button, a disconnect) can ever send a request to the network.
DiscoveryEndpoints loopbackDiscovery();

// The link as the pages see it, in place of the editor: records "sent <word>" for a word sent
// with its answer read and "written <line>" for a line written without one, and answers as the
// test sets it.
class RecordingLink : public CommandLink {
public:
    enum class Answer { Accepts, NotConnected, CheckFails };

    bool sendCommand(const QString &word) override;
    bool writeLineUnanswered(const QString &line) override;
    void closeSilently() override {}

    QStringList lines;
    // How sends end: accepted, with the not-connected message, or with a failed check of the
    // connection (the error box, and the press ends); the boxes show the messages.
    Answer answer = Answer::Accepts;
    MessageBoxes *boxes = nullptr;
    // Whether lines written without an answer go out.
    bool writable = true;
    // Runs at each send, to look at the window at that moment.
    std::function<void(const QString &)> atSend;
};
