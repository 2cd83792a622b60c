#include "app/MainClient.h"

#include <QHash>
#include <functional>

#include "app/MessageBoxes.h"
#include "app/ScreenSaverInhibitor.h"
#include "link/CommandLink.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFutureWatcher>
#include <QtConcurrentRun>

#include <cstdio>

MainClient::MainClient(MessageBoxes &boxes, SettingsFile settingsFile, DiscoveryEndpoints endpoints,
                       QObject *parent)
    : PressReceiver(parent), m_boxes(boxes), m_settingsFile(std::move(settingsFile)),
      m_serverLink(m_boxes, m_fields, std::move(endpoints)), m_link(m_serverLink.commandLink()),
      m_keyboard([this](const QString &word) { return m_link->kataxorisi(word); }) {}

MainClient::~MainClient() {
    // The window goes away: the editor's connection closes without a log line.
    m_serverLink.commandLink()->closeSilently();
}

bool MainClient::start(int windowWidth, int windowHeight) {
    if (const auto failure = m_serverLink.start()) {
        FormResize(windowWidth, windowHeight);
        m_boxes.showError(*failure);
        return false;
    }
    FormCreate();
    FormResize(windowWidth, windowHeight);
    return true;
}

void MainClient::FormCreate() {
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

void MainClient::FormResize(int windowWidth, int windowHeight) {
    m_scaling.FormResize(windowWidth, windowHeight);
}

void MainClient::FormActivate(int windowWidth, int windowHeight) {
    FormResize(windowWidth, windowHeight);
}

bool MainClient::FormClose() {
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
    if (!m_keyboard.press(control))
        runHandler(control);
    return m_boxes.shown() == boxesBefore;
}

void MainClient::runHandler(const QString &control) {
    static const QHash<QString, std::function<void(MainClient &, const QString &)>> handlers = {
        {QStringLiteral("ark1Click"), [](MainClient &c, const QString &w) { c.ark1Click(w); }},
        {QStringLiteral("moveLClick"), [](MainClient &c, const QString &) { c.moveLClick(); }},
        {QStringLiteral("moveRClick"), [](MainClient &c, const QString &) { c.moveRClick(); }},
        {QStringLiteral("offClick"), [](MainClient &c, const QString &) { c.offClick(); }},
        {QStringLiteral("move_clientClick"),
         [](MainClient &c, const QString &) { c.move_clientClick(); }},
        {QStringLiteral("Button3Click"), [](MainClient &c, const QString &) { c.Button3Click(); }},
        {QStringLiteral("Button1Click"),
         [](MainClient &c, const QString &) { c.m_pages.Button1Click(); }},
        {QStringLiteral("martyriesshowClick"),
         [](MainClient &c, const QString &) { c.m_pages.martyriesshowClick(); }},
        {QStringLiteral("rythmiseisshowClick"),
         [](MainClient &c, const QString &) { c.m_pages.rythmiseisshowClick(); }},
        {QStringLiteral("hxClick"),
         [](MainClient &c, const QString &tab) { c.m_modes.hxClick(tab); }},
        {QStringLiteral("con_SpeedButtonClick"),
         [](MainClient &c, const QString &) { c.m_serverLink.con_SpeedButtonClick(); }},
    };
    const auto handler = handlers.constFind(WindowLayout::standard().handlerOf(control));
    if (handler != handlers.cend())
        (*handler)(*this, control);
    else
        qWarning("No press handler for %s", qPrintable(control));
}

void MainClient::offClick() {
    emit closeRequested();
}

void MainClient::move_clientClick() {
    m_pages.showCursorPage();
    m_link->kataxorisi(QStringLiteral("move_client"));
}

void MainClient::Button3Click() {
    m_pages.showKeyboardPage();
    if (!m_link->writeLineUnanswered(QStringLiteral("move_client")))
        m_boxes.showMessage(QStringLiteral("Πρόβλημα! Δεν υπάρχει σύνδεση με τον Server QS"));
}

void MainClient::ark1Click(const QString &word) {
    if (m_link)
        m_link->kataxorisi(word);
}

void MainClient::moveLClick() {
    ark1Click(QStringLiteral("SpeedButton25"));
}

void MainClient::moveRClick() {
    ark1Click(QStringLiteral("SpeedButton31"));
}
