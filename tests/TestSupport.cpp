#include "TestSupport.h"
#include "MessageTexts.h"

void RecordingBoxes::showMessage(const QString &text) {
    texts.append(text);
    m_events.append(QStringLiteral("box: ") + text);
    if (whileOpen)
        whileOpen(text);
}

DiscoveryEndpoints loopbackDiscovery() {
    return DiscoveryEndpoints::loopback(0, 9, 3600000);
}

bool RecordingLink::sendCommand(const QString &word) {
    lines.append(QStringLiteral("sent ") + word);
    if (atSend)
        atSend(word);
    switch (answer) {
    case Answer::Accepts:
        return true;
    case Answer::NotConnected:
        boxes->showMessage(MessageTexts::kNoConnection);
        return true;
    case Answer::CheckFails:
        boxes->showError(QStringLiteral("Socket Error # 10038"));
        return false;
    }
    return true;
}

bool RecordingLink::writeLineUnanswered(const QString &line) {
    lines.append(QStringLiteral("written ") + line);
    return writable;
}
