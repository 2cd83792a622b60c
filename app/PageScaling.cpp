#include "app/PageScaling.h"

void PageScaling::fitToWindow(int windowWidth, int windowHeight) {
    // The scales are kept in single precision, as the pages store them; the settings page's
    // place follows from those stored values, truncated toward zero.
    const float sx = float(double(windowWidth) / kDesignWidth);
    const float sy = float(double(windowHeight) / kDesignHeight);
    const int x = int((windowWidth - kDesignWidth * sx) / 2);
    const int y = int((windowHeight - kSettingsPageHeight * sy) / 2);
    if (m_fitted && sx == m_sx && sy == m_sy && x == m_settingsPageX && y == m_settingsPageY)
        return;
    m_fitted = true;
    m_sx = sx;
    m_sy = sy;
    m_settingsPageX = x;
    m_settingsPageY = y;
    emit scaleChanged();
}
