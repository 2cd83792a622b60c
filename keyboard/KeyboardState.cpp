#include "keyboard/KeyboardState.h"

namespace {

struct PanelInfo {
    const char *name;
    bool shownAtStart;
};

// Indexed like KeyboardState::Panel.
constexpr PanelInfo kPanels[] = {
    {"PanelIson1", true},       {"PanelKatavasi2", false},  {"PanelKatavasi1", true},
    {"Panelanavasi1", true},    {"PanelPoiotitas2", false}, {"PanelMartyries1", true},
    {"PanelIson2", false},      {"Panelanavasi2", false},   {"PanelPoiotitas1", true},
    {"PanelMartyries2", false}, {"Panelfthores", false},    {"Panelmetra", false},
    {"Panelasterakia", false},  {"Panelendikseis", false},  {"Panelyfeseis2", false},
    {"Panelentasi", false},     {"Panelpena", false},
};

} // namespace

KeyboardState::KeyboardState(Sender send, QObject *parent)
    : QObject(parent), m_send(std::move(send)) {
    static_assert(std::size(kPanels) == PanelCount);
    for (int i = 0; i < PanelCount; ++i) {
        m_panels[i] = new PanelSwitch(kPanels[i].shownAtStart, this);
        m_panels[i]->setObjectName(QLatin1String(kPanels[i].name));
        m_panelMap.insert(QLatin1String(kPanels[i].name), QVariant::fromValue(m_panels[i]));
    }
}

bool KeyboardState::isShown(const QString &panelName) const {
    const auto *sw = m_panelMap.value(panelName).value<PanelSwitch *>();
    return sw && sw->shown();
}

QStringList KeyboardState::shownPanels() const {
    QStringList shown;
    for (const PanelSwitch *sw : m_panels) {
        if (sw->shown())
            shown.append(sw->objectName());
    }
    return shown;
}

void KeyboardState::c13Click(const QString &control) {
    signPress(control);
}

bool KeyboardState::signPress(const QString &control) {
    if (!m_send(control))
        return false;
    signReset();
    return true;
}

void KeyboardState::m1Click(const QString &control) {
    // The row changes before the send, so it has changed even when the send fails.
    swapMartyriaRows();
    if (!m_send(control))
        return;
    martyriaReset();
}

void KeyboardState::o1Click(const QString &control) {
    swapMartyriaRows();
    if (!m_send(control))
        return;
    if (m_checkBox1Checked)
        setCheckBox1Checked(false);
    martyriaReset();
}

void KeyboardState::o5Click(const QString &control) {
    if (!m_send(control))
        return;
    martyriaReset();
}

void KeyboardState::CheckBox1Click(const QString &control) {
    // The box's own sign press, message boxes and reset included, comes first; a press whose
    // connection check failed ends there and leaves the mark alone.
    if (!signPress(control))
        return;
    setCheckBox1Checked(!m_checkBox1Checked);
}

void KeyboardState::enallagikatavasiClick(const QString &) {
    flip(PanelKatavasi1);
    flip(PanelKatavasi2);
}

void KeyboardState::enallagianavasiClick(const QString &) {
    flip(Panelanavasi1);
    flip(Panelanavasi2);
}

void KeyboardState::CornerButton1Click(const QString &) {
    flip(PanelPoiotitas1);
    flip(PanelPoiotitas2);
}

void KeyboardState::enallagiIsonClick(const QString &) {
    flip(PanelIson1);
    flip(PanelIson2);
}

void KeyboardState::enallagiMartyriesClick(const QString &) {
    swapMartyriaRows();
}

void KeyboardState::enallagifthoresClick(const QString &) {
    flip(Panelfthores);
}

void KeyboardState::di6Click(const QString &) {
    flip(Panelmetra);
}

void KeyboardState::enallagi_asterakiaClick(const QString &) {
    flip(Panelasterakia);
}

void KeyboardState::enallagiendikseisClick(const QString &) {
    flip(Panelendikseis);
}

void KeyboardState::enallagihfeseisClick(const QString &) {
    flip(Panelyfeseis2);
}

void KeyboardState::enallaghentashClick(const QString &) {
    flip(Panelentasi);
}

void KeyboardState::enallaghvellhClick(const QString &) {
    flip(Panelpena);
}

void KeyboardState::ft_closeClick(const QString &) {
    hide(Panelyfeseis2);
}

void KeyboardState::swapMartyriaRows() {
    flip(PanelMartyries1);
    flip(PanelMartyries2);
}

void KeyboardState::firstSetsBack() {
    show(PanelKatavasi1);
    hide(PanelKatavasi2);
    show(Panelanavasi1);
    hide(Panelanavasi2);
    show(PanelPoiotitas1);
    hide(PanelPoiotitas2);
    show(PanelIson1);
    hide(PanelIson2);
}

void KeyboardState::signReset() {
    // Leaves the martyria rows, Panelfthores, Panelyfeseis2 and "Κάτω" as they are.
    firstSetsBack();
    hide(Panelmetra);
    hide(Panelasterakia);
    hide(Panelendikseis);
    hide(Panelentasi);
    hide(Panelpena);
}

void KeyboardState::martyriaReset() {
    // Closes only the modulation signs, which are opened for the martyria rows they cover.
    firstSetsBack();
    hide(Panelfthores);
}

void KeyboardState::setCheckBox1Checked(bool checked) {
    if (m_checkBox1Checked == checked)
        return;
    m_checkBox1Checked = checked;
    emit checkBox1CheckedChanged();
}
