#pragma once

#include "MessageBoxes.h"

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
