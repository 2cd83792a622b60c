#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqml.h>

struct LayoutMember;

// Where a page's member stands: the rectangle the window's layout table gives the member of the
// item's object name. Every member of every page takes its place this one way: sign groups and
// press areas through `place`, any other item through the attached `TablePlace.placed: true`.
//
// The place is set as soon as the name is known, while the item is being made, so that a member
// never shows at a size of its own first (a scrolling box would keep its text scrolled from
// that size).
class TablePlace : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("TablePlace is only used as an attached property")
    QML_ATTACHED(TablePlace)
    // Whether the item takes its place from the table.
    Q_PROPERTY(bool placed READ placed WRITE setPlaced NOTIFY placedChanged)
    // A member that keeps its letter shapes is laid out this many times wider and higher than its
    // rectangle and drawn back into it by a transform of its own.
    Q_PROPERTY(qreal wider READ wider WRITE setWider NOTIFY placedChanged)
    Q_PROPERTY(qreal higher READ higher WRITE setHigher NOTIFY placedChanged)

public:
    explicit TablePlace(QObject *item);
    static TablePlace *qmlAttachedProperties(QObject *item) { return new TablePlace(item); }

    // Puts the item where the table has the member, laid out `wider` and `higher`.
    static void place(QQuickItem *item, const LayoutMember &member, qreal wider = 1,
                      qreal higher = 1);

    bool placed() const { return m_placed; }
    void setPlaced(bool placed);
    qreal wider() const { return m_wider; }
    void setWider(qreal wider);
    qreal higher() const { return m_higher; }
    void setHigher(qreal higher);

signals:
    void placedChanged();

private:
    // Sets how much wider or higher the item is laid out, and places it.
    void setFactor(qreal &factor, qreal value);
    void placeItem();

    QPointer<QQuickItem> m_item;
    bool m_placed = false;
    qreal m_wider = 1;
    qreal m_higher = 1;
};
