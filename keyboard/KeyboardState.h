#pragma once

#include "keyboard/PanelSwitch.h"

class PressHandlers;

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <array>
#include <functional>

// What the keyboard page shows besides its fixed layout: which of the alternative sets and
// pop-up groups are shown, and the mark of the check box "Κάτω"; and the presses that change
// it. A sign's handler takes the pressed control's name, which is also its command word.
//
// Sending goes through the given sender (the link's command exchange). It returns false only when
// the press must end at once, because the connection check itself failed and that failure has
// already been reported; every other outcome, the message boxes of a failed exchange included,
// lets the handler go on with its remaining steps.
class KeyboardState : public QObject {
    Q_OBJECT
    // Group name -> PanelSwitch, for the seventeen groups that can be shown and hidden.
    Q_PROPERTY(QVariantMap panels READ panels CONSTANT)
    Q_PROPERTY(bool checkBox1Checked READ checkBox1Checked NOTIFY checkBox1CheckedChanged)

public:
    using Sender = std::function<bool(const QString &commandWord)>;

    explicit KeyboardState(Sender send, QObject *parent = nullptr);

    QVariantMap panels() const { return m_panelMap; }
    bool checkBox1Checked() const { return m_checkBox1Checked; }

    // The switch of one of the switchable groups; null for any other name.
    Q_INVOKABLE PanelSwitch *panelSwitch(const QString &panel) const {
        return m_panelMap.value(panel).value<PanelSwitch *>();
    }
    // False for a name that is not one of the switchable groups.
    bool isShown(const QString &panel) const;
    // The switchable groups shown at this moment, in the order of the page's members.
    QStringList shownPanels() const;

    // The keyboard page's press handlers (signs, set buttons, the check box "Κάτω"), by the
    // names the layout table gives them.
    void addHandlersTo(PressHandlers &handlers);

signals:
    void checkBox1CheckedChanged();

private:
    // Martyria letters m1 to m7: swap the rows, send, then the martyria reset.
    void martyriaLetterPress(const QString &control);
    // Martyria signs o1 to o4, o6 to o9: swap the rows, send, clear "Κάτω", martyria reset.
    void martyriaSignPress(const QString &control);
    // m8 and o5: send, then the martyria reset; the row stays.
    void rowKeepingPress(const QString &control);
    // The check box "Κάτω": its sign press runs to the end before its mark toggles.
    void katoPress(const QString &control);

public:
    // The groups that are shown and hidden, by their object names, in the order of the page's
    // members.
    enum Panel {
        PanelIson1,
        PanelKatavasi2,
        PanelKatavasi1,
        Panelanavasi1,
        PanelPoiotitas2,
        PanelMartyries1,
        PanelIson2,
        Panelanavasi2,
        PanelPoiotitas1,
        PanelMartyries2,
        Panelfthores,
        Panelmetra,
        Panelasterakia,
        Panelendikseis,
        Panelyfeseis2,
        Panelentasi,
        Panelpena,
        PanelCount
    };
    Q_ENUM(Panel)

private:
    PanelSwitch &panel(Panel p) { return *m_panels[p]; }
    void show(Panel p) { panel(p).setShown(true); }
    void hide(Panel p) { panel(p).setShown(false); }
    void flip(Panel p) { panel(p).flip(); }

    // False when the press ended at the connection check.
    bool signPress(const QString &control);
    void swapMartyriaRows();
    void firstSetsBack();
    void signReset();
    void martyriaReset();
    void setCheckBox1Checked(bool checked);

    Sender m_send;
    std::array<PanelSwitch *, PanelCount> m_panels{};
    QVariantMap m_panelMap;
    bool m_checkBox1Checked = false;
};
