#include "LinkTestSupport.h"
#include "link/TcpConnection.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

// The connection to the editor against a peer in this process on 127.0.0.1.
class TcpConnectionTest : public QObject {
    Q_OBJECT

private:
    QTcpServer m_server;
    std::unique_ptr<TcpConnection> m_connection;
    QTcpSocket *m_peer = nullptr;

    bool connectToServer() {
        if (!m_connection->open("127.0.0.1", m_server.serverPort()))
            return false;
        if (!m_server.waitForNewConnection(10000))
            return false;
        m_peer = m_server.nextPendingConnection();
        return m_peer != nullptr;
    }

    // Bytes of every value but LF.
    static QByteArray garbage(int size) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char((i * 131 + 7) % 256 == 10 ? 11 : (i * 131 + 7) % 256);
        return bytes;
    }

    void peerWrites(const QByteArray &bytes) {
        m_peer->write(bytes);
        QVERIFY(m_peer->waitForBytesWritten(10000));
    }

private slots:
    void init() {
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        m_connection = std::make_unique<TcpConnection>();
        m_peer = nullptr;
    }

    void cleanup() {
        m_connection.reset();
        m_server.close();
    }

    void readLn_data() {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("line");

        const QByteArray limit(16384, 'a');
        QTest::addRow("CR LF") << QList<QByteArray>{"ok\r\n"} << true << "ok";
        QTest::addRow("LF alone") << QList<QByteArray>{"ok\n"} << true << "ok";
        QTest::addRow("CR CR LF keeps one CR") << QList<QByteArray>{"ok\r\r\n"} << true << "ok\r";
        QTest::addRow("empty line") << QList<QByteArray>{"\r\n"} << true << "";
        QTest::addRow("byte 233") << QList<QByteArray>{"caf\xe9!\r\n"} << true
                                  << QString("caf") + QChar(0xFFFD) + "!";
        QTest::addRow("control bytes kept") << QList<QByteArray>{QByteArray("a\0b\x7f\r\n", 6)}
                                            << true << QString::fromLatin1("a\0b\x7f", 4);
        QTest::addRow("one byte at a time")
            << QList<QByteArray>{"o", "k", "\r", "\n"} << true << "ok";
        QTest::addRow("LF at 16384")
            << QList<QByteArray>{limit + "\n"} << true << QString(16384, 'a');
        QTest::addRow("LF at 16385") << QList<QByteArray>{limit + "a\n"} << false << "";
        QTest::addRow("LF far beyond")
            << QList<QByteArray>{QByteArray(40000, 'b') + "\n"} << false << "";
        QTest::addRow("16385 bytes without LF") << QList<QByteArray>{limit + "a"} << false << "";
        QTest::addRow("16384 bytes without LF: the wait ends")
            << QList<QByteArray>{limit} << true << "";
    }

    void readLn() {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(bool, read);
        QFETCH(QString, line);
        QVERIFY(connectToServer());
        for (const QByteArray &bytes : writes)
            peerWrites(bytes);
        const std::optional<QString> got = m_connection->readLine();
        QCOMPARE(got.has_value(), read);
        if (read)
            QCOMPARE(*got, line);
        // A failed read leaves the connection open.
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(true));
    }

    void linesAreTakenOneByOneAndPartsStayBuffered() {
        QVERIFY(connectToServer());
        peerWrites("first\r\nsecond\nthi");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("first"));
        QCOMPARE(m_connection->readLine(), std::optional<QString>("second"));
        // Only part of the third line has come: the wait ends with an empty text.
        QCOMPARE(m_connection->readLine(), std::optional<QString>(""));
        peerWrites("rd\r\n");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("third"));
    }

    void writeLnSendsAsciiAndCrLf() {
        QVERIFY(connectToServer());
        QVERIFY(m_connection->writeLine(QString("k1")));
        QVERIFY(m_connection->writeLine(QString("caf\u00e9 \u03b1") +
                                        QString::fromUtf8("\xf0\x9f\x98\x80")));
        QVERIFY(m_connection->writeLine(QString()));
        const QByteArray expected = "k1\r\ncaf? ???\r\n\r\n";
        QCOMPARE(receivedBy(m_peer, expected.size()), expected);
    }

    void events() {
        QSignalSpy connected(m_connection.get(), &TcpConnection::opened);
        QSignalSpy disconnected(m_connection.get(), &TcpConnection::closed);
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(false));
        m_connection->close();
        QCOMPARE(disconnected.count(), 0);

        QVERIFY(connectToServer());
        QCOMPARE(connected.count(), 1);
        // A second open while open fails without an event.
        QVERIFY(!m_connection->open("127.0.0.1", m_server.serverPort()));
        QCOMPARE(connected.count(), 1);

        m_connection->close();
        QCOMPARE(disconnected.count(), 1);
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(false));
        // The peer sees the end of the stream.
        QVERIFY(m_peer->waitForDisconnected(10000) ||
                m_peer->state() == QAbstractSocket::UnconnectedState);
        m_connection->close();
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(!m_connection->writeLine("k1"));
    }

    void failedOpens_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addRow("empty host") << "" << -1;
        QTest::addRow("port 0") << "127.0.0.1" << 0;
        QTest::addRow("IPv6 only") << "::1" << -1;
        QTest::addRow("nobody listening") << "127.0.0.1" << -2;
        QTest::addRow("never answered: given up after the limit") << "127.0.0.1" << -3;
    }

    void failedOpens() {
        QFETCH(QString, host);
        QFETCH(int, port);
        quint16 target = m_server.serverPort();
        if (port == 0)
            target = 0;
        if (port == -2) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            target = closed.serverPort();
        }
        UnansweringPort unanswering;
        if (port == -3) {
            QVERIFY(unanswering.port() != 0);
            target = unanswering.port();
        }
        QSignalSpy connected(m_connection.get(), &TcpConnection::opened);
        QSignalSpy disconnected(m_connection.get(), &TcpConnection::closed);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!m_connection->open(host, target));
        if (port == -3) {
            const qint64 took = clock.elapsed();
            QVERIFY2(took >= TcpConnection::kConnectLimitMs &&
                         took < TcpConnection::kConnectLimitMs + 1000,
                     qPrintable(QString("gave up after %1 ms").arg(took)));
        }
        QVERIFY(!m_connection->errorString().isEmpty());
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(false));
        QCOMPARE(connected.count(), 0);
        QCOMPARE(disconnected.count(), 0);
        // The connection can still be opened afterwards.
        QVERIFY(connectToServer());
    }

    void peerCloseIsNoticedAtTheNextUseWithoutEvent() {
        QSignalSpy disconnected(m_connection.get(), &TcpConnection::closed);
        QVERIFY(connectToServer());
        peerWrites("ok\r\n");
        m_peer->disconnectFromHost();
        QVERIFY(waitReadable(m_connection->descriptor()));
        // The line that came before the close is still read.
        QCOMPARE(m_connection->readLine(), std::optional<QString>("ok"));
        QCOMPARE(m_connection->readLine(), std::nullopt);
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(false));
        QVERIFY(!m_connection->writeLine("k1"));
        m_connection->close();
        QCOMPARE(disconnected.count(), 0);
    }

    void peerCloseMidLineFailsTheRead() {
        QVERIFY(connectToServer());
        peerWrites("o");
        m_peer->disconnectFromHost();
        QCOMPARE(m_connection->readLine(), std::nullopt);
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(false));
    }

    void nextOpenEmptiesTheInput() {
        QVERIFY(connectToServer());
        peerWrites("first\r\npartial");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("first"));
        QCOMPARE(m_connection->readLine(), std::optional<QString>(""));
        m_connection->close();
        QVERIFY(connectToServer());
        peerWrites("second\r\n");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("second"));
    }

    void resetIsAReceiveError() {
        QVERIFY(connectToServer());
        closeWithReset(m_peer);
        QVERIFY(waitReadable(m_connection->descriptor()));
        QCOMPARE(m_connection->checkOpen(), std::nullopt);
        QVERIFY(!m_connection->errorString().isEmpty());
        // The error has been reported; the next check finds the connection gone.
        const std::optional<bool> after = m_connection->checkOpen();
        QVERIFY(after.has_value() && !*after);
        QVERIFY(connectToServer());
    }

    void resetMidLineFailsTheRead() {
        QVERIFY(connectToServer());
        peerWrites("o");
        QVERIFY(waitReadable(m_connection->descriptor()));
        QVERIFY(m_connection->checkOpen().value_or(false));
        closeWithReset(m_peer);
        QCOMPARE(m_connection->readLine(), std::nullopt);
        QVERIFY(connectToServer());
        peerWrites("ok\r\n");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("ok"));
    }

    void overlongLineIsDroppedAndTheNextLineRead_data() {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<qsizetype>("left");
        const QByteArray limit(16384, 'a');
        QTest::addRow("LF at 16385") << QList<QByteArray>{limit + "a\nok\r\n"} << qsizetype(0);
        QTest::addRow("LF far beyond")
            << QList<QByteArray>{QByteArray(100000, 'b') + "\nok\n"} << qsizetype(0);
        QTest::addRow("LF after the failing read")
            << QList<QByteArray>{limit + "a", QByteArray(50000, 'c') + "\nok\r\nnext"}
            << qsizetype(4);
        QTest::addRow("bytes of every value but LF")
            << QList<QByteArray>{garbage(96 * 1024), garbage(3000) + "\nok\r\n"} << qsizetype(0);
    }

    void overlongLineIsDroppedAndTheNextLineRead() {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(qsizetype, left);
        QVERIFY(connectToServer());
        peerWrites(writes.first());
        QVERIFY(waitReadable(m_connection->descriptor()));
        QCOMPARE(m_connection->readLine(), std::nullopt);
        QVERIFY(m_connection->bufferedBytes() <= TcpConnection::kLongestLine);
        for (const QByteArray &bytes : writes.mid(1))
            peerWrites(bytes);
        // The rest of the long line goes, the answer after it is taken, what follows stays.
        QCOMPARE(m_connection->readLine(), std::optional<QString>("ok"));
        QCOMPARE(m_connection->bufferedBytes(), left);
        QCOMPARE(m_connection->checkOpen(), std::optional<bool>(true));
    }

    void endlessLineKeepsTheInputBounded() {
        QVERIFY(connectToServer());
        // A peer that sends bytes of every value but LF without end: each press checks the
        // connection and reads; the input never holds more than one receive beyond the limit.
        qsizetype largest = 0;
        for (int press = 0; press < 6; ++press) {
            peerWrites(garbage(40000 + press));
            QVERIFY(waitReadable(m_connection->descriptor()));
            QVERIFY(m_connection->checkOpen().value_or(false));
            largest = qMax(largest, m_connection->bufferedBytes());
            // The first read meets the long line; later ones drop what has come of it, and
            // their wait ends without a line.
            const std::optional<QString> read = m_connection->readLine();
            QVERIFY(press == 0 ? !read.has_value() : read == QString());
            largest = qMax(largest, m_connection->bufferedBytes());
        }
        QVERIFY2(largest <= TcpConnection::kLongestLine + TcpConnection::kReceiveSize,
                 qPrintable(QString::number(largest)));
        peerWrites("\nok\r\n");
        QCOMPARE(m_connection->readLine(), std::optional<QString>("ok"));
    }

    void backlogOfAnswersIsBoundedAndKeptWhole() {
        QVERIFY(connectToServer());
        // Far more answer lines than the backlog holds, sent before any read.
        QByteArray lines;
        const int count = 60000;
        for (int i = 0; i < count; ++i)
            lines += QByteArray::number(i) + "\r\n";
        m_peer->write(lines);
        int taken = 0;
        for (int check = 0; check < 40; ++check) {
            QVERIFY(m_connection->checkOpen().value_or(false));
            QVERIFY(m_connection->bufferedBytes() <= TcpConnection::kLargestInput);
            m_peer->waitForBytesWritten(0);
        }
        // Every line comes out, once and in order, while the editor is held back by the system.
        while (taken < count) {
            m_peer->waitForBytesWritten(0);
            const std::optional<QString> line = m_connection->readLine();
            QVERIFY(line.has_value());
            QCOMPARE(*line, QString::number(taken));
            ++taken;
            QVERIFY(m_connection->bufferedBytes() <= TcpConnection::kLargestInput);
            if (taken % 1000 == 0)
                QVERIFY(m_connection->checkOpen().value_or(false));
        }
        QCOMPARE(m_connection->bufferedBytes(), 0);
    }
};

QTEST_GUILESS_MAIN(TcpConnectionTest)
#include "tst_tcp_connection.moc"
