#pragma once

#include <QObject>

// The connection indicator ImageControl1 in the tool column's connection button: which of its
// two pictures it shows. It starts with the not-connected picture; switching to the state
// already shown changes nothing.
class ConnectionIndicator : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)

public:
    using QObject::QObject;

    bool connected() const { return m_connected; }
    void setConnected(bool connected) {
        if (m_connected == connected)
            return;
        m_connected = connected;
        emit connectedChanged(connected);
    }

signals:
    void connectedChanged(bool connected);

private:
    bool m_connected = false;
};
