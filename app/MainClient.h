#pragma once

#include "app/AccessibleNames.h"
#include "app/ClientFields.h"
#include "app/MessageBoxes.h"
#include "app/PageScaling.h"
#include "app/Pages.h"
#include "app/PressReceiver.h"
#include "app/SettingsFile.h"
#include "app/WindowLayout.h"
#include "keyboard/KeyboardState.h"
#include "link/ServerLink.h"
#include "pages/ModePanels.h"

#include <QObject>

class CommandLink;
class QDBusConnection;

// The main window's behaviour: its pages, their scaling, the settings page's fields, the
// settings file and the handlers of the window itself. The window (QML) shows this state and
// forwards presses to it.
class MainClient : public PressReceiver {
    Q_OBJECT
    Q_PROPERTY(ClientFields *fields READ fields CONSTANT)
    Q_PROPERTY(Pages *pages READ pages CONSTANT)
    Q_PROPERTY(ModePanels *modes READ modes CONSTANT)
    Q_PROPERTY(PageScaling *scaling READ scaling CONSTANT)
    Q_PROPERTY(KeyboardState *keyboard READ keyboard CONSTANT)
    Q_PROPERTY(ServerLink *link READ link CONSTANT)
    Q_PROPERTY(AccessibleNames *names READ names CONSTANT)
    Q_PROPERTY(WindowLayoutTable *layout READ layout CONSTANT)

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

    // A press of any button the layout table holds, run by the handler the table gives it.
    // False when it showed a message box (a refused word, no connection): a key that repeats
    // while held stops there.
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
    void FormCreate();
    // From now on, while the display option ScreenOn is checked, the screen saver on this bus is
    // asked not to blank the screen, until the option is unchecked or the window goes away.
    // Called once, after FormCreate, so that the file's state makes the first request.
    void keepScreenOnThrough(const QDBusConnection &bus);
    // The same through the session bus, which the program uses. Connecting to a bus waits for
    // the bus's answer, which a hung bus may never give, so the connection is made on a thread
    // of the pool and the screen saver is asked once it is there: the window never waits for it.
    void keepScreenOnThroughSessionBus();
    Q_INVOKABLE void FormResize(int windowWidth, int windowHeight);
    Q_INVOKABLE void FormActivate(int windowWidth, int windowHeight);
    // Writes the settings file; false (after the error box) keeps the window open.
    Q_INVOKABLE bool FormClose();
    // The program is told to end from outside (SIGTERM, SIGINT, SIGHUP): the settings file is
    // written as by a close, but with nobody there to answer a box a failure goes to standard
    // error, and the program ends all the same. Before the file has been read at start-up
    // nothing is written, so that the settings are never replaced by the defaults.
    void closeForTermination();

    Q_INVOKABLE void offClick();
    Q_INVOKABLE void move_clientClick();
    Q_INVOKABLE void Button3Click();

    // The signature keys of the modal signatures page and the arrow keys of the cursor page:
    // their own word is sent, nothing else changes.
    Q_INVOKABLE void ark1Click(const QString &word);
    // The cursor page's large arrows send the words of the tool column's cursor keys, but leave
    // the keyboard page's sets as they are.
    Q_INVOKABLE void moveLClick();
    Q_INVOKABLE void moveRClick();

signals:
    // The window is asked to close; its close handler decides.
    void closeRequested();

private:
    // The handlers of the window, its pages and the link, by the names the table gives them.
    void runHandler(const QString &control);

    // Made before everything that shows a box.
    CountedBoxes m_boxes;
    SettingsFile m_settingsFile;
    ClientFields m_fields;
    Pages m_pages;
    ModePanels m_modes;
    PageScaling m_scaling;
    ServerLink m_serverLink;
    CommandLink *m_link; // never null
    KeyboardState m_keyboard;
    AccessibleNames m_names;
    WindowLayoutTable m_layout;
    bool m_settingsRead = false;
};
