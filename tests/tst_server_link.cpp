#include "LinkTestSupport.h"
#include "MessageTexts.h"

#include <QElapsedTimer>
#include <QTest>

#include <ctime>

namespace {

using MessageTexts::kNoConnection;
using MessageTexts::kNotFound;
using MessageTexts::kRefused;

} // namespace

// Connecting, the connection button of the settings page and the command exchange, against an
// editor played by this process on 127.0.0.1.
class ServerLinkTest : public QObject {
    Q_OBJECT

private:
    QTcpServer m_server;
    std::unique_ptr<LinkUnderTest> m_t;
    QTcpSocket *m_peer = nullptr;

    ServerLink &link() { return *m_t->link; }
    QStringList &events() { return m_t->events; }

    // Connects through the settings page's button and starts every test's event list afresh.
    bool connectToEditor() {
        m_t->fields.setHost("127.0.0.1");
        m_t->fields.setPort(QString::number(m_server.serverPort()));
        link().connectOrDisconnect();
        if (!m_server.waitForNewConnection(10000))
            return false;
        m_peer = m_server.nextPendingConnection();
        events().clear();
        return m_peer && m_t->indicatorConnected();
    }

    void editorWrites(const QByteArray &bytes) {
        m_peer->write(bytes);
        QVERIFY(m_peer->waitForBytesWritten(10000));
    }

private slots:
    void init() {
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        m_t = std::make_unique<LinkUnderTest>(LinkUnderTest::loopback());
        m_peer = nullptr;
    }

    void cleanup() {
        m_t.reset();
        m_server.close();
    }

    void connectAndDisconnectByTheButton() {
        QVERIFY(!m_t->indicatorConnected());
        QVERIFY(m_t->fields.log().isEmpty());
        link().discovery().start();
        events().clear();
        m_t->fields.setPort(QString::number(m_server.serverPort()));
        for (int round = 0; round < 2; ++round) {
            link().connectOrDisconnect();
            QVERIFY(m_server.waitForNewConnection(10000));
            link().connectOrDisconnect();
        }
        QCOMPARE(events(),
                 (QStringList{"discovery: stopped", "log: Client connected with server",
                              "indicator: connected", "log: Client disconnected from server",
                              "indicator: not connected", "discovery: started",
                              "discovery: stopped", "log: Client connected with server",
                              "indicator: connected", "log: Client disconnected from server",
                              "indicator: not connected", "discovery: started"}));
        QCOMPARE(m_t->fields.log(), QString("Client connected with server\n"
                                            "Client disconnected from server\n"
                                            "Client connected with server\n"
                                            "Client disconnected from server"));
        QVERIFY(m_t->boxes.texts.isEmpty());
    }

    void portText_data() {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<bool>("connects");
        // P stands for the editor's port, H for it in hexadecimal, W for it plus 3 * 65536.
        QTest::addRow("decimal") << "P" << true;
        QTest::addRow("leading spaces") << "  P" << true;
        QTest::addRow("hexadecimal after $") << "$H" << true;
        QTest::addRow("0x prefix") << "0xH" << true;
        QTest::addRow("low 16 bits") << "W" << true;
        QTest::addRow("trailing space") << "P " << false;
        QTest::addRow("trailing line end") << "P\r\n" << false;
        QTest::addRow("empty") << "" << false;
        QTest::addRow("letters") << "abc" << false;
        QTest::addRow("zero") << "0" << false;
        QTest::addRow("65536 is port 0") << "65536" << false;
        QTest::addRow("beyond 32 bits") << "4294967296" << false;
    }

    void portText() {
        QFETCH(QString, portText);
        QFETCH(bool, connects);
        const quint16 port = m_server.serverPort();
        portText.replace("P", QString::number(port));
        portText.replace("H", QString::number(port, 16));
        portText.replace("W", QString::number(65536 * 3 + port));
        m_t->fields.setPort(portText);
        link().discovery().start();
        events().clear();
        link().connectOrDisconnect();
        if (connects) {
            QVERIFY(m_server.waitForNewConnection(10000));
            QCOMPARE(events(),
                     (QStringList{"discovery: stopped", "log: Client connected with server",
                                  "indicator: connected"}));
        } else {
            // The box, no log line, the indicator untouched and discovery left stopped.
            QCOMPARE(events(), (QStringList{"discovery: stopped", "box: " + kNotFound}));
            QVERIFY(!m_server.hasPendingConnections());
        }
    }

    void minusOneIsPort65535() {
        QTcpServer top;
        if (!top.listen(QHostAddress::LocalHost, 65535))
            QSKIP("port 65535 on 127.0.0.1 is taken on this machine");
        m_t->fields.setPort("-1");
        link().connectOrDisconnect();
        QVERIFY(top.waitForNewConnection(10000));
        QVERIFY(m_t->indicatorConnected());
    }

    void badHosts_data() {
        QTest::addColumn<QString>("host");
        QTest::addRow("empty") << "";
        QTest::addRow("IPv6 literal") << "::1";
        QTest::addRow("no such name") << "no-such-host.invalid";
    }

    void badHosts() {
        QFETCH(QString, host);
        m_t->fields.setHost(host);
        m_t->fields.setPort(QString::number(m_server.serverPort()));
        link().connectOrDisconnect();
        QCOMPARE(events(), QStringList{"box: " + kNotFound});
        QVERIFY(!m_t->indicatorConnected());
    }

    void openThatFails_data() {
        QTest::addColumn<bool>("answered");
        QTest::addRow("refused") << true;
        QTest::addRow("never answered") << false;
    }

    void openThatFails() {
        // An address that never answers fails after the connect's time limit, exactly as a
        // refused one does at once.
        QFETCH(bool, answered);
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        quint16 port = closed.serverPort();
        closed.close();
        UnansweringPort unanswering;
        if (!answered) {
            QVERIFY(unanswering.port() != 0);
            port = unanswering.port();
        }
        QVERIFY(connectToEditor());
        link().connectOrDisconnect();
        events().clear();
        m_t->fields.setPort(QString::number(port));
        QElapsedTimer clock;
        clock.start();
        link().connectOrDisconnect();
        const qint64 took = clock.elapsed();
        // Discovery, started by the disconnect, is stopped and stays so; the indicator keeps
        // the picture it had.
        QCOMPARE(events(), (QStringList{"discovery: stopped", "box: " + kNotFound}));
        QVERIFY(!link().discovery().running());
        QVERIFY(!m_t->indicatorConnected());
        QCOMPARE(link().connection().checkOpen(), std::optional<bool>(false));
        if (!answered)
            QVERIFY2(took >= TcpConnection::kConnectLimitMs &&
                         took < TcpConnection::kConnectLimitMs + 1000,
                     qPrintable(QString("gave up after %1 ms").arg(took)));
        // The address can be corrected and connected to afterwards.
        QVERIFY(connectToEditor());
    }

    void acceptedAnswers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addRow("ok CR LF") << QByteArray("ok\r\n");
        QTest::addRow("ok LF") << QByteArray("ok\n");
        QTest::addRow("empty line") << QByteArray("\r\n");
        QTest::addRow("no answer within the wait") << QByteArray();
        QTest::addRow("one byte at a time") << QByteArray("o|k|\r|\n");
    }

    void acceptedAnswers() {
        QFETCH(QByteArray, answer);
        QVERIFY(connectToEditor());
        for (const QByteArray &part : answer.split('|'))
            if (!part.isEmpty())
                editorWrites(part);
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(receivedBy(m_peer, 4), QByteArray("k1\r\n"));
        QCOMPARE(link().exchange().reply(), QString("x"));
        QCOMPARE(events(), QStringList());
        QVERIFY(link().connection().checkOpen().value_or(false));
    }

    void refusedAnswers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addRow("capital letters") << QByteArray("OK\r\n");
        QTest::addRow("trailing space") << QByteArray("ok \r\n");
        QTest::addRow("garbage bytes") << QByteArray("\xff\x01\x80ok\r\n");
    }

    void refusedAnswers() {
        QFETCH(QByteArray, answer);
        QVERIFY(connectToEditor());
        editorWrites(answer);
        QVERIFY(link().commandLink()->sendCommand("ark17"));
        QCOMPARE(events(), (QStringList{"box: " + kRefused, "log: Client disconnected from server",
                                        "indicator: not connected", "discovery: started"}));
        QCOMPARE(link().exchange().reply(), QString("x"));
        QCOMPARE(link().connection().checkOpen(), std::optional<bool>(false));
        QCOMPARE(receivedBy(m_peer, 7), QByteArray("ark17\r\n"));
    }

    void lateAnswerIsJudgedByTheNextCommand() {
        QVERIFY(connectToEditor());
        // No answer within the wait: accepted.
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(events(), QStringList());
        // The refusal of k1 comes late and closes the connection at the next command.
        editorWrites("NO\r\n");
        QVERIFY(waitReadable(link().connection().descriptor()));
        QVERIFY(link().commandLink()->sendCommand("k2"));
        QCOMPARE(events(), (QStringList{"box: " + kRefused, "log: Client disconnected from server",
                                        "indicator: not connected", "discovery: started"}));
        QCOMPARE(receivedBy(m_peer, 8), QByteArray("k1\r\nk2\r\n"));
    }

    void editorEndsTheConnectionWhileIdle_data() {
        QTest::addColumn<bool>("reset");
        QTest::addRow("closed") << false;
        QTest::addRow("reset") << true;
    }

    void editorEndsTheConnectionWhileIdle() {
        // The client sits idle, its event loop running: the editor's close or reset is noticed
        // with no press, as a close(), and without a box, since the user did nothing.
        QFETCH(bool, reset);
        QVERIFY(connectToEditor());
        if (reset)
            closeWithReset(m_peer);
        else
            m_peer->disconnectFromHost();
        QTRY_VERIFY_WITH_TIMEOUT(!m_t->indicatorConnected(), 1000);
        QCOMPARE(events(), (QStringList{"log: Client disconnected from server",
                                        "indicator: not connected", "discovery: started"}));
        QVERIFY(m_t->boxes.texts.isEmpty());
        QCOMPARE(link().connection().descriptor(), -1);
        // The next press is a press with no connection, and connecting again works.
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(m_t->boxes.texts, QStringList{kNoConnection});
        QVERIFY(connectToEditor());
    }

    void closeMetByThePressItself() {
        // The editor's close has come but the event loop has not run since: the press meets it
        // and takes the not-connected path, the box first, without a log line.
        QVERIFY(connectToEditor());
        m_peer->disconnectFromHost();
        QVERIFY(waitReadable(link().connection().descriptor()));
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(events(), (QStringList{"box: " + kNoConnection, "discovery: started",
                                        "indicator: not connected"}));
        QVERIFY(connectToEditor());
    }

    void closeWhileTheExchangeShowsItsBox() {
        // The editor refuses and closes at once; while the refusal's box is open the event loop
        // runs, but the exchange meets the close itself: its close() finds the socket closed
        // and raises no event, so no log line; the picture still shows the connection gone.
        QVERIFY(connectToEditor());
        editorWrites("no\r\n");
        QByteArray received;
        m_t->boxes.whileOpen = [&](const QString &) {
            // Read first: a socket closed with unread bytes would reset instead.
            received = receivedBy(m_peer, 4);
            m_peer->disconnectFromHost();
            QTest::qWait(200);
        };
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(received, QByteArray("k1\r\n"));
        QCOMPARE(events(), (QStringList{"box: " + kRefused, "indicator: not connected",
                                        "discovery: started"}));
        QCOMPARE(link().connection().descriptor(), -1);
    }

    void unaskedBytesWaitForTheNextAnswer() {
        // Three bytes the editor sends unasked are the next press's answer, as they always were,
        // and while they wait the client idles instead of spinning on a readable socket.
        QVERIFY(connectToEditor());
        editorWrites("no\n");
        const std::clock_t before = std::clock();
        QTest::qWait(1000);
        const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
        QVERIFY2(cpuSeconds < 0.25, qPrintable(QString("%1 s of CPU in 1 s idle").arg(cpuSeconds)));
        QCOMPARE(events(), QStringList());
        QVERIFY(m_t->indicatorConnected());
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(events(), (QStringList{"box: " + kRefused, "log: Client disconnected from server",
                                        "indicator: not connected", "discovery: started"}));
        QCOMPARE(receivedBy(m_peer, 4), QByteArray("k1\r\n"));
    }

    void notConnectedSendsNothing() {
        link().discovery().start();
        events().clear();
        QVERIFY(link().commandLink()->sendCommand("k1"));
        // Discovery runs already and the picture shows not connected: only the box.
        QCOMPARE(events(), QStringList{"box: " + kNoConnection});
        QVERIFY(!m_server.hasPendingConnections());
    }

    void failedExchanges_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("editorCloses");
        QTest::addColumn<bool>("stillOpen");
        QTest::addRow("answer line too long") << QByteArray(16385, 'a') + "\r\n" << false << true;
        QTest::addRow("endless line") << QByteArray(70000, 'z') << false << true;
        QTest::addRow("editor closes mid-line") << QByteArray("o") << true << false;
    }

    void failedExchanges() {
        QFETCH(QByteArray, answer);
        QFETCH(bool, editorCloses);
        QFETCH(bool, stillOpen);
        QVERIFY(connectToEditor());
        editorWrites(answer);
        if (editorCloses)
            m_peer->disconnectFromHost();
        QVERIFY(waitReadable(link().connection().descriptor()));
        QVERIFY(link().commandLink()->sendCommand("k1"));
        // Discovery and the picture change first, the box comes last; the connection is not
        // closed by this path, and Label1 keeps its text.
        QCOMPARE(events(), (QStringList{"discovery: started", "indicator: not connected",
                                        "box: " + kNoConnection}));
        QCOMPARE(link().exchange().reply(), QString("ok"));
        QCOMPARE(link().connection().checkOpen().value_or(false), stillOpen);
        QVERIFY(!m_t->fields.log().contains("disconnected"));
    }

    void resetEndsThePressInTheErrorBox() {
        QVERIFY(connectToEditor());
        closeWithReset(m_peer);
        QVERIFY(waitReadable(link().connection().descriptor()));
        QVERIFY(!link().commandLink()->sendCommand("k1"));
        QCOMPARE(m_t->boxes.texts.size(), 1);
        QCOMPARE(events().size(), 1);
        // The system's own text, with the full stop of the error box.
        QVERIFY(m_t->boxes.texts.first().endsWith('.'));
        QVERIFY(m_t->boxes.texts.first() != kNoConnection + ".");
        // The next press finds the connection gone.
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(m_t->boxes.texts.last(), kNoConnection);
    }

    void moveClientIsWrittenWithoutReading() {
        QVERIFY(!link().commandLink()->writeLineUnanswered("move_client"));
        QVERIFY(connectToEditor());
        editorWrites("ok\r\n");
        QVERIFY(link().commandLink()->writeLineUnanswered("move_client"));
        QCOMPARE(receivedBy(m_peer, 13), QByteArray("move_client\r\n"));
        // Its answer stays for the next command, which it accepts.
        QVERIFY(link().commandLink()->sendCommand("k1"));
        QCOMPARE(events(), QStringList());
    }

    void closingSilently() {
        QVERIFY(connectToEditor());
        link().commandLink()->closeSilently();
        QVERIFY(m_peer->waitForDisconnected(10000) ||
                m_peer->state() != QAbstractSocket::ConnectedState);
        QCOMPARE(events(), QStringList());
    }
};

QTEST_GUILESS_MAIN(ServerLinkTest)
#include "tst_server_link.moc"
