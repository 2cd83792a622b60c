#include "TestSupport.h"

void RecordingBoxes::showMessage(const QString &text) {
    texts.append(text);
    m_events.append(QStringLiteral("box: ") + text);
    if (whileOpen)
        whileOpen(text);
}
