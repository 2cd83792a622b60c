#pragma once

// The window's C++ objects as the QML module knows them: typed, so that its bindings are checked
// when the module is built, and not creatable from QML (the program makes them).

#include "app/AccessibleNames.h"
#include "app/MainClient.h"
#include "app/MessageBoxes.h"
#include "app/PageScaling.h"
#include "app/Pages.h"
#include "base/ClientFields.h"
#include "base/WindowLayout.h"
#include "keyboard/KeyboardState.h"
#include "keyboard/PanelSwitch.h"
#include "link/ServerLink.h"
#include "pages/ModePanels.h"

#include <QtQml/qqml.h>

struct AccessibleNamesForeign {
    Q_GADGET
    QML_FOREIGN(AccessibleNames)
    QML_NAMED_ELEMENT(AccessibleNames)
    QML_UNCREATABLE("made by the program")
};

struct ClientFieldsForeign {
    Q_GADGET
    QML_FOREIGN(ClientFields)
    QML_NAMED_ELEMENT(ClientFields)
    QML_UNCREATABLE("made by the program")
};

struct KeyboardStateForeign {
    Q_GADGET
    QML_FOREIGN(KeyboardState)
    QML_NAMED_ELEMENT(KeyboardState)
    QML_UNCREATABLE("made by the program")
};

struct MainClientForeign {
    Q_GADGET
    QML_FOREIGN(MainClient)
    QML_NAMED_ELEMENT(MainClient)
    QML_UNCREATABLE("made by the program")
};

struct ModePanelsForeign {
    Q_GADGET
    QML_FOREIGN(ModePanels)
    QML_NAMED_ELEMENT(ModePanels)
    QML_UNCREATABLE("made by the program")
};

struct PageScalingForeign {
    Q_GADGET
    QML_FOREIGN(PageScaling)
    QML_NAMED_ELEMENT(PageScaling)
    QML_UNCREATABLE("made by the program")
};

struct PagesForeign {
    Q_GADGET
    QML_FOREIGN(Pages)
    QML_NAMED_ELEMENT(Pages)
    QML_UNCREATABLE("made by the program")
};

struct PanelSwitchForeign {
    Q_GADGET
    QML_FOREIGN(PanelSwitch)
    QML_NAMED_ELEMENT(PanelSwitch)
    QML_UNCREATABLE("made by the program")
};

struct QuickMessageBoxesForeign {
    Q_GADGET
    QML_FOREIGN(QuickMessageBoxes)
    QML_NAMED_ELEMENT(QuickMessageBoxes)
    QML_UNCREATABLE("made by the program")
};

struct ServerLinkForeign {
    Q_GADGET
    QML_FOREIGN(ServerLink)
    QML_NAMED_ELEMENT(ServerLink)
    QML_UNCREATABLE("made by the program")
};

struct WindowLayoutTableForeign {
    Q_GADGET
    QML_FOREIGN(WindowLayoutTable)
    QML_NAMED_ELEMENT(WindowLayoutTable)
    QML_UNCREATABLE("made by the program")
};
