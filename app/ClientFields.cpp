#include "app/ClientFields.h"

namespace {

template <typename T, typename Signal>
void assign(ClientFields *owner, T &member, const T &value, Signal changed) {
    if (member == value)
        return;
    member = value;
    emit(owner->*changed)();
}

} // namespace

void ClientFields::setEdit2(const QString &text) {
    assign(this, m_edit2, text, &ClientFields::edit2Changed);
}

void ClientFields::setEdit3(const QString &text) {
    assign(this, m_edit3, text, &ClientFields::edit3Changed);
}

void ClientFields::setScreenOn(bool on) {
    assign(this, m_screenOn, on, &ClientFields::screenOnChanged);
}

void ClientFields::setMemo1(const QString &text) {
    assign(this, m_memo1, text, &ClientFields::memo1Changed);
}

void ClientFields::setLabel1(const QString &text) {
    assign(this, m_label1, text, &ClientFields::label1Changed);
}

void ClientFields::appendLogLine(const QString &line) {
    // Like a text box's own append: a new line starts after whatever the box holds.
    setMemo1(m_memo1.isEmpty() ? line : m_memo1 + QLatin1Char('\n') + line);
}
