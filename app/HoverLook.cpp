#include "app/HoverLook.h"

#include <QVariantAnimation>

void HoverSlot::show(const QString &button, QRectF rect) {
    if (m_button != button || m_rect != rect) {
        m_button = button;
        m_rect = rect;
        emit rectChanged();
    }
    if (!m_shown) {
        m_shown = true;
        emit shownChanged();
    }
}

void HoverSlot::hide() {
    if (!m_shown)
        return;
    m_shown = false;
    emit shownChanged();
}

HoverLook::HoverLook(QQuickItem *parent) : QQuickItem(parent) {
    setVisible(false);
}

void HoverLook::setSlot(HoverSlot *slot) {
    if (m_slot == slot)
        return;
    if (m_slot)
        m_slot->disconnect(this);
    m_slot = slot;
    if (m_slot) {
        connect(m_slot, &HoverSlot::rectChanged, this, &HoverLook::followRect);
        connect(m_slot, &HoverSlot::shownChanged, this, &HoverLook::fade);
        followRect();
        fade();
    }
    emit slotChanged();
}

void HoverLook::followRect() {
    const QRectF rect = m_slot->rect();
    setPosition(rect.topLeft());
    setSize(rect.size());
}

void HoverLook::fade() {
    const qreal target = m_slot && m_slot->shown() ? 1 : 0;
    if (!m_fading) {
        if (m_level == target)
            return;
        m_fading = new QVariantAnimation(this);
        m_fading->setDuration(100);
        m_fading->setStartValue(0.0);
        m_fading->setEndValue(1.0);
        connect(m_fading, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            const qreal done = value.toReal();
            setLevel(done >= 1 ? m_fadeTo : m_fadeFrom + (m_fadeTo - m_fadeFrom) * done);
        });
    }
    if (m_level == target) {
        m_fading->stop();
        return;
    }
    m_fadeFrom = m_level;
    m_fadeTo = target;
    if (m_fading->state() == QAbstractAnimation::Running)
        m_fading->setCurrentTime(0);
    else
        m_fading->start();
}

void HoverLook::setLevel(qreal level) {
    if (level == m_level)
        return;
    m_level = level;
    setOpacity(1 - 0.5 * level);
    setVisible(level > 0);
    emit levelChanged();
}
