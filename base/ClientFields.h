#pragma once

#include <QObject>
#include <QString>

// The few texts and marks of the settings page that the rest of the program reads and writes:
// the server address (the host in Edit2, the port in Edit3), the display option ScreenOn and the
// connection log in Memo1. The page shows them; the settings file reads and writes them, and the
// window keeps the link's server address and log in step with them.
class ClientFields : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(QString port READ port WRITE setPort NOTIFY portChanged)
    Q_PROPERTY(bool screenOn READ screenOn WRITE setScreenOn NOTIFY screenOnChanged)
    Q_PROPERTY(QString log READ log WRITE setLog NOTIFY logChanged)

public:
    using QObject::QObject;

    QString host() const { return m_host; }
    void setHost(const QString &text);
    QString port() const { return m_port; }
    void setPort(const QString &text);
    bool screenOn() const { return m_screenOn; }
    void setScreenOn(bool on);
    QString log() const { return m_log; }
    void setLog(const QString &text);

    // The log only ever grows by whole lines; what the user typed into it stays.
    void appendLogLine(const QString &line);

signals:
    void hostChanged();
    void portChanged();
    void screenOnChanged();
    void logChanged();

private:
    QString m_host = QStringLiteral("127.0.0.1");
    QString m_port = QStringLiteral("6000");
    bool m_screenOn = true;
    QString m_log;
};
