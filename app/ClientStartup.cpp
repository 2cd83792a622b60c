#include "app/ClientStartup.h"

#include "app/MessageBoxes.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QQuickWindow>
#include <QThreadPool>

ClientStartup::ClientStartup(QuickMessageBoxes &boxes, SettingsFile settingsFile,
                             DiscoveryEndpoints endpoints)
    : m_client(boxes, std::move(settingsFile), std::move(endpoints)), m_scene(m_client, boxes) {}

ClientStartup::ReadAhead::ReadAhead() {
    QThreadPool::globalInstance()->start([] {
        QFontDatabase::families();
        QImageReader::supportedImageFormats();
    });
}

bool ClientStartup::start() {
    if (!window())
        return false;
    return m_client.start(window()->width(), window()->height());
}
