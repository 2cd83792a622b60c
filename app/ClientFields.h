#pragma once

#include <QObject>
#include <QString>

// The few texts and marks of the settings page that the rest of the program reads and writes:
// the server address (Edit2 host, Edit3 port), the display option ScreenOn, the connection log
// Memo1 and the hidden reply label Label1. The page shows them; discovery, the connection, the
// command exchange and the settings file change them.
class ClientFields : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString edit2 READ edit2 WRITE setEdit2 NOTIFY edit2Changed)
    Q_PROPERTY(QString edit3 READ edit3 WRITE setEdit3 NOTIFY edit3Changed)
    Q_PROPERTY(bool screenOn READ screenOn WRITE setScreenOn NOTIFY screenOnChanged)
    Q_PROPERTY(QString memo1 READ memo1 WRITE setMemo1 NOTIFY memo1Changed)
    Q_PROPERTY(QString label1 READ label1 WRITE setLabel1 NOTIFY label1Changed)

public:
    using QObject::QObject;

    QString edit2() const { return m_edit2; }
    void setEdit2(const QString &text);
    QString edit3() const { return m_edit3; }
    void setEdit3(const QString &text);
    bool screenOn() const { return m_screenOn; }
    void setScreenOn(bool on);
    QString memo1() const { return m_memo1; }
    void setMemo1(const QString &text);
    QString label1() const { return m_label1; }
    void setLabel1(const QString &text);

    // The log only ever grows by whole lines; what the user typed into it stays.
    void appendLogLine(const QString &line);

signals:
    void edit2Changed();
    void edit3Changed();
    void screenOnChanged();
    void memo1Changed();
    void label1Changed();

private:
    QString m_edit2 = QStringLiteral("127.0.0.1");
    QString m_edit3 = QStringLiteral("6000");
    bool m_screenOn = true;
    QString m_memo1;
    QString m_label1 = QStringLiteral("ok");
};
