#pragma once

#include "app/AccessibleNames.h"
#include "app/HoverLook.h"
#include "app/PointerItem.h"
#include "app/PressMember.h"
#include "app/PressReceiver.h"
#include "app/PressSurface.h"
#include "base/WindowLayout.h"

#include <QList>
#include <QPointer>
#include <QQmlListProperty>
#include <QQuickItem>
#include <QtQml/qqml.h>

// A group of the window: a panel with a picture and transparent buttons over its signs, one
// item that finds the button under a press itself in the layout table's rectangles. It takes its
// place, picture and buttons from the table by its object name, and hands every press of a
// button on to its receiver, one press at a time (PressQueue).
// On a page that gathers its members' presses (PressSurface), the page follows the pointers and
// asks the group for the button under each.
//
// What it follows: a press is offered to the buttons from the last to the first and taken by the
// first whose rectangle, edges included, holds the point; a press between the buttons, or on a
// button that is hidden with the group, is taken and does nothing. Buttons that stick out of the
// group take presses there too. The mouse and each finger are followed on their own
// (PointerTracker), and every tap is a press, as for a single press area; a button that the table
// says repeats sends again and again while it is held.
class ButtonGroup : public PointerItem, private PressMember {
    Q_OBJECT
    QML_ELEMENT
    // Runs the presses of the buttons, by their names; without one, a press does nothing.
    Q_PROPERTY(PressReceiver *receiver READ receiver WRITE setReceiver NOTIFY receiverChanged)
    // What screen readers call the group and its buttons.
    Q_PROPERTY(AccessibleNames *names READ names WRITE setNames NOTIFY namesChanged)
    Q_PROPERTY(QRectF pictureRect READ pictureRect NOTIFY layoutRead)
    Q_PROPERTY(QString pictureName READ pictureName NOTIFY layoutRead)
    Q_PROPERTY(QString look READ look NOTIFY layoutRead)
    Q_PROPERTY(qreal stretch READ stretch NOTIFY layoutRead)
    // Made when the group is first hovered: most groups of a page never are.
    Q_PROPERTY(QQmlListProperty<HoverSlot> hoverSlots READ hoverSlots NOTIFY hoverSlotsChanged)
    // The buttons showing the hover look: the one under the mouse pointer, those fingers rest on.
    Q_PROPERTY(QStringList hoveredButtons READ hoveredButtons NOTIFY hoveredButtonsChanged)

public:
    explicit ButtonGroup(QQuickItem *parent = nullptr);

    PressReceiver *receiver() const { return m_receiver; }
    void setReceiver(PressReceiver *receiver);
    AccessibleNames *names() const { return m_names; }
    void setNames(AccessibleNames *names);
    QRectF pictureRect() const { return m_member ? m_member->picture : QRectF(); }
    QString pictureName() const { return m_member ? m_member->image : QString(); }
    QString look() const { return m_member ? m_member->look : QString(); }
    qreal stretch() const { return m_member ? m_member->stretch : 1; }
    QQmlListProperty<HoverSlot> hoverSlots() { return {this, &m_slots}; }
    QStringList hoveredButtons() const { return m_hovered; }

    // The buttons in their child order, and each one's rectangle in the group's units and in
    // window pixels (as drawn, through every scale): for the tests, the benchmarks and screen
    // readers.
    Q_INVOKABLE QStringList buttonNames() const;
    Q_INVOKABLE QRectF buttonRect(const QString &name) const;
    Q_INVOKABLE QRectF buttonSceneRect(const QString &name) const;
    Q_INVOKABLE bool isHovered(const QString &name) const { return m_hovered.contains(name); }
    // A press that does not come from a pointer: a screen reader's press action.
    Q_INVOKABLE void pressButton(const QString &name);

    // The button under a point in the group's units, the last one first; -1 for none.
    int buttonAt(QPointF point) const;
    bool contains(const QPointF &point) const override;

signals:
    void receiverChanged();
    void namesChanged();
    void layoutRead();
    void hoveredButtonsChanged();
    void hoverSlotsChanged();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    // The table is read when the group is named, before anything binds to it, and stays.
    void readLayout();
    // The button of that name if it is this group's, found through the table's own index.
    const LayoutButton *ownButton(const QString &name) const;
    void press(const QString &name);
    // The group's targets are its buttons, by their index in the table.
    int targetAt(QPointF point) const override { return buttonAt(point); }
    bool isOn(int button, QPointF point) const override;
    KeyRepeat::Press heldPress(int button) override;
    void tap(int button) override { press(m_member->buttons[button].name); }
    // Works out the hovered buttons again from its own pointers.
    void shownChanged() override;
    // Lends the slots to the buttons shown.
    void showButtons(const QList<int> &shown);
    // As a member of a page that takes its presses.
    PointerTracker::Targets &memberTargets() override { return *this; }
    void leavePage() override { m_surface = nullptr; }
    QRectF reach() const override;
    bool showsMouseOver() const override { return true; }
    void showTargets(const QList<int> &shown) override { showButtons(shown); }
    // A group shows no pressed look.
    void showPressing(bool) override {}
    // A group shows no pressed look.
    void pressingChanged() override {}

    friend class ButtonGroupAccessible;
    // A screen reader (or a test) has asked for the group's accessible interface, so there is one
    // to tell of its buttons being shown and hidden.
    bool m_accessibleMade = false;
    QPointer<PressReceiver> m_receiver;
    QPointer<AccessibleNames> m_names;
    const LayoutMember *m_member = nullptr;
    QList<HoverSlot *> m_slots;
    QStringList m_hovered;
    // The page that takes the group's presses, if it does.
    QPointer<PressSurface> m_surface;
};
