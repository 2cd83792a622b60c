// qs-editor: plays the editor's side of the link for the client. It answers every discovery
// request "qs" with "<host>m<port>", accepts TCP connections on its port, prints every line it
// receives with a time stamp and answers each with a line of its own ("ok" unless told
// otherwise). Its options make it misbehave in each of the ways the client must cope with:
// wrong, slow, cut, endless and missing answers, and connections that are never answered; with
// --chaos it changes among those ways by itself every few seconds, for long runs against it.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>
#include <iterator>
#include <sys/socket.h>

namespace {

struct Behaviour {
    QByteArray answer = "ok";
    int delayMs = 0;
    bool silent = false;
    int closeAfter = 0;
    int resetAfter = 0;
    // Pause between the single bytes of an answer; 0 sends each answer in one piece.
    int byteGapMs = 0;
    int longLine = 0;
    int vanishAfter = 0;
    // Counts the changes of behaviour: the counts of close-after, reset-after and vanish-after
    // start again from each change, for the connections already open too.
    int generation = 0;
};

void say(const QString &text) {
    const QString stamp = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    std::printf("%s %s\n", qPrintable(stamp), qPrintable(text));
    std::fflush(stdout);
}

QString peerOf(const QTcpSocket *socket) {
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

// Drops the connection with a reset rather than an orderly close.
void reset(QTcpSocket *socket) {
    struct linger hard {
        1, 0
    };
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    socket->abort();
}

// One connection from a client: reads lines, answers each.
class Session : public QObject {
public:
    Session(QTcpSocket *socket, const Behaviour &behaviour)
        : QObject(socket), m_socket(socket), m_behaviour(behaviour) {
        m_peer = peerOf(socket);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(&m_trickle, &QTimer::timeout, this, &Session::sendNextByte);
        say(QStringLiteral("connection from %1").arg(m_peer));
        connect(socket, &QTcpSocket::readyRead, this, &Session::readLines);
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            say(QStringLiteral("%1 closed").arg(m_peer));
            m_socket->deleteLater();
        });
    }

private:
    void readLines() {
        while (m_socket->canReadLine()) {
            QByteArray line = m_socket->readLine();
            line.chop(line.endsWith("\r\n") ? 2 : 1);
            ++m_lines;
            if (m_generation != m_behaviour.generation) {
                m_generation = m_behaviour.generation;
                m_linesOfGeneration = 0;
            }
            ++m_linesOfGeneration;
            say(QStringLiteral("%1 line %2: %3")
                    .arg(m_peer)
                    .arg(m_lines)
                    .arg(QString::fromLatin1(line)));
            if (m_behaviour.resetAfter > 0 && m_linesOfGeneration >= m_behaviour.resetAfter) {
                say(QStringLiteral("%1 reset").arg(m_peer));
                reset(m_socket);
                return;
            }
            if (m_behaviour.closeAfter > 0 && m_linesOfGeneration >= m_behaviour.closeAfter) {
                say(QStringLiteral("%1 closing").arg(m_peer));
                m_socket->disconnectFromHost();
                return;
            }
            if (m_behaviour.vanishAfter > 0 && m_linesOfGeneration >= m_behaviour.vanishAfter) {
                if (!m_behaviour.silent)
                    scheduleAnswer(m_lines);
                vanish();
                return;
            }
            if (!m_behaviour.silent)
                scheduleAnswer(m_lines);
        }
        // A line that never ends is not kept without bound.
        if (m_socket->bytesAvailable() > 1 << 20)
            m_socket->read(m_socket->bytesAvailable());
    }

    // The answer is made as the line comes, in the behaviour of that moment, and sent once its
    // delay is over; the line that it answers is told by its number.
    void scheduleAnswer(int line) {
        const QByteArray text =
            m_behaviour.longLine > 0 ? QByteArray(m_behaviour.longLine, 'a') : m_behaviour.answer;
        const QByteArray bytes = text + "\r\n";
        const int byteGapMs = m_behaviour.byteGapMs;
        QPointer<QTcpSocket> socket = m_socket;
        QTimer::singleShot(
            m_behaviour.delayMs, m_socket, [this, socket, bytes, text, line, byteGapMs] {
                if (!socket || socket->state() != QAbstractSocket::ConnectedState)
                    return;
                say(QStringLiteral("%1 answer %2: %3")
                        .arg(m_peer)
                        .arg(line)
                        .arg(text.size() > 40 ? QStringLiteral("%1 bytes").arg(text.size())
                                              : QString::fromLatin1(text)));
                if (byteGapMs == 0) {
                    socket->write(bytes);
                    return;
                }
                m_trickle.setInterval(byteGapMs);
                // One byte per segment, each a pause after the one before; answers keep their
                // order.
                m_outgoing += bytes;
                if (!m_trickle.isActive()) {
                    sendNextByte();
                    m_trickle.start();
                }
            });
    }

    void sendNextByte() {
        if (m_outgoing.isEmpty() || m_socket->state() != QAbstractSocket::ConnectedState) {
            m_trickle.stop();
            return;
        }
        m_socket->write(m_outgoing.left(1));
        m_socket->flush();
        m_outgoing.remove(0, 1);
    }

    // Neither answers nor reads any more, and keeps the connection open: what the client sends
    // stays with the system until its buffers are full. The answer to the last line read still
    // goes out.
    void vanish() {
        say(QStringLiteral("%1 vanishing").arg(m_peer));
        disconnect(m_socket, &QTcpSocket::readyRead, this, &Session::readLines);
        m_socket->setReadBufferSize(1);
    }

    QTcpSocket *m_socket;
    const Behaviour &m_behaviour;
    QString m_peer;
    int m_lines = 0;
    int m_generation = 0;
    int m_linesOfGeneration = 0;
    QByteArray m_outgoing;
    QTimer m_trickle;
};

// One of the ways to misbehave, drawn at random, with what it is called in the output. Each is
// kept short enough that no single exchange holds the client up for long: its read waits a
// second at a time, and an answer trickled a byte at a time gets a second for each byte.
Behaviour chaosBehaviour(QRandomGenerator &random, int generation, QString *description) {
    Behaviour b;
    b.generation = generation;
    const auto between = [&random](int low, int high) {
        return int(random.bounded(low, high + 1));
    };
    switch (random.bounded(10)) {
    case 0:
        *description = QStringLiteral("answering ok");
        break;
    case 1: {
        static const QByteArray others[] = {"OK", "ok ", "no", "error", ""};
        b.answer = others[random.bounded(int(std::size(others)))];
        *description = QStringLiteral("answering \"%1\"").arg(QString::fromLatin1(b.answer));
        break;
    }
    case 2:
        b.delayMs = between(100, 2500);
        *description = QStringLiteral("answering after %1 ms").arg(b.delayMs);
        break;
    case 3:
        b.byteGapMs = 5;
        *description = QStringLiteral("answering one byte at a time");
        break;
    case 4:
        b.byteGapMs = between(50, 600);
        *description = QStringLiteral("answering one byte every %1 ms").arg(b.byteGapMs);
        break;
    case 5:
        b.closeAfter = between(1, 6);
        *description = QStringLiteral("closing after %1 lines").arg(b.closeAfter);
        break;
    case 6:
        b.resetAfter = between(1, 6);
        *description = QStringLiteral("resetting after %1 lines").arg(b.resetAfter);
        break;
    case 7:
        b.vanishAfter = between(1, 6);
        *description = QStringLiteral("vanishing after %1 lines").arg(b.vanishAfter);
        break;
    case 8:
        b.silent = true;
        *description = QStringLiteral("answering nothing");
        break;
    default:
        b.answer = "ok";
        b.delayMs = between(0, 900);
        b.byteGapMs = between(0, 1) ? between(5, 200) : 0;
        *description = QStringLiteral("answering ok after %1 ms, %2 ms between bytes")
                           .arg(b.delayMs)
                           .arg(b.byteGapMs);
        break;
    }
    return b;
}

QString firstOwnIpv4Address() {
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    }
    return QStringLiteral("127.0.0.1");
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qs-editor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the QS editor: answers discovery requests and command "
                       "lines of the QS client."));
    parser.addHelpOption();
    const QCommandLineOption udpPort(QStringLiteral("udp-port"),
                                     QStringLiteral("UDP port for discovery requests (8090)."),
                                     QStringLiteral("port"), QStringLiteral("8090"));
    const QCommandLineOption tcpPort(QStringLiteral("tcp-port"),
                                     QStringLiteral("TCP port for connections (6000)."),
                                     QStringLiteral("port"), QStringLiteral("6000"));
    const QCommandLineOption bindAddress(
        QStringLiteral("bind"), QStringLiteral("Address to listen on (all IPv4 addresses)."),
        QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption announce(
        QStringLiteral("announce"),
        QStringLiteral("Host announced in discovery answers (this machine's first IPv4 address)."),
        QStringLiteral("host"));
    const QCommandLineOption announcePort(
        QStringLiteral("announce-port"),
        QStringLiteral("Port announced in discovery answers (the TCP port)."),
        QStringLiteral("port"));
    const QCommandLineOption replyPort(
        QStringLiteral("reply-port"),
        QStringLiteral("Port that discovery answers go to (8091; 0: the request's source port)."),
        QStringLiteral("port"), QStringLiteral("8091"));
    const QCommandLineOption noDiscovery(QStringLiteral("no-discovery"),
                                         QStringLiteral("Do not answer discovery requests."));
    const QCommandLineOption answer(QStringLiteral("answer"),
                                    QStringLiteral("Answer line to every command (ok)."),
                                    QStringLiteral("text"), QStringLiteral("ok"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Answer only after this many milliseconds."),
                                   QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Never answer a command."));
    const QCommandLineOption closeAfter(
        QStringLiteral("close-after"),
        QStringLiteral("Close the connection after receiving this many lines."),
        QStringLiteral("lines"), QStringLiteral("0"));
    const QCommandLineOption resetAfter(
        QStringLiteral("reset-after"),
        QStringLiteral("Reset the connection after receiving this many lines."),
        QStringLiteral("lines"), QStringLiteral("0"));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QStringLiteral("Send every answer one byte at a time."));
    const QCommandLineOption trickle(
        QStringLiteral("trickle"),
        QStringLiteral("Send every answer one byte at a time, one byte every this many "
                       "milliseconds."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption longLine(
        QStringLiteral("long-line"),
        QStringLiteral("Answer with a line of this many bytes instead of the answer text."),
        QStringLiteral("bytes"), QStringLiteral("0"));
    const QCommandLineOption vanishAfter(
        QStringLiteral("vanish-after"),
        QStringLiteral("After answering this many lines, neither answer nor read any more, "
                       "without closing the connection."),
        QStringLiteral("lines"), QStringLiteral("0"));
    const QCommandLineOption drop(
        QStringLiteral("drop"),
        QStringLiteral("Accept no connection: connects to the TCP port get no answer at all, as "
                       "behind a firewall that drops them."));
    const QCommandLineOption chaos(
        QStringLiteral("chaos"),
        QStringLiteral("Change the behaviour every this many milliseconds, at random among wrong, "
                       "empty, late, split, trickled and missing answers and connections closed, "
                       "reset or left hanging after a few lines; each change is printed. The "
                       "options above then set only the first behaviour."),
        QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the random choices of --chaos (a new one each run; printed)."),
        QStringLiteral("number"));
    parser.addOptions({udpPort, tcpPort, bindAddress, announce, announcePort, replyPort,
                       noDiscovery, answer, delay, silent, closeAfter, resetAfter, split, trickle,
                       longLine, vanishAfter, drop, chaos, seed});
    parser.process(app);

    Behaviour behaviour;
    behaviour.answer = parser.value(answer).toLatin1();
    behaviour.delayMs = parser.value(delay).toInt();
    behaviour.silent = parser.isSet(silent);
    behaviour.closeAfter = parser.value(closeAfter).toInt();
    behaviour.resetAfter = parser.value(resetAfter).toInt();
    behaviour.byteGapMs = parser.isSet(trickle) ? qMax(1, parser.value(trickle).toInt())
                          : parser.isSet(split) ? 5
                                                : 0;
    behaviour.longLine = parser.value(longLine).toInt();
    behaviour.vanishAfter = parser.value(vanishAfter).toInt();

    const QHostAddress listenAddress(parser.value(bindAddress));
    QTcpServer server;
    QTcpSocket filler;
    if (parser.isSet(drop)) {
        // The system completes no connection beyond the backlog and drops the attempts' first
        // packets: a backlog of none, filled by a connection of our own that is never accepted.
        server.setListenBacklogSize(0);
    }
    if (!server.listen(listenAddress, quint16(parser.value(tcpPort).toUInt()))) {
        std::fprintf(stderr, "qs-editor: TCP port: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    if (parser.isSet(drop)) {
        server.pauseAccepting();
        const QHostAddress self = listenAddress == QHostAddress(QHostAddress::AnyIPv4)
                                      ? QHostAddress(QHostAddress::LocalHost)
                                      : listenAddress;
        // Where the system keeps no connection in a backlog of none, this one is dropped too.
        filler.connectToHost(self, server.serverPort());
        filler.waitForConnected(1000);
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            new Session(socket, behaviour);
    });

    const QString host = parser.isSet(announce) ? parser.value(announce) : firstOwnIpv4Address();
    const QString port = parser.isSet(announcePort) ? parser.value(announcePort)
                                                    : QString::number(server.serverPort());
    const QByteArray discoveryAnswer = (host + QLatin1Char('m') + port).toLatin1();
    const quint16 answerPort = quint16(parser.value(replyPort).toUInt());

    QUdpSocket discovery;
    if (!parser.isSet(noDiscovery)) {
        if (!discovery.bind(listenAddress, quint16(parser.value(udpPort).toUInt()))) {
            std::fprintf(stderr, "qs-editor: UDP port: %s\n", qPrintable(discovery.errorString()));
            return 1;
        }
        QObject::connect(&discovery, &QUdpSocket::readyRead, &discovery, [&] {
            while (discovery.hasPendingDatagrams()) {
                const QNetworkDatagram request = discovery.receiveDatagram(64);
                if (request.data() != "qs")
                    continue;
                const quint16 to = answerPort ? answerPort : quint16(request.senderPort());
                discovery.writeDatagram(discoveryAnswer, request.senderAddress(), to);
                say(QStringLiteral("discovery request from %1:%2, answered %3 to port %4")
                        .arg(request.senderAddress().toString())
                        .arg(request.senderPort())
                        .arg(QString::fromLatin1(discoveryAnswer))
                        .arg(to));
            }
        });
    }

    say(QStringLiteral("%1 on TCP port %2%3")
            .arg(parser.isSet(drop) ? QStringLiteral("dropping connections")
                                    : QStringLiteral("listening"))
            .arg(server.serverPort())
            .arg(parser.isSet(noDiscovery)
                     ? QString()
                     : QStringLiteral(", UDP port %1").arg(discovery.localPort())));
    QTimer changes;
    const int chaosMs = parser.value(chaos).toInt();
    const quint32 chaosSeed =
        parser.isSet(seed) ? parser.value(seed).toUInt() : QRandomGenerator::global()->generate();
    QRandomGenerator random(chaosSeed);
    if (chaosMs > 0) {
        say(QStringLiteral("behaviour changes every %1 ms, seed %2").arg(chaosMs).arg(chaosSeed));
        changes.setInterval(chaosMs);
        QObject::connect(&changes, &QTimer::timeout, &changes, [&] {
            QString description;
            // The sessions hold the behaviour by reference: they take the change at their next
            // line.
            behaviour = chaosBehaviour(random, behaviour.generation + 1, &description);
            say(QStringLiteral("behaviour: %1").arg(description));
        });
        changes.start();
    }
    return QCoreApplication::exec();
}
