// Press round trip: the real window (offscreen) connected over loopback to the stand-in editor,
// presses synthesized on sign buttons all over the keyboard page, each timed from the press to
// the end of its handler (answer read and judged, reset made, bindings updated, and whatever the
// toolkit runs of its events at the end of the press, a frame included when one is due).
//
// The floor is a plain blocking socket client on a second connection to the same editor,
// sending the same line and reading the answer; one floor exchange follows each timed press, so
// that both see the same load of a shared machine. Presses during which the window drew a frame
// are told apart from those that drew none. Also the resident memory after 1,000 presses and
// after all of them.
//
// With --instructions the program counts, under callgrind, the instructions of each press
// instead (see PressInstructions); no timing and no floor then.
#include "LoopbackClient.h"
#include "PressInstructions.h"
#include "app/ButtonGroup.h"

#include <QCommandLineParser>
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
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

namespace {

struct Sign {
    QString word;
    QPoint point;
};

// The sign buttons of the keyboard page that are shown, with their command words and centres in
// window pixels, in the order the page builds them. The only place that knows how the page's
// buttons are made.
QList<Sign> collectSigns(QQuickWindow *window) {
    static const QRegularExpression names(QStringLiteral("^(k|a|b|c|d|e|f|g|xr|x|sa|di)\\d+$"));
    QList<Sign> out;
    QList<QQuickItem *> pending{window->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeLast();
        // The signs are buttons of the shown groups, each group listing its own.
        if (const auto *group = qobject_cast<ButtonGroup *>(item)) {
            for (const QString &name : group->buttonNames()) {
                if (names.match(name).hasMatch())
                    out.append({name, group->buttonSceneRect(name).center().toPoint()});
            }
        }
        const QList<QQuickItem *> children = item->childItems();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            if ((*child)->isVisible())
                pending.append(*child);
    }
    return out;
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
    if (ns.isEmpty()) {
        std::printf("%s count 0\n", name);
        return;
    }
    std::sort(ns.begin(), ns.end());
    const double median = ns.at(ns.size() / 2) / 1000.0;
    const double p99 = ns.at(qMin(ns.size() - 1, qsizetype(ns.size() * 0.99))) / 1000.0;
    std::printf("%s count %lld median_us %.1f p99_us %.1f\n", name, qlonglong(ns.size()), median,
                p99);
}

// The floor: blocking calls and nothing else, on its own connection to the editor.
class FloorClient {
public:
    explicit FloorClient(quint16 port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~FloorClient() { ::close(m_fd); }
    FloorClient(const FloorClient &) = delete;
    FloorClient &operator=(const FloorClient &) = delete;

    bool connected() const { return m_connected; }

    // Nanoseconds from sending the line to having its answer line; -1 on failure.
    qint64 exchange(const QByteArray &line) {
        QElapsedTimer timer;
        timer.start();
        if (::send(m_fd, line.constData(), size_t(line.size()), 0) != line.size())
            return -1;
        char buffer[256];
        for (;;) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return -1;
            if (std::find(buffer, buffer + n, '\n') != buffer + n)
                break;
        }
        return timer.nsecsElapsed();
    }

private:
    int m_fd;
    bool m_connected = false;
};

// Counts the frames the window finishes, and how long each took: the window's handling of its
// update request, from the hover the toolkit delivers again at the start of a frame to the swap
// (the software renderer draws on this thread). The filter delivers the request itself to time
// it.
class FrameWatch : public QObject {
public:
    explicit FrameWatch(QQuickWindow *window) : QObject(window) {
        connect(
            window, &QQuickWindow::frameSwapped, this, [this] { ++m_frames; },
            Qt::DirectConnection);
        window->installEventFilter(this);
    }
    int frames() const { return m_frames; }
    qint64 lastFrameNs() const { return m_lastFrameNs; }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::UpdateRequest)
            return false;
        const int framesBefore = m_frames;
        QElapsedTimer timer;
        timer.start();
        static_cast<QObject *>(watched)->event(event);
        if (m_frames != framesBefore)
            m_lastFrameNs = timer.nsecsElapsed();
        return true;
    }

private:
    int m_frames = 0;
    qint64 m_lastFrameNs = 0;
};

void press(QQuickWindow *window, const Sign &sign) {
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, sign.point);
}

// A message box waits for a user who is not there: a bench that meets one says what it said and
// ends at once, from inside the box's own event loop.
void failOnMessageBox(QuickMessageBoxes &boxes) {
    QObject::connect(&boxes, &QuickMessageBoxes::openTextsChanged, &boxes, [&boxes] {
        if (boxes.openTexts().isEmpty())
            return;
        std::fprintf(stderr, "bench-press: a message box opened: %s\n",
                     qPrintable(boxes.openTexts().last()));
        std::fflush(stderr);
        std::_Exit(1);
    });
}

// Presses 0..presses-1: the first tenth warms up, the next half is timed, each followed by a
// floor exchange; all run on for the memory figures.
int runTimed(QQuickWindow *window, const QList<Sign> &signs, quint16 editorPort, int presses) {
    FloorClient floorClient(editorPort);
    if (!floorClient.connected()) {
        std::fprintf(stderr, "bench-press: the floor client could not connect\n");
        return 1;
    }
    FrameWatch frames(window);
    const int firstTimed = presses / 10;
    const int endTimed = firstTimed + presses / 2;
    QList<qint64> all, frameless, withFrame, frameTimes, floor;
    long rssAfter1000 = 0;
    for (int i = 0; i < presses; ++i) {
        const Sign &sign = signs.at(i % signs.size());
        const int framesBefore = frames.frames();
        QElapsedTimer timer;
        timer.start();
        press(window, sign);
        const qint64 elapsed = timer.nsecsElapsed();
        if (i >= firstTimed && i < endTimed) {
            all.append(elapsed);
            if (frames.frames() == framesBefore) {
                frameless.append(elapsed);
            } else {
                withFrame.append(elapsed);
                frameTimes.append(frames.lastFrameNs());
            }
            const qint64 floorNs = floorClient.exchange(sign.word.toLatin1() + "\r\n");
            if (floorNs < 0) {
                std::fprintf(stderr, "bench-press: the floor exchange failed\n");
                return 1;
            }
            floor.append(floorNs);
        }
        // Between presses the window runs as it does for a user: frames, hover fades.
        QCoreApplication::processEvents();
        if (i + 1 == 1000)
            rssAfter1000 = residentKiB();
    }
    const long rssAfterAll = residentKiB();
    std::printf("signs %lld\npresses %d\n", qlonglong(signs.size()), presses);
    printStats("client", all);
    printStats("client_frameless", frameless);
    printStats("client_frame", withFrame);
    printStats("frame_render", frameTimes);
    printStats("floor", floor);
    std::printf("rss_after_1000_kib %ld\nrss_after_all_kib %ld\n", rssAfter1000, rssAfterAll);
    return 0;
}

// One warm-up press on every sign, then the counted presses.
int runInstructions(QQuickWindow *window, const QList<Sign> &signs, int presses) {
    PressInstructions counter(window);
    for (const Sign &sign : signs) {
        press(window, sign);
        QCoreApplication::processEvents();
    }
    counter.start();
    for (int i = 0; i < presses; ++i) {
        counter.beginPress();
        press(window, signs.at(i % signs.size()));
        counter.endPress();
        QCoreApplication::processEvents();
    }
    std::printf("signs %lld\ncounted_presses %d\n", qlonglong(signs.size()),
                counter.countedPresses());
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("editor-port"), QStringLiteral("Editor's port."));
    parser.addPositionalArgument(QStringLiteral("discovery-port"), QStringLiteral("Loopback."));
    parser.addPositionalArgument(QStringLiteral("request-port"), QStringLiteral("Loopback."));
    const QCommandLineOption pressesOption(
        QStringLiteral("presses"),
        QStringLiteral("Presses: timed runs make 10000 in all (at least 1000), counted runs count "
                       "200 after a warm-up pass."),
        QStringLiteral("count"));
    const QCommandLineOption instructionsOption(
        QStringLiteral("instructions"),
        QStringLiteral("Count instructions per press under callgrind instead of timing."));
    parser.addOptions({pressesOption, instructionsOption});
    parser.process(app);
    const QStringList ports = parser.positionalArguments();
    if (ports.size() != 3) {
        std::fprintf(stderr, "usage: bench-press <editor port> <discovery port> <request port> "
                             "[--presses N] [--instructions]\n");
        return 2;
    }
    const bool instructions = parser.isSet(instructionsOption);
    int presses = instructions ? 200 : 10000;
    if (parser.isSet(pressesOption))
        presses = parser.value(pressesOption).toInt();
    if (!instructions)
        presses = qMax(1000, presses);

    const quint16 editorPort = quint16(ports.at(0).toUInt());
    LoopbackClient loopback(quint16(ports.at(1).toUInt()), quint16(ports.at(2).toUInt()));
    MainClient &client = loopback.client;
    failOnMessageBox(loopback.boxes);
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
    client.link()->connectOrDisconnect();
    if (!client.indicatorConnected()) {
        std::fprintf(stderr, "bench-press: no connection to the editor on port %u\n", editorPort);
        return 1;
    }

    // The always-shown sign groups of the keyboard page, all over it.
    const QList<Sign> signs = collectSigns(window);
    if (signs.isEmpty())
        return 1;

    const int result = instructions ? runInstructions(window, signs, presses)
                                    : runTimed(window, signs, editorPort, presses);
    client.link()->connectOrDisconnect();
    return result;
}
