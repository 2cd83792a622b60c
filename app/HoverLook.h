#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QString>
#include <QtQml/qqml.h>

class QVariantAnimation;

// Where one button's hover look is drawn: a group has a few of these and lends them to the
// buttons under the pointer and the fingers. A slot keeps its button's rectangle after the
// button is left, so that the look fades out where it was.
class HoverSlot : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("lent by its group")
    Q_PROPERTY(QRectF rect READ rect NOTIFY rectChanged)
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(QString button READ button NOTIFY rectChanged)

public:
    using QObject::QObject;

    QRectF rect() const { return m_rect; }
    bool shown() const { return m_shown; }
    QString button() const { return m_button; }
    void show(const QString &button, QRectF rect);
    void hide();

signals:
    // Apart, so that a slot shown again over the same button moves nothing.
    void rectChanged();
    void shownChanged();

private:
    QRectF m_rect;
    bool m_shown = false;
    QString m_button;
};

// The hover look of one slot, over its button's rectangle: the ellipse inside fades in over
// 0.1 s while the look fades to half opacity, and both return over 0.1 s when the button is
// left (`level` goes from 0 to 1 and back). Placed and faded here rather than by bindings and a
// behaviour: the slots change at every move of the pointer from one button to another, and the
// bindings cost more than the rest of taking a press put together.
class HoverLook : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(HoverSlot *slot READ slot WRITE setSlot NOTIFY slotChanged)
    // 0 at rest, 1 while the button is shown; the look's opacity is 1 - 0.5 × level.
    Q_PROPERTY(qreal level READ level NOTIFY levelChanged)

public:
    explicit HoverLook(QQuickItem *parent = nullptr);

    HoverSlot *slot() const { return m_slot; }
    void setSlot(HoverSlot *slot);
    qreal level() const { return m_level; }

signals:
    void slotChanged();
    void levelChanged();

private:
    void followRect();
    void fade();
    void setLevel(qreal level);

    QPointer<HoverSlot> m_slot;
    qreal m_level = 0;
    // The fade under way, from one level to the other; the animation only counts its 0.1 s out,
    // from 0 to 1, and is never set up again.
    qreal m_fadeFrom = 0;
    qreal m_fadeTo = 0;
    QVariantAnimation *m_fading = nullptr;
};
