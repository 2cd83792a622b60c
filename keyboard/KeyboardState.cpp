#include "keyboard/KeyboardState.h"

#include "app/WindowLayout.h"

namespace {

// Indexed like KeyboardState::Panel; whether each is shown at start is the layout table's.
constexpr const char *kPanels[] = {
    "PanelIson1",      "PanelKatavasi2", "PanelKatavasi1", "Panelanavasi1",   "PanelPoiotitas2",
    "PanelMartyries1", "PanelIson2",     "Panelanavasi2",  "PanelPoiotitas1", "PanelMartyries2",
    "Panelfthores",    "Panelmetra",     "Panelasterakia", "Panelendikseis",  "Panelyfeseis2",
    "Panelentasi",     "Panelpena",
};

} // namespace

KeyboardState::KeyboardState(Sender send, QObject *parent)
    : QObject(parent), m_send(std::move(send)) {
    static_assert(std::size(kPanels) == PanelCount);
    for (int i = 0; i < PanelCount; ++i) {
        const QString name = QLatin1String(kPanels[i]);
        const LayoutMember *member = WindowLayout::standard().member(name);
        Q_ASSERT(member);
        m_panels[i] = new PanelSwitch(member && member->shownAtStart, this);
        m_panels[i]->setObjectName(name);
        m_panelMap.insert(name, QVariant::fromValue(m_panels[i]));
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

const QHash<QString, KeyboardState::Handler> &KeyboardState::handlers() {
    static const QHash<QString, Handler> table = {
        {QStringLiteral("c13Click"), {&KeyboardState::c13Click}},
        {QStringLiteral("m1Click"), {&KeyboardState::m1Click}},
        {QStringLiteral("o1Click"), {&KeyboardState::o1Click}},
        {QStringLiteral("o5Click"), {&KeyboardState::o5Click}},
        {QStringLiteral("CheckBox1Click"), {&KeyboardState::CheckBox1Click}},
        {QStringLiteral("enallagikatavasiClick"), {nullptr, &KeyboardState::enallagikatavasiClick}},
        {QStringLiteral("enallagianavasiClick"), {nullptr, &KeyboardState::enallagianavasiClick}},
        {QStringLiteral("CornerButton1Click"), {nullptr, &KeyboardState::CornerButton1Click}},
        {QStringLiteral("enallagiIsonClick"), {nullptr, &KeyboardState::enallagiIsonClick}},
        {QStringLiteral("enallagiMartyriesClick"),
         {nullptr, &KeyboardState::enallagiMartyriesClick}},
        {QStringLiteral("enallagifthoresClick"), {nullptr, &KeyboardState::enallagifthoresClick}},
        {QStringLiteral("di6Click"), {nullptr, &KeyboardState::di6Click}},
        {QStringLiteral("enallagi_asterakiaClick"),
         {nullptr, &KeyboardState::enallagi_asterakiaClick}},
        {QStringLiteral("enallagiendikseisClick"),
         {nullptr, &KeyboardState::enallagiendikseisClick}},
        {QStringLiteral("enallagihfeseisClick"), {nullptr, &KeyboardState::enallagihfeseisClick}},
        {QStringLiteral("enallaghentashClick"), {nullptr, &KeyboardState::enallaghentashClick}},
        {QStringLiteral("enallaghvellhClick"), {nullptr, &KeyboardState::enallaghvellhClick}},
        {QStringLiteral("ft_closeClick"), {nullptr, &KeyboardState::ft_closeClick}},
    };
    return table;
}

bool KeyboardState::press(const QString &control) {
    const auto handler = handlers().constFind(WindowLayout::standard().handlerOf(control));
    if (handler == handlers().cend())
        return false;
    if (handler->press)
        (this->*handler->press)(control);
    else
        (this->*handler->toggle)();
    return true;
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

void KeyboardState::enallagikatavasiClick() {
    flip(PanelKatavasi1);
    flip(PanelKatavasi2);
}

void KeyboardState::enallagianavasiClick() {
    flip(Panelanavasi1);
    flip(Panelanavasi2);
}

void KeyboardState::CornerButton1Click() {
    flip(PanelPoiotitas1);
    flip(PanelPoiotitas2);
}

void KeyboardState::enallagiIsonClick() {
    flip(PanelIson1);
    flip(PanelIson2);
}

void KeyboardState::enallagiMartyriesClick() {
    swapMartyriaRows();
}

void KeyboardState::enallagifthoresClick() {
    flip(Panelfthores);
}

void KeyboardState::di6Click() {
    flip(Panelmetra);
}

void KeyboardState::enallagi_asterakiaClick() {
    flip(Panelasterakia);
}

void KeyboardState::enallagiendikseisClick() {
    flip(Panelendikseis);
}

void KeyboardState::enallagihfeseisClick() {
    flip(Panelyfeseis2);
}

void KeyboardState::enallaghentashClick() {
    flip(Panelentasi);
}

void KeyboardState::enallaghvellhClick() {
    flip(Panelpena);
}

void KeyboardState::ft_closeClick() {
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
