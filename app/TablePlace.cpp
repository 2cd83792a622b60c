#include "app/TablePlace.h"

#include "base/WindowLayout.h"

TablePlace::TablePlace(QObject *item) : QObject(item), m_item(qobject_cast<QQuickItem *>(item)) {
    if (!m_item) {
        qWarning("TablePlace is attached to %s, which is no item",
                 item ? item->metaObject()->className() : "nothing");
        return;
    }
    // The object name may be set after the attached place is made, in whatever order the
    // item's properties are written.
    connect(m_item, &QObject::objectNameChanged, this, &TablePlace::placeItem);
}

void TablePlace::place(QQuickItem *item, const LayoutMember &member, qreal wider, qreal higher) {
    item->setPosition(member.rect.topLeft());
    item->setSize({member.rect.width() * wider, member.rect.height() * higher});
}

void TablePlace::setPlaced(bool placed) {
    if (m_placed == placed)
        return;
    m_placed = placed;
    placeItem();
    emit placedChanged();
}

void TablePlace::setWider(qreal wider) {
    setFactor(m_wider, wider);
}

void TablePlace::setHigher(qreal higher) {
    setFactor(m_higher, higher);
}

void TablePlace::setFactor(qreal &factor, qreal value) {
    // Setting it places the item, even at the factor it already has.
    if (m_placed && qFuzzyCompare(factor, value))
        return;
    factor = value;
    m_placed = true;
    placeItem();
    emit placedChanged();
}

void TablePlace::placeItem() {
    if (!m_placed || !m_item || m_item->objectName().isEmpty())
        return;
    if (const LayoutMember *member = WindowLayout::standard().member(m_item->objectName()))
        place(m_item, *member, m_wider, m_higher);
    else
        qWarning("The layout table has no member %s", qPrintable(m_item->objectName()));
}
