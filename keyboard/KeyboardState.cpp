#include "keyboard/KeyboardState.h"

#include "base/PressHandlers.h"
#include "base/WindowLayout.h"

#include <QMetaEnum>

KeyboardState::KeyboardState(Sender send, QObject *parent)
    : QObject(parent), m_send(std::move(send)) {
    // The groups are named by the enum itself, which is their one list; whether each is shown at
    // start is the layout table's.
    const QMetaEnum panels = QMetaEnum::fromType<Panel>();
    for (int i = 0; i < PanelCount; ++i) {
        const QString name = QLatin1String(panels.valueToKey(i));
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

void KeyboardState::addHandlersTo(PressHandlers &handlers) {
    const auto flipping = [this](QList<Panel> panels) {
        return [this, panels](const QString &) {
            for (const Panel p : panels)
                flip(p);
        };
    };
    handlers.add(QStringLiteral("c13Click"), [this](const QString &c) { signPress(c); });
    handlers.add(QStringLiteral("m1Click"), [this](const QString &c) { martyriaLetterPress(c); });
    handlers.add(QStringLiteral("o1Click"), [this](const QString &c) { martyriaSignPress(c); });
    handlers.add(QStringLiteral("o5Click"), [this](const QString &c) { rowKeepingPress(c); });
    handlers.add(QStringLiteral("CheckBox1Click"), [this](const QString &c) { katoPress(c); });
    // The set buttons: each shows the other set of its groups, or opens or closes a pop-up group.
    handlers.add(QStringLiteral("enallagikatavasiClick"),
                 flipping({PanelKatavasi1, PanelKatavasi2}));
    handlers.add(QStringLiteral("enallagianavasiClick"), flipping({Panelanavasi1, Panelanavasi2}));
    handlers.add(QStringLiteral("CornerButton1Click"),
                 flipping({PanelPoiotitas1, PanelPoiotitas2}));
    handlers.add(QStringLiteral("enallagiIsonClick"), flipping({PanelIson1, PanelIson2}));
    handlers.add(QStringLiteral("enallagiMartyriesClick"),
                 [this](const QString &) { swapMartyriaRows(); });
    handlers.add(QStringLiteral("enallagifthoresClick"), flipping({Panelfthores}));
    handlers.add(QStringLiteral("di6Click"), flipping({Panelmetra}));
    handlers.add(QStringLiteral("enallagi_asterakiaClick"), flipping({Panelasterakia}));
    handlers.add(QStringLiteral("enallagiendikseisClick"), flipping({Panelendikseis}));
    handlers.add(QStringLiteral("enallagihfeseisClick"), flipping({Panelyfeseis2}));
    handlers.add(QStringLiteral("enallaghentashClick"), flipping({Panelentasi}));
    handlers.add(QStringLiteral("enallaghvellhClick"), flipping({Panelpena}));
    handlers.add(QStringLiteral("ft_closeClick"), [this](const QString &) { hide(Panelyfeseis2); });
}

bool KeyboardState::signPress(const QString &control) {
    if (!m_send(control))
        return false;
    signReset();
    return true;
}

void KeyboardState::martyriaLetterPress(const QString &control) {
    // The row changes before the send, so it has changed even when the send fails.
    swapMartyriaRows();
    if (!m_send(control))
        return;
    martyriaReset();
}

void KeyboardState::martyriaSignPress(const QString &control) {
    swapMartyriaRows();
    if (!m_send(control))
        return;
    if (m_checkBox1Checked)
        setCheckBox1Checked(false);
    martyriaReset();
}

void KeyboardState::rowKeepingPress(const QString &control) {
    if (!m_send(control))
        return;
    martyriaReset();
}

void KeyboardState::katoPress(const QString &control) {
    // The box's own sign press, message boxes and reset included, comes first; a press whose
    // connection check failed ends there and leaves the mark alone.
    if (!signPress(control))
        return;
    setCheckBox1Checked(!m_checkBox1Checked);
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
