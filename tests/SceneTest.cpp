#include "SceneTest.h"

#include <QTest>

void SceneTest::init() {
    m_scene = std::make_unique<PageScene>(m_start.boxes);
    QVERIFY2(window(), qPrintable(s().scene->errors()));
    if (m_start.size.isEmpty())
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    else
        QVERIFY(s().showAt(m_start.size));
    if (m_start.everyPageBuilt)
        s().buildEveryPage();
}

void SceneTest::cleanup() {
    // Taken before the window goes, so that a failing check still ends with the window closed.
    const QString warnings = m_scene && m_scene->scene ? m_scene->scene->errors() : QString();
    m_scene.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(QStringLiteral("QML warnings:\n") + warnings));
}
