// Press round trip: the real window (offscreen) connected over loopback to the stand-in editor,
// presses synthesized on sign buttons all over the keyboard page, each timed from the press to
// the end of its handler (answer read and judged, reset made, bindings updated). Against it, in
// the same run, the floor: a plain blocking socket client sending the same lines to the same
// editor and reading each answer. Also the resident memory after 1,000 and 10,000 presses.
#include "LoopbackClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QQmlExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

namespace {

// 5,000 timed presses and 10,000 in all, unless a shorter run is asked for (for profiling).
int timedPresses = 5000;
int allPresses = 10000;

struct Sign {
    QString word;
    QPoint point;
};

void collectSigns(QQuickItem *item, const QRegularExpression &names, QList<Sign> &out) {
    for (QQuickItem *child : item->childItems()) {
        if (!child->isVisible())
            continue;
        if (names.match(child->objectName()).hasMatch()) {
            const QPointF centre =
                child->mapToScene(QPointF(child->width() / 2, child->height() / 2));
            out.append({child->objectName(), centre.toPoint()});
        }
        collectSigns(child, names, out);
    }
}

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void printStats(const char *name, QList<qint64> ns) {
    std::sort(ns.begin(), ns.end());
    const double median = ns.at(ns.size() / 2) / 1000.0;
    const double p99 = ns.at(qMin(ns.size() - 1, qsizetype(ns.size() * 0.99))) / 1000.0;
    std::printf("%s median_us %.1f p99_us %.1f\n", name, median, p99);
}

// The floor: blocking calls and nothing else.
QList<qint64> floorRoundTrips(quint16 port, const QList<Sign> &signs) {
    QList<qint64> times;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return times;
    char buffer[256];
    for (int i = 0; i < timedPresses; ++i) {
        const QByteArray line = signs.at(i % signs.size()).word.toLatin1() + "\r\n";
        QElapsedTimer timer;
        timer.start();
        if (::send(fd, line.constData(), size_t(line.size()), 0) != line.size())
            break;
        // One answer line.
        for (;;) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0 || std::find(buffer, buffer + n, '\n') != buffer + n)
                break;
        }
        times.append(timer.nsecsElapsed());
    }
    ::close(fd);
    return times;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: bench-press <editor port> <discovery port> <request port> "
                             "[presses, for profiling]\n");
        return 2;
    }
    if (argc == 5) {
        allPresses = qMax(1000, QByteArray(argv[4]).toInt());
        timedPresses = allPresses / 2;
    }
    const quint16 editorPort = quint16(QByteArray(argv[1]).toUInt());
    LoopbackClient loopback(quint16(QByteArray(argv[2]).toUInt()),
                            quint16(QByteArray(argv[3]).toUInt()));
    MainClient &client = loopback.client;
    QuickMessageBoxes &boxes = loopback.boxes;
    QQuickWindow *window = loopback.startup.window();
    if (!window || !loopback.start())
        return 1;
    window->showNormal();
    window->resize(769, 816);
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    QTest::qWait(100);

    client.fields()->setHost(QStringLiteral("127.0.0.1"));
    client.fields()->setPort(QString::number(editorPort));
    client.link()->ConnectDisconnectClick();
    if (!client.link()->indicatorConnected()) {
        std::fprintf(stderr, "bench-press: no connection to the editor on port %u\n", editorPort);
        return 1;
    }

    // The always-shown sign groups of the keyboard page, all over it.
    QList<Sign> signs;
    collectSigns(window->contentItem(),
                 QRegularExpression(QStringLiteral("^(k|a|b|c|d|e|f|g|xr|x|sa|di)\\d+$")), signs);
    if (signs.isEmpty())
        return 1;

    QList<qint64> times;
    long rssAfter1000 = 0;
    for (int i = 0; i < allPresses; ++i) {
        const Sign &sign = signs.at(i % signs.size());
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, sign.point);
        const qint64 elapsed = timer.nsecsElapsed();
        if (i < timedPresses)
            times.append(elapsed);
        // Between presses the window runs as it does for a user: frames, hover fades.
        QCoreApplication::processEvents();
        if (i + 1 == 1000)
            rssAfter1000 = residentKiB();
        if (!boxes.openTexts().isEmpty()) {
            std::fprintf(stderr, "bench-press: a message box opened: %s\n",
                         qPrintable(boxes.openTexts().last()));
            return 1;
        }
    }
    const long rssAfterAll = residentKiB();
    client.link()->ConnectDisconnectClick();

    const QList<qint64> floor = floorRoundTrips(editorPort, signs);
    if (floor.size() != timedPresses)
        return 1;
    std::printf("signs %lld\n", qlonglong(signs.size()));
    printStats("client", times);
    printStats("floor", floor);
    std::printf("rss_after_1000_kib %ld\nrss_after_all_kib %ld\n", rssAfter1000, rssAfterAll);
    return 0;
}
