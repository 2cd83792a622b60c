#pragma once

#include "app/AccessibleNames.h"
#include "app/MessageBoxes.h"
#include "app/PageScaling.h"
#include "app/Pages.h"
#include "app/PressReceiver.h"
#include "base/ClientFields.h"
#include "base/PressHandlers.h"
#include "base/SettingsFile.h"
#include "base/WindowLayout.h"
#include "keyboard/KeyboardState.h"
#include "link/LinkReports.h"
#include "link/ServerLink.h"
#include "pages/ModePanels.h"

#include <QObject>

class CommandLink;
class QDBusConnection;

// The main window's behaviour: its pages, their scaling, the settings page's fields, the
// settings file and the handlers of the window itself. The window (QML) shows this state and
// forwards presses to it. It shows what the link reports: its boxes, log lines, indicator and
// the addresses that discovery finds.
class MainClient : public PressReceiver, public LinkReports {
    Q_OBJECT
    Q_PROPERTY(ClientFields *fields READ fields CONSTANT)
    Q_PROPERTY(Pages *pages READ pages CONSTANT)
    Q_PROPERTY(ModePanels *modes READ modes CONSTANT)
    Q_PROPERTY(PageScaling *scaling READ scaling CONSTANT)
    Q_PROPERTY(KeyboardState *keyboard READ keyboard CONSTANT)
    Q_PROPERTY(ServerLink *link READ link CONSTANT)
    Q_PROPERTY(AccessibleNames *names READ names CONSTANT)
    Q_PROPERTY(WindowLayoutTable *layout READ layout CONSTANT)
    // "QS Client V" and the program's major and minor version.
    Q_PROPERTY(QString windowTitle READ windowTitle CONSTANT)
    // True while the connection indicator shows its connected picture.
    Q_PROPERTY(bool indicatorConnected READ indicatorConnected NOTIFY indicatorConnectedChanged)

public:
    // The program uses the fixed discovery endpoints; tests give loopback ones.
    MainClient(MessageBoxes &boxes, SettingsFile settingsFile,
               DiscoveryEndpoints endpoints = DiscoveryEndpoints(), QObject *parent = nullptr);
    ~MainClient() override;

    // The link the presses use: the server link, unless a test puts another in its place (the
    // window does not own that one).
    void setCommandLink(CommandLink *link) { m_link = link; }

    ClientFields *fields() { return &m_fields; }
    Pages *pages() { return &m_pages; }
    ModePanels *modes() { return &m_modes; }
    PageScaling *scaling() { return &m_scaling; }
    KeyboardState *keyboard() { return &m_keyboard; }
    ServerLink *link() { return &m_serverLink; }
    AccessibleNames *names() { return &m_names; }
    WindowLayoutTable *layout() { return &m_layout; }

    bool indicatorConnected() const { return m_indicatorConnected; }
    static QString windowTitle();

    // The one way in of every press of every page: the control's handler, found when the layout
    // table was read, runs. False when it showed a message box (a refused word, no connection):
    // a key that repeats while held stops there.
    Q_INVOKABLE bool press(const QString &control) override;
    // The boxes every handler of the window shows its messages in; a link put in the server
    // link's place shows its own there too.
    MessageBoxes &boxes() { return m_boxes; }

    // Once the window's layout is complete: the link starts (discovery takes its port), the
    // settings file is read into the fields and the pages are fitted to the window. False when
    // discovery cannot take its port (a second copy of the client holds it): the error box has
    // been shown, in front of the fitted pages, and the program does not start.
    bool start(int windowWidth, int windowHeight);

    // Once, after the layout is complete: the settings file into the fields.
    void readSettings();
    // From now on, while the display option ScreenOn is checked, the screen saver on this bus is
    // asked not to blank the screen, until the option is unchecked or the window goes away.
    // Called once, after FormCreate, so that the file's state makes the first request.
    void keepScreenOnThrough(const QDBusConnection &bus);
    // The same through the session bus, which the program uses. Connecting to a bus waits for
    // the bus's answer, which a hung bus may never give, so the connection is made on a thread
    // of the pool and the screen saver is asked once it is there: the window never waits for it.
    void keepScreenOnThroughSessionBus();
    // The window was resized or activated: the pages are stretched to its size.
    Q_INVOKABLE void fitPagesToWindow(int windowWidth, int windowHeight);
    // The window is closing: writes the settings file; false (after the error box) keeps the
    // window open.
    Q_INVOKABLE bool saveSettingsForClose();
    // The program is told to end from outside (SIGTERM, SIGINT, SIGHUP): the settings file is
    // written as by a close, but with nobody there to answer a box a failure goes to standard
    // error, and the program ends all the same. Before the file has been read at start-up
    // nothing is written, so that the settings are never replaced by the defaults.
    void closeForTermination();

    // What the link reports, shown to the user.
    void showMessage(const QString &text) override { m_boxes.showMessage(text); }
    void showError(const QString &failureText) override { m_boxes.showError(failureText); }
    void appendLogLine(const QString &line) override { m_fields.appendLogLine(line); }
    void showConnected(bool connected) override;
    void showServerAddress(const QString &host, const QString &port) override;

signals:
    // The window is asked to close; its close handler decides.
    void closeRequested();
    void indicatorConnectedChanged();

private:
    // The window's own handlers, the pages' and the link's, and the keyboard's, each control of
    // the table paired with its own.
    void resolvePresses();
    // The cursor page: shown, then the editor is told that the cursor keys follow.
    void enterCursorPage();
    // The cursor page's return: the keyboard page, and the editor told without an answer.
    void leaveCursorPage();
    // One word to the editor, nothing else changes.
    void sendWord(const QString &word);

    // Made before everything that shows a box.
    CountedBoxes m_boxes;
    SettingsFile m_settingsFile;
    ClientFields m_fields;
    Pages m_pages;
    ModePanels m_modes;
    PageScaling m_scaling;
    bool m_indicatorConnected = false;
    ServerLink m_serverLink;
    CommandLink *m_link; // never null
    KeyboardState m_keyboard;
    AccessibleNames m_names;
    WindowLayoutTable m_layout;
    QHash<QString, PressHandlers::Press> m_presses;
    bool m_settingsRead = false;
};
