// A leak made on purpose in a press handler, to show that the leak checker of the sanitized build
// reports it through the suppressions the test run uses: the sign k1 is tapped with a finger in
// the real window, and the command's send leaves 4096 bytes that nothing refers to. The test
// passes when the checker's report at exit names that leak.
#include "SceneTest.h"

#include <QPointingDevice>
#include <QTest>
#include <algorithm>

namespace {

// Written through a volatile pointer, so that the allocation cannot be left out.
char *volatile g_lastAllocation = nullptr;

void leakOnce() {
    char *bytes = new char[4096];
    std::fill(bytes, bytes + 4096, 'k');
    g_lastAllocation = bytes;
    g_lastAllocation = nullptr;
}

} // namespace

class LeakReported : public SceneTest {
    Q_OBJECT

private slots:
    void pressHandlerLeaks() {
        s().link.atSend = [](const QString &word) {
            if (word == QStringLiteral("k1"))
                leakOnce();
        };
        const Target sign = s().target(QStringLiteral("k1"));
        QVERIFY(sign);
        // Registered with the application for its life, as touch screens are.
        QPointingDevice *finger = QTest::createTouchDevice();
        const QPoint at = sign.centreInScene().toPoint();
        QTest::touchEvent(window(), finger).press(0, at, window());
        QTest::touchEvent(window(), finger).release(0, at, window());
        QTRY_COMPARE(s().link.lines, QStringList{QStringLiteral("sent k1")});
    }
};

QTEST_MAIN(LeakReported)
#include "leak_reported.moc"
