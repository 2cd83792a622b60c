#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

class QDBusPendingCallWatcher;

// Asks the desktop's screen saver not to blank the screen, and ends that request, through the
// freedesktop screen-saver interface (org.freedesktop.ScreenSaver: Inhibit gives a cookie,
// UnInhibit with that cookie ends the request) on the bus it is given.
//
// Nothing here waits for the bus: each request goes out at once and its answer is handled when
// it comes, so a slow or hung screen saver never holds up the window. A desktop without the
// interface (no bus, no such service, a refused request) leaves the screen to its own settings
// and reports nothing but a debug line of the "qs.screensaver" logging category.
class ScreenSaverInhibitor : public QObject {
    Q_OBJECT

public:
    // applicationName and reason are what the desktop may show as the holder of the request.
    ScreenSaverInhibitor(QDBusConnection bus, QString applicationName, QString reason,
                         QObject *parent = nullptr);
    // Ends a request that is held; one still unanswered is ended as soon as its answer comes.
    ~ScreenSaverInhibitor() override;

    // Whether the screen is to stay on: asks for it, or ends what was asked.
    void setInhibited(bool inhibited);

    // The screen saver has granted a request that has not been ended yet.
    bool holdsRequest() const { return m_cookie.has_value(); }
    // A request is on its way and its answer has not been handled yet.
    bool awaitsAnswer() const { return m_awaitingAnswer; }

private:
    void request(int pathIndex);
    void answered(QDBusPendingCallWatcher &call, int pathIndex);
    void release();

    QDBusConnection m_bus;
    QString m_applicationName;
    QString m_reason;
    bool m_wanted = false;
    bool m_awaitingAnswer = false;
    std::optional<uint> m_cookie;
    QString m_cookiePath;
};
