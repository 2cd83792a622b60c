#include "LinkTestSupport.h"
#include "MessageTexts.h"

#include <QNetworkDatagram>
#include <QTest>

namespace {

using MessageTexts::kNoConnection;
using MessageTexts::kNotFound;
using MessageTexts::kTickFailed;

} // namespace

// Discovery against an editor played by this process: requests go to a socket on 127.0.0.1,
// answers come from it to the client's listening port.
class DiscoveryTest : public QObject {
    Q_OBJECT

private:
    QUdpSocket m_editorUdp;
    QTcpServer m_editorTcp;
    std::unique_ptr<LinkUnderTest> m_t;
    quint16 m_listenPort = 0;

    ServerLink &link() { return *m_t->link; }
    Discovery &discovery() { return m_t->link->discovery(); }
    QStringList &events() { return m_t->events; }

    void answer(const QByteArray &payload) {
        QCOMPARE(m_editorUdp.writeDatagram(payload, QHostAddress::LocalHost, m_listenPort),
                 qint64(payload.size()));
    }

    // Sends one answer and waits (bounded) until the client has taken it.
    void answerAndWait(const QByteArray &payload) {
        answer(payload);
        QTRY_VERIFY(discovery().hasPendingDatagrams());
        QTRY_VERIFY(!discovery().hasPendingDatagrams());
    }

    // The editor's listener has a connection, whether the event loop has taken it already or
    // it is still on its way.
    bool editorAccepted() {
        return m_editorTcp.hasPendingConnections() || m_editorTcp.waitForNewConnection(10000);
    }

    QByteArray editorAddress() const {
        return "127.0.0.1m" + QByteArray::number(m_editorTcp.serverPort());
    }

private slots:
    void init() {
        QVERIFY(m_editorUdp.bind(QHostAddress::LocalHost, 0));
        QVERIFY(m_editorTcp.listen(QHostAddress::LocalHost, 0));
        m_listenPort = freeUdpPort();
        DiscoveryEndpoints endpoints = LinkUnderTest::loopback(m_editorUdp.localPort(), 3600000);
        endpoints.listenPort = m_listenPort;
        m_t = std::make_unique<LinkUnderTest>(endpoints);
        QCOMPARE(link().start(), std::nullopt);
        QVERIFY(discovery().running());
        QVERIFY(discovery().isOpen());
        events().clear();
    }

    void cleanup() {
        m_t.reset();
        m_editorUdp.close();
        m_editorTcp.close();
    }

    void tickSendsTheRequestFromTheListeningPort() {
        discovery().sendRequestOrStop();
        QVERIFY(m_editorUdp.waitForReadyRead(10000));
        const QNetworkDatagram request = m_editorUdp.receiveDatagram();
        QCOMPARE(request.data(), QByteArray("qs"));
        QCOMPARE(request.senderPort(), int(m_listenPort));
        QCOMPARE(events(), QStringList());
    }

    void answerConnects() {
        answerAndWait(editorAddress());
        QCOMPARE(m_t->fields.host(), QString("127.0.0.1"));
        QCOMPARE(m_t->fields.port(), QString::number(m_editorTcp.serverPort()));
        QVERIFY(editorAccepted());
        QCOMPARE(events(), (QStringList{"discovery: stopped", "log: Client connected with server",
                                        "indicator: connected"}));
    }

    void answersThatFail_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addRow("no host") << QByteArray("m6000") << ""
                                 << "6000";
        QTest::addRow("no port") << QByteArray("10.0.0.1m") << "10.0.0.1"
                                 << "";
        QTest::addRow("m inside a host name") << QByteArray("homepcm6000") << "ho"
                                              << "epcm6000";
        QTest::addRow("line end after the port") << QByteArray("127.0.0.1m6000\r\n") << "127.0.0.1"
                                                 << "6000\r\n";
        QTest::addRow("byte above 0x7F")
            << QByteArray("127.0.0.1m60\xe9") << "127.0.0.1" << QString("60") + QChar(0xFFFD);
        QTest::addRow("second m stays in the port") << QByteArray("127.0.0.1m60m0") << "127.0.0.1"
                                                    << "60m0";
    }

    void answersThatFail() {
        QFETCH(QByteArray, payload);
        QFETCH(QString, host);
        QFETCH(QString, port);
        answerAndWait(payload);
        QCOMPARE(m_t->fields.host(), host);
        QCOMPARE(m_t->fields.port(), port);
        QCOMPARE(events(), (QStringList{"discovery: stopped", "box: " + kNotFound}));
        // The endpoint stays open: a later answer still connects.
        answerAndWait(editorAddress());
        QVERIFY(m_t->indicatorConnected());
    }

    void answersThatChangeNothing_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addRow("no m") << QByteArray("ok");
        QTest::addRow("empty datagram") << QByteArray();
        QTest::addRow("upper-case M") << QByteArray("10.0.0.1M6000");
        QTest::addRow("21 bytes") << QByteArray("127.0.0.1m") + QByteArray(11, '0');
        QTest::addRow("a kilobyte") << QByteArray(1024, 'm');
    }

    void answersThatChangeNothing() {
        QFETCH(QByteArray, payload);
        answerAndWait(payload);
        QCOMPARE(m_t->fields.host(), QString("127.0.0.1"));
        QCOMPARE(m_t->fields.port(), QString("6000"));
        QCOMPARE(events(), QStringList());
        QVERIFY(discovery().running());
    }

    void answerOfTwentyBytes() {
        // The port with leading zeros fills the answer up to exactly 20 bytes.
        const QByteArray payload =
            "127.0.0.1m" + QByteArray::number(m_editorTcp.serverPort()).rightJustified(10, '0');
        QCOMPARE(payload.size(), 20);
        answerAndWait(payload);
        QVERIFY(editorAccepted());
        QVERIFY(m_t->indicatorConnected());
    }

    void answerWhileConnected() {
        answerAndWait(editorAddress());
        QVERIFY(editorAccepted());
        QTcpSocket *peer = m_editorTcp.nextPendingConnection();
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        discovery().start();
        events().clear();

        answerAndWait("127.0.0.1m" + QByteArray::number(other.serverPort()));
        // Both fields take the new values, nothing is shown, discovery stops, and the
        // connection goes on with its old peer.
        QCOMPARE(m_t->fields.port(), QString::number(other.serverPort()));
        QCOMPARE(events(), QStringList{"discovery: stopped"});
        QVERIFY(link().commandLink()->writeLineUnanswered("k1"));
        QCOMPARE(receivedBy(peer, 4), QByteArray("k1\r\n"));
        QVERIFY(!other.hasPendingConnections());
    }

    void answerWhileAnotherHandlersBoxIsOpen() {
        // A press with no connection shows its box; the editor answers meanwhile.
        m_t->boxes.whileOpen = [this](const QString &) {
            answer(editorAddress());
            QTRY_VERIFY(m_t->indicatorConnected());
        };
        QVERIFY(link().commandLink()->sendCommand("k1"));
        // The rest of the press runs once its box is closed, over the new connection.
        QCOMPARE(events(), (QStringList{"box: " + kNoConnection, "discovery: stopped",
                                        "log: Client connected with server", "indicator: connected",
                                        "discovery: started", "indicator: not connected"}));
        QVERIFY(link().connection().checkOpen().value_or(false));
    }

    void nextAnswerWaitsForTheHandlerBefore() {
        // The first answer's connect fails and shows its box; a second answer that comes while
        // that box is open is handled only after the first handler has returned.
        m_t->boxes.whileOpen = [this](const QString &) {
            m_t->boxes.whileOpen = nullptr;
            answer(editorAddress());
            QTRY_VERIFY(discovery().hasPendingDatagrams());
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
            events().append("box closed");
        };
        answer("m1");
        QTRY_VERIFY(m_t->indicatorConnected());
        QCOMPARE(events(),
                 (QStringList{"discovery: stopped", "box: " + kNotFound, "box closed",
                              "log: Client connected with server", "indicator: connected"}));
    }

    void burstOfAnswers_data() {
        QTest::addColumn<int>("before");    // failing answers waiting when the first is taken
        QTest::addColumn<int>("whileOpen"); // failing answers sent while its box is open
        QTest::addColumn<bool>("editorLast");
        QTest::addRow("100 answers xm0") << 100 << 0 << false;
        QTest::addRow("1 answer, 99 more while its box is open") << 1 << 99 << false;
        QTest::addRow("99 answers, then the editor's") << 99 << 0 << true;
    }

    void burstOfAnswers() {
        // Answers announcing port 0 fail at once; one burst of them shows one box. Each still
        // takes the fields and stops discovery.
        QFETCH(int, before);
        QFETCH(int, whileOpen);
        QFETCH(bool, editorLast);
        int sent = 0;
        auto sendFailing = [&](int count) {
            for (int i = 0; i < count; ++i)
                answer("x" + QByteArray::number(sent++) + "m0");
        };
        m_t->boxes.whileOpen = [&](const QString &) {
            if (whileOpen == 0)
                return;
            sendFailing(whileOpen);
            whileOpen = 0;
            QTRY_VERIFY(discovery().hasPendingDatagrams());
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
        };
        sendFailing(before);
        if (editorLast)
            answer(editorAddress());
        QVERIFY(discovery().hasPendingDatagrams());
        QTRY_VERIFY(!discovery().hasPendingDatagrams());
        QCOMPARE(sent, editorLast ? 99 : 100);
        QStringList expected{"discovery: stopped", "box: " + kNotFound};
        if (editorLast)
            expected += QStringList{"log: Client connected with server", "indicator: connected"};
        QCOMPARE(events(), expected);
        if (!editorLast)
            QCOMPARE(m_t->fields.host(), QString("x99"));

        // A later answer is a burst of its own.
        events().clear();
        answerAndWait("ym0");
        QCOMPARE(events(),
                 QStringList(editorLast ? QStringList() : QStringList{"box: " + kNotFound}));
    }

    void secondCopyCannotBind() {
        DiscoveryEndpoints same = LinkUnderTest::loopback(m_editorUdp.localPort());
        same.listenPort = m_listenPort;
        LinkUnderTest second(same);
        QCOMPARE(second.link->start(),
                 std::optional<QString>("Could not bind socket. Address and port are already "
                                        "in use."));
        QVERIFY(!second.link->discovery().isOpen());
        // No tick falls due while the error box is shown.
        QVERIFY(!second.link->discovery().running());
        // Not even a socket that asks to share the address gets the port: address reuse is
        // off on the client's socket.
        QUdpSocket sharing;
        QVERIFY(!sharing.bind(QHostAddress(QHostAddress::AnyIPv4), m_listenPort,
                              QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
        QCOMPARE(sharing.error(), QAbstractSocket::AddressInUseError);
    }

    void restartReopensAtTheNextTick() {
        answerAndWait(editorAddress());
        QVERIFY(editorAccepted());
        events().clear();
        link().searchAgain();
        QVERIFY(!discovery().isOpen());
        QCOMPARE(events(), QStringList{"discovery: started"});
        // The connection is not touched.
        QVERIFY(link().connection().checkOpen().value_or(false));
        discovery().sendRequestOrStop();
        QVERIFY(discovery().isOpen());
        QVERIFY(m_editorUdp.waitForReadyRead(10000));
        QCOMPARE(m_editorUdp.receiveDatagram().data(), QByteArray("qs"));
    }

    void tickFailureBoxShownOnceThenDiscoveryStops() {
        // The endpoint is closed and its port taken by another socket: the tick cannot reopen.
        link().searchAgain();
        QUdpSocket squatter;
        QVERIFY(squatter.bind(QHostAddress(QHostAddress::AnyIPv4), m_listenPort,
                              QAbstractSocket::DontShareAddress));
        DiscoveryEndpoints fast = LinkUnderTest::loopback(m_editorUdp.localPort(), 10);
        fast.listenPort = m_listenPort;
        LinkUnderTest t(fast);
        int ticksWhileOpen = 0;
        t.boxes.whileOpen = [&](const QString &) {
            // Further ticks fall due while the box is open; the timer is still running.
            QTRY_VERIFY(++ticksWhileOpen > 3 && t.link->discovery().running());
            for (int i = 0; i < 5; ++i)
                t.link->discovery().sendRequestOrStop();
        };
        t.link->discovery().start();
        QTRY_VERIFY(!t.link->discovery().running());
        QCOMPARE(t.events,
                 (QStringList{"discovery: started", "box: " + kTickFailed, "discovery: stopped"}));
        QVERIFY(!t.link->discovery().isOpen());
    }

    void editorThatRestartsIsFoundAgain() {
        // Requests every 100 ms, which the editor answers while it runs. It stops: the client
        // notices at once and looks for it; it comes back on its port: the next answer
        // connects, and the next press reaches it once, with nothing shown on the way.
        m_t.reset();
        DiscoveryEndpoints fast = LinkUnderTest::loopback(m_editorUdp.localPort(), 100);
        fast.listenPort = m_listenPort;
        m_t = std::make_unique<LinkUnderTest>(fast);
        QCOMPARE(link().start(), std::nullopt);
        bool editorRuns = true;
        QObject responder;
        connect(&m_editorUdp, &QUdpSocket::readyRead, &responder, [&] {
            while (m_editorUdp.hasPendingDatagrams()) {
                const QNetworkDatagram request = m_editorUdp.receiveDatagram();
                if (editorRuns && request.data() == "qs")
                    m_editorUdp.writeDatagram(editorAddress(), request.senderAddress(),
                                              quint16(request.senderPort()));
            }
        });
        QTRY_VERIFY(m_t->indicatorConnected());
        QVERIFY(editorAccepted());
        const quint16 tcpPort = m_editorTcp.serverPort();
        QTcpSocket *peer = m_editorTcp.nextPendingConnection();
        events().clear();

        editorRuns = false;
        m_editorTcp.close();
        peer->disconnectFromHost();
        QTRY_VERIFY_WITH_TIMEOUT(!m_t->indicatorConnected(), 1000);
        QTest::qWait(300);
        QVERIFY(!m_t->indicatorConnected());

        QVERIFY(m_editorTcp.listen(QHostAddress::LocalHost, tcpPort));
        editorRuns = true;
        QTRY_VERIFY_WITH_TIMEOUT(m_editorTcp.hasPendingConnections(), 1000);
        QTRY_VERIFY(m_t->indicatorConnected());
        QCOMPARE(events(),
                 (QStringList{"log: Client disconnected from server", "indicator: not connected",
                              "discovery: started", "discovery: stopped",
                              "log: Client connected with server", "indicator: connected"}));
        peer = m_editorTcp.nextPendingConnection();
        peer->write("ok\r\n");
        QVERIFY(peer->waitForBytesWritten(10000));
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(receivedBy(peer, 4), QByteArray("k1\r\n"));
        QVERIFY(!peer->waitForReadyRead(200));
        QVERIFY(m_t->boxes.texts.isEmpty());
    }

    void requestGoesToEveryNetworkAskedAtEachTick() {
        // Beside the main request address, each tick sends to the addresses the machine's
        // networks give at that moment: here a second editor socket on 127.0.0.2, then none.
        // An address that cannot be sent to (IPv6, from the IPv4 socket) is skipped quietly.
        QUdpSocket second;
        QVERIFY(second.bind(QHostAddress("127.0.0.2"), m_editorUdp.localPort()));
        const QList<QList<QHostAddress>> networks{
            {QHostAddress::LocalHostIPv6, QHostAddress("127.0.0.2")}, {}};
        int asked = 0;
        m_t.reset();
        DiscoveryEndpoints endpoints = LinkUnderTest::loopback(m_editorUdp.localPort());
        endpoints.listenPort = m_listenPort;
        endpoints.moreRequestAddresses = [&] { return networks.value(asked++); };
        m_t = std::make_unique<LinkUnderTest>(endpoints);
        QCOMPARE(link().start(), std::nullopt);
        events().clear();

        for (int tick = 0; tick < 2; ++tick) {
            discovery().sendRequestOrStop();
            QVERIFY(m_editorUdp.waitForReadyRead(10000));
            const QNetworkDatagram request = m_editorUdp.receiveDatagram();
            QCOMPARE(request.data(), QByteArray("qs"));
            QCOMPARE(request.senderPort(), int(m_listenPort));
        }
        QCOMPARE(asked, 2);
        QVERIFY(second.hasPendingDatagrams() || second.waitForReadyRead(10000));
        const QNetworkDatagram extra = second.receiveDatagram();
        QCOMPARE(extra.data(), QByteArray("qs"));
        QCOMPARE(extra.senderPort(), int(m_listenPort));
        // The second tick's list was empty: nothing more reached 127.0.0.2.
        QVERIFY(!second.waitForReadyRead(200));
        QCOMPARE(events(), QStringList());
        QVERIFY(discovery().running());
    }

    void burstOfDatagramsStaysBounded() {
        // Thousands of stray datagrams, too long or without m; the system drops what does not
        // fit its buffer. Afterwards a real answer still connects.
        for (int i = 0; i < 3000; ++i)
            m_editorUdp.writeDatagram(i % 2 ? QByteArray(21 + i % 500, char('a' + i % 26))
                                            : QByteArray::number(i).repeated(1 + i % 3),
                                      QHostAddress::LocalHost, m_listenPort);
        QTRY_VERIFY(!discovery().hasPendingDatagrams());
        QCOMPARE(events(), QStringList());
        answerAndWait(editorAddress());
        QVERIFY(m_t->indicatorConnected());
    }
};

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
