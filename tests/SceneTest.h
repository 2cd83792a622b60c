#pragma once

#include "PageScene.h"

#include <QObject>
#include <QSize>
#include <memory>

// The fixture of the window's tests: the window made anew for each test as the program starts
// it, shown at the size the test asks for, and afterwards checked for QML warnings, which the
// program would only print and a test would otherwise never see.
class SceneTest : public QObject {
    Q_OBJECT

public:
    struct Start {
        PageScene::Boxes boxes = PageScene::Boxes::AnsweredWithOk;
        // The window's size once shown; an empty size leaves it as the program shows it.
        QSize size = PageScene::kRestoredSize;
        // Every page shown once and the keyboard page again, as once the user has seen each.
        bool everyPageBuilt = false;
    };

protected:
    explicit SceneTest(Start start) : m_start(start) {}
    SceneTest() = default;

    PageScene &s() const { return *m_scene; }
    QQuickWindow *window() const { return m_scene->window(); }
    MainClient *client() const { return m_scene->client; }

protected slots:
    // Run by QtTest before and after each test function; a test that needs more at its start
    // declares its own init() and calls this one first.
    void init();
    void cleanup();

private:
    Start m_start;
    std::unique_ptr<PageScene> m_scene;
};
