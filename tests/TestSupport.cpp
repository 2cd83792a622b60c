#include "TestSupport.h"

void RecordingBoxes::showMessage(const QString &text) {
    texts.append(text);
    m_events.append(QStringLiteral("box: ") + text);
    if (whileOpen)
        whileOpen(text);
}

DiscoveryEndpoints loopbackDiscovery() {
    DiscoveryEndpoints loopback;
    loopback.listenPort = 0;
    loopback.requestAddress = QHostAddress(QHostAddress::LocalHost);
    loopback.requestPort = 9;
    loopback.periodMs = 3600000;
    return loopback;
}

bool RecordingLink::kataxorisi(const QString &word) {
    lines.append(QStringLiteral("sent ") + word);
    if (atSend)
        atSend(word);
    switch (answer) {
    case Answer::Accepts:
        return true;
    case Answer::NotConnected:
        boxes->showMessage(QStringLiteral("Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS"));
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
