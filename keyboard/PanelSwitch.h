#pragma once

#include <QObject>

// Whether one switchable group of the keyboard page is shown. The group's layout binds to it.
class PanelSwitch : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)

public:
    PanelSwitch(bool shownAtStart, QObject *parent) : QObject(parent), m_shown(shownAtStart) {}

    bool shown() const { return m_shown; }
    void setShown(bool shown) {
        if (m_shown == shown)
            return;
        m_shown = shown;
        emit shownChanged();
    }
    void flip() { setShown(!m_shown); }

signals:
    void shownChanged();

private:
    bool m_shown;
};
