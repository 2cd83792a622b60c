#pragma once

#include "MainClient.h"
#include "MainWindowScene.h"
#include "MessageBoxes.h"

#include <QHostAddress>
#include <QTemporaryDir>

// The client's window as the program builds it, with a private documents folder and discovery on
// loopback ports, so that no bench program reaches the network or the user's settings.
struct LoopbackClient {
    static DiscoveryEndpoints loopback(quint16 discoveryPort, quint16 requestPort) {
        DiscoveryEndpoints endpoints;
        endpoints.listenPort = discoveryPort;
        endpoints.requestAddress = QHostAddress::LocalHost;
        endpoints.requestPort = requestPort;
        return endpoints;
    }

    LoopbackClient(quint16 discoveryPort, quint16 requestPort)
        : client(boxes, SettingsFile(documents.path()), loopback(discoveryPort, requestPort)),
          scene(client, boxes) {}

    QTemporaryDir documents;
    QuickMessageBoxes boxes;
    MainClient client;
    MainWindowScene scene;
};
