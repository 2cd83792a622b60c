#include "app/MainClient.h"

#include "app/MessageBoxes.h"
#include "app/ScreenSaverInhibitor.h"
#include "base/Version.h"
#include "link/CommandLink.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFutureWatcher>
#include <QtConcurrentRun>

#include <cstdio>

MainClient::MainClient(MessageBoxes &boxes, SettingsFile settingsFile, DiscoveryEndpoints endpoints,
                       QObject *parent)
    : PressReceiver(parent), m_boxes(boxes), m_settingsFile(std::move(settingsFile)),
      m_serverLink(*this, std::move(endpoints)), m_link(m_serverLink.commandLink()),
      m_keyboard([this](const QString &word) { return m_link->sendCommand(word); }) {
    // The link connects to what the settings page's fields hold, as they are typed or read.
    const auto addressToLink = [this] {
        m_serverLink.setServerAddress(m_fields.host(), m_fields.port());
    };
    connect(&m_fields, &ClientFields::hostChanged, this, addressToLink);
    connect(&m_fields, &ClientFields::portChanged, this, addressToLink);
    addressToLink();
    resolvePresses();
}

MainClient::~MainClient() {
    // The window goes away: the editor's connection closes without a log line.
    m_serverLink.commandLink()->closeSilently();
}

bool MainClient::start(int windowWidth, int windowHeight) {
    if (const auto failure = m_serverLink.start()) {
        fitPagesToWindow(windowWidth, windowHeight);
        m_boxes.showError(*failure);
        return false;
    }
    readSettings();
    fitPagesToWindow(windowWidth, windowHeight);
    return true;
}

void MainClient::readSettings() {
    m_settingsFile.read(m_fields);
    m_settingsRead = true;
}

void MainClient::keepScreenOnThrough(const QDBusConnection &bus) {
    // The desktop may show the holder of the request: the program's name and the option's
    // caption.
    auto *screenSaver = new ScreenSaverInhibitor(bus, QCoreApplication::applicationName(),
                                                 QStringLiteral("Οθόνη πάντα ανοιχτή"), this);
    connect(&m_fields, &ClientFields::screenOnChanged, screenSaver,
            [this, screenSaver] { screenSaver->setInhibited(m_fields.screenOn()); });
    screenSaver->setInhibited(m_fields.screenOn());
}

void MainClient::keepScreenOnThroughSessionBus() {
    auto *connecting = new QFutureWatcher<QDBusConnection>(this);
    connect(connecting, &QFutureWatcher<QDBusConnection>::finished, this, [this, connecting] {
        keepScreenOnThrough(connecting->result());
        connecting->deleteLater();
    });
    connecting->setFuture(QtConcurrent::run([] { return QDBusConnection::sessionBus(); }));
}

void MainClient::fitPagesToWindow(int windowWidth, int windowHeight) {
    m_scaling.fitToWindow(windowWidth, windowHeight);
}

bool MainClient::saveSettingsForClose() {
    if (const auto failure = m_settingsFile.write(m_fields)) {
        m_boxes.showError(*failure);
        return false;
    }
    return true;
}

void MainClient::closeForTermination() {
    if (!m_settingsRead)
        return;
    if (const auto failure = m_settingsFile.write(m_fields))
        std::fprintf(stderr, "qs-client: %s\n", qPrintable(MessageBoxes::errorText(*failure)));
}

bool MainClient::press(const QString &control) {
    const int boxesBefore = m_boxes.shown();
    const auto found = m_presses.constFind(control);
    if (found != m_presses.cend())
        (*found)();
    else
        qWarning("No press handler for %s", qPrintable(control));
    return m_boxes.shown() == boxesBefore;
}

void MainClient::resolvePresses() {
    PressHandlers handlers;
    const auto run = [](auto action) { return [action](const QString &) { action(); }; };
    handlers.add(QStringLiteral("ark1Click"), [this](const QString &word) { sendWord(word); });
    // The cursor page's large arrows send the words of the tool column's cursor keys, but leave
    // the keyboard page's sets as they are.
    handlers.add(QStringLiteral("moveLClick"),
                 run([this] { sendWord(QStringLiteral("SpeedButton25")); }));
    handlers.add(QStringLiteral("moveRClick"),
                 run([this] { sendWord(QStringLiteral("SpeedButton31")); }));
    handlers.add(QStringLiteral("offClick"), run([this] { emit closeRequested(); }));
    handlers.add(QStringLiteral("move_clientClick"), run([this] { enterCursorPage(); }));
    handlers.add(QStringLiteral("Button3Click"), run([this] { leaveCursorPage(); }));
    handlers.add(QStringLiteral("Button1Click"), run([this] { m_pages.showKeyboardPage(); }));
    handlers.add(QStringLiteral("martyriesshowClick"),
                 run([this] { m_pages.showSignaturesPage(); }));
    handlers.add(QStringLiteral("rythmiseisshowClick"),
                 run([this] { m_pages.showSettingsPage(); }));
    handlers.add(QStringLiteral("hxClick"),
                 [this](const QString &tab) { m_modes.showPanelOfTab(tab); });
    handlers.add(QStringLiteral("con_SpeedButtonClick"),
                 run([this] { m_serverLink.searchAgain(); }));
    handlers.add(QStringLiteral("ConnectDisconnectClick"),
                 run([this] { m_serverLink.connectOrDisconnect(); }));
    handlers.add(QStringLiteral("Button4Click"), run([this] { m_pages.showKeyboardPage(); }));
    handlers.add(QStringLiteral("ScreenOnClick"),
                 run([this] { m_fields.setScreenOn(!m_fields.screenOn()); }));
    m_keyboard.addHandlersTo(handlers);

    QStringList missing;
    m_presses = handlers.resolve(WindowLayout::standard(), &missing);
    for (const QString &control : std::as_const(missing))
        qWarning("No press handler for %s", qPrintable(control));
}

QString MainClient::windowTitle() {
    return QStringLiteral(QS_WINDOW_TITLE);
}

void MainClient::showConnected(bool connected) {
    if (m_indicatorConnected == connected)
        return;
    m_indicatorConnected = connected;
    emit indicatorConnectedChanged();
}

void MainClient::showServerAddress(const QString &host, const QString &port) {
    m_fields.setHost(host);
    m_fields.setPort(port);
}

void MainClient::enterCursorPage() {
    m_pages.showCursorPage();
    m_link->sendCommand(QStringLiteral("move_client"));
}

void MainClient::leaveCursorPage() {
    m_pages.showKeyboardPage();
    if (!m_link->writeLineUnanswered(QStringLiteral("move_client")))
        m_boxes.showMessage(QStringLiteral("Πρόβλημα! Δεν υπάρχει σύνδεση με τον Server QS"));
}

void MainClient::sendWord(const QString &word) {
    m_link->sendCommand(word);
}
