#include "base/ClientFields.h"

namespace {

template <typename T, typename Signal>
void assign(ClientFields *owner, T &member, const T &value, Signal changed) {
    if (member == value)
        return;
    member = value;
    emit(owner->*changed)();
}

} // namespace

void ClientFields::setHost(const QString &text) {
    assign(this, m_host, text, &ClientFields::hostChanged);
}

void ClientFields::setPort(const QString &text) {
    assign(this, m_port, text, &ClientFields::portChanged);
}

void ClientFields::setScreenOn(bool on) {
    assign(this, m_screenOn, on, &ClientFields::screenOnChanged);
}

void ClientFields::setLog(const QString &text) {
    assign(this, m_log, text, &ClientFields::logChanged);
}

void ClientFields::appendLogLine(const QString &line) {
    // Like a text box's own append: a new line starts after whatever the box holds.
    setLog(m_log.isEmpty() ? line : m_log + QLatin1Char('\n') + line);
}
