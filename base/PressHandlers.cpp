#include "base/PressHandlers.h"

#include "base/WindowLayout.h"

QHash<QString, PressHandlers::Press> PressHandlers::resolve(const WindowLayout &layout,
                                                            QStringList *missing) const {
    QHash<QString, Press> presses;
    const auto controls = layout.controlHandlers();
    for (auto control = controls.cbegin(); control != controls.cend(); ++control) {
        const auto handler = m_byName.constFind(control.value());
        if (handler == m_byName.cend()) {
            if (missing)
                missing->append(control.key());
            continue;
        }
        presses.insert(control.key(), [run = *handler, name = control.key()] { run(name); });
    }
    return presses;
}
