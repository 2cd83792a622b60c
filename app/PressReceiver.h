#pragma once

#include <QObject>
#include <QString>

// Where the window's press targets hand their presses on: all a button or a group needs to know
// of the window's controller. A QObject, so that QML can hand one to a target and a target can
// tell when it is gone.
class PressReceiver : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Runs the press of the control of that name (its command word). False when it showed the
    // user a message box (a refused word, no connection): a key that repeats while held stops
    // there.
    virtual bool press(const QString &control) = 0;
};
