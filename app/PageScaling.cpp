#include "app/PageScaling.h"

#include "app/Pages.h"
#include "base/WindowLayout.h"

PageScaling::PageScaling(QObject *parent)
    : QObject(parent),
      m_design(WindowLayout::standard().pageSize(Pages::objectName(Pages::Page::Keyboard))),
      m_settingsPage(WindowLayout::standard().pageSize(Pages::objectName(Pages::Page::Settings))) {}

void PageScaling::fitToWindow(int windowWidth, int windowHeight) {
    // The scales are kept in single precision, as the pages store them; the settings page's
    // place follows from those stored values, truncated toward zero.
    const float sx = float(double(windowWidth) / m_design.width());
    const float sy = float(double(windowHeight) / m_design.height());
    const int x = int((windowWidth - float(m_settingsPage.width()) * sx) / 2);
    const int y = int((windowHeight - float(m_settingsPage.height()) * sy) / 2);
    if (m_fitted && sx == m_sx && sy == m_sy && x == m_settingsPageX && y == m_settingsPageY)
        return;
    m_fitted = true;
    m_sx = sx;
    m_sy = sy;
    m_settingsPageX = x;
    m_settingsPageY = y;
    emit scaleChanged();
}
