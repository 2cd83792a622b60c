#pragma once

#include "app/MainClient.h"
#include "app/MainWindowScene.h"
#include "app/MessageBoxes.h"

#include <QTemporaryDir>

// The client's window as the program builds it, with a private documents folder and discovery on
// loopback ports, so that no bench program reaches the network or the user's settings.
struct LoopbackClient {
    LoopbackClient(quint16 discoveryPort, quint16 requestPort)
        : client(boxes, SettingsFile(documents.path()),
                 DiscoveryEndpoints::loopback(discoveryPort, requestPort)),
          scene(client, boxes) {}

    QTemporaryDir documents;
    QuickMessageBoxes boxes;
    MainClient client;
    MainWindowScene scene;
};
