// The floor of a press in a Qt Quick window: one item filling the window that takes a press and,
// when the button comes up over it, sends a line to the stand-in editor over the client's kind
// of connection (blocking system sockets on this thread) and reads the answer. Pressed the same
// way as the client in bench-press, and counted the same way under callgrind.
#include "PressInstructions.h"
#include "link/TcpConnection.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <cstdio>

namespace {

class LineButton : public QQuickItem {
public:
    LineButton(TcpConnection &connection, QString line, QQuickItem *parent)
        : QQuickItem(parent), m_connection(connection), m_line(std::move(line)) {
        setAcceptedMouseButtons(Qt::LeftButton);
    }
    int failures() const { return m_failures; }

protected:
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (!contains(event->position()))
            return;
        const bool sent = m_connection.writeLine(m_line);
        const std::optional<QString> answer = sent ? m_connection.readLine() : std::nullopt;
        if (!answer || *answer != QLatin1String("ok"))
            ++m_failures;
    }

private:
    TcpConnection &m_connection;
    QString m_line;
    int m_failures = 0;
};

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench-one-item-press <editor port> <line> <presses>\n");
        return 2;
    }
    const quint16 editorPort = quint16(QByteArray(argv[1]).toUInt());
    const int presses = QByteArray(argv[3]).toInt();

    TcpConnection connection;
    if (!connection.open(QStringLiteral("127.0.0.1"), editorPort)) {
        std::fprintf(stderr, "bench-one-item-press: %s\n", qPrintable(connection.errorString()));
        return 1;
    }
    QQuickWindow window;
    LineButton button(connection, QString::fromLatin1(argv[2]), window.contentItem());
    button.setSize(QSizeF(769, 816));
    window.resize(769, 816);
    window.showNormal();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QTest::qWait(100);

    const QPoint centre(769 / 2, 816 / 2);
    PressInstructions counter(&window);
    // Warm-up presses first, as the client gets.
    for (int i = 0; i < presses; ++i) {
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centre);
        QCoreApplication::processEvents();
    }
    counter.start();
    for (int i = 0; i < presses; ++i) {
        counter.beginPress();
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centre);
        counter.endPress();
        QCoreApplication::processEvents();
    }
    if (button.failures() > 0) {
        std::fprintf(stderr, "bench-one-item-press: %d exchanges failed\n", button.failures());
        return 1;
    }
    std::printf("counted_presses %d\n", counter.countedPresses());
    return 0;
}
