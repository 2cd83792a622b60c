#pragma once

#include "app/ClientStartup.h"
#include "app/MessageBoxes.h"

#include <QTemporaryDir>
#include <cstdio>

// The client's window started as the program starts it, with a private documents folder and
// discovery on loopback ports, so that no bench program reaches the network or the user's
// settings.
struct LoopbackClient {
    LoopbackClient(quint16 discoveryPort, quint16 requestPort)
        : startup(boxes, SettingsFile(documents.path()),
                  DiscoveryEndpoints::loopback(discoveryPort, requestPort)),
          client(startup.client()) {}

    // The program's start. The one box it can show (the discovery port is taken) is answered
    // at once, so that the bench program ends with its failure instead of waiting for a user.
    bool start() {
        const auto answer =
            QObject::connect(&boxes, &QuickMessageBoxes::openTextsChanged, &boxes, [this] {
                if (boxes.openTexts().isEmpty())
                    return;
                std::fprintf(stderr, "bench: %s\n", qPrintable(boxes.openTexts().last()));
                QMetaObject::invokeMethod(&boxes, &QuickMessageBoxes::accept, Qt::QueuedConnection);
            });
        const bool started = startup.start();
        QObject::disconnect(answer);
        return started;
    }

    QTemporaryDir documents;
    QuickMessageBoxes boxes;
    ClientStartup startup;
    MainClient &client;
};
