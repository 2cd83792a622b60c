#include "pages/ModePanels.h"

#include <array>
#include <utility>

namespace {

// The tabs in their numbering; the tab order on the page is not the order of the modes (hx6 is
// πλ β', hx7 βαρύς).
const std::array<std::pair<const char *, const char *>, 8> kTabs{{
    {"hx1", "Panelhxos_a"},
    {"hx2", "Panelhxos_b"},
    {"hx3", "Panelhxos_c"},
    {"hx4", "Panelhxos_d"},
    {"hx5", "Panelhxos_pla"},
    {"hx6", "Panelhxos_plb"},
    {"hx7", "Panelhxos_varys"},
    {"hx8", "Panelhxos_pld"},
}};

} // namespace

QString ModePanels::panelOfTab(const QString &tab) {
    for (const auto &[name, panel] : kTabs) {
        if (tab == QLatin1String(name))
            return QString::fromLatin1(panel);
    }
    return {};
}

void ModePanels::showPanelOfTab(const QString &tab) {
    const QString panel = panelOfTab(tab);
    // One visible panel at a time: showing one hides the other seven, and the tab of the mode
    // already shown changes nothing.
    if (panel.isEmpty() || panel == m_visiblePanel)
        return;
    m_visiblePanel = panel;
    emit visiblePanelChanged();
}
