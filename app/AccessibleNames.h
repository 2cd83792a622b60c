#pragma once

#include <QHash>
#include <QObject>
#include <QString>

// What screen readers call the window's groups and buttons: the short description of each sign
// as the artwork tables name it, and for the set buttons and toggles what they open. Read once
// from the table the artwork generator writes beside the pictures.
class AccessibleNames : public QObject {
    Q_OBJECT

public:
    // The window's table; tests give another file.
    explicit AccessibleNames(
        const QString &path = QStringLiteral(":/qt/qml/QsClient/assets/names.json"),
        QObject *parent = nullptr);

    // The name of a button, or an empty text where the table holds none: the button's caption
    // or command word stands in for it.
    Q_INVOKABLE QString control(const QString &name) const { return m_controls.value(name); }
    // The name of a page or group, or its own object name where the table holds none.
    Q_INVOKABLE QString group(const QString &name) const { return m_groups.value(name, name); }

    // Empty when the table was read; else why not.
    QString error() const { return m_error; }

private:
    QHash<QString, QString> m_controls;
    QHash<QString, QString> m_groups;
    QString m_error;
};
