#pragma once

#include <QAccessibleObject>
#include <QHash>
#include <QPointer>

class ButtonGroup;

// What screen readers see of a group: a named grouping whose children are its buttons, each a
// button called by what its sign is (or its caption, else its command word) and pressed by its
// press action as by a tap. The buttons are no items of their own, so they are children made
// here rather than by the toolkit.
class ButtonGroupAccessible : public QAccessibleObject {
public:
    explicit ButtonGroupAccessible(ButtonGroup *group);
    ~ButtonGroupAccessible() override;

    // Installed once, before the first group is made: the groups' interfaces come from here.
    static void install();
    // The group was shown or hidden, with its page or on its own: its buttons are said to be
    // shown or hidden too, as the toolkit says of its own items, so that a
    // reader that keeps what it has seen finds the buttons that are there now.
    static void buttonsShown(ButtonGroup *group, bool shown);

    QAccessibleInterface *parent() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QWindow *window() const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Grouping; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    ButtonGroup *group() const;

private:
    // The buttons' interfaces, made when first asked for and kept as long as the group's.
    mutable QHash<int, QAccessible::Id> m_buttons;
};
