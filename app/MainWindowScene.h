#pragma once

#include <QQmlApplicationEngine>
#include <QString>
#include <QThreadPool>

class MainClient;
class QQuickWindow;
class QuickMessageBoxes;

// The main window built from its QML layout, with the window's behaviour and its message boxes
// passed in. The program and the scene tests load it the same way.
class MainWindowScene {
public:
    MainWindowScene(MainClient &client, QuickMessageBoxes &boxes);

    // Null when the layout could not be loaded; errors() then says why.
    QQuickWindow *window() const { return m_window; }
    QString errors() const { return m_errors; }

private:
    // The pool the window's pictures are drawn on: destroyed after the engine, it waits for the
    // drawings still under way.
    QThreadPool m_pictures;
    QQmlApplicationEngine m_engine;
    QQuickWindow *m_window = nullptr;
    QString m_errors;
};
