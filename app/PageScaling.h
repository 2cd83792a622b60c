#pragma once

#include <QObject>
#include <QSizeF>

// The pages are laid out once at their design sizes (the layout table's; the keyboard page's
// stands for the window's) and stretched as a whole to the window, independently in width and
// height, about their top-left corners. The settings page is centred in the window by its
// scaled size.
class PageScaling : public QObject {
    Q_OBJECT
    Q_PROPERTY(float sx READ sx NOTIFY scaleChanged)
    Q_PROPERTY(float sy READ sy NOTIFY scaleChanged)
    Q_PROPERTY(int settingsPageX READ settingsPageX NOTIFY scaleChanged)
    Q_PROPERTY(int settingsPageY READ settingsPageY NOTIFY scaleChanged)
    // Whether the pages have been fitted to the window yet: pictures wait for it, so that each
    // is drawn once, at the size it is shown.
    Q_PROPERTY(bool fitted READ fitted NOTIFY scaleChanged)

public:
    explicit PageScaling(QObject *parent = nullptr);

    // Recomputes the scales from the window's size in device-independent units; 1 and 1 until
    // the first call.
    Q_INVOKABLE void fitToWindow(int windowWidth, int windowHeight);

    float sx() const { return m_sx; }
    float sy() const { return m_sy; }
    int settingsPageX() const { return m_settingsPageX; }
    int settingsPageY() const { return m_settingsPageY; }
    bool fitted() const { return m_fitted; }

signals:
    void scaleChanged();

private:
    QSizeF m_design;
    QSizeF m_settingsPage;
    float m_sx = 1.0f;
    float m_sy = 1.0f;
    int m_settingsPageX = 0;
    int m_settingsPageY = 0;
    bool m_fitted = false;
};
