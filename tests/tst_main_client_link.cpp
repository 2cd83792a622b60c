#include "LinkTestSupport.h"
#include "MessageTexts.h"
#include "TestFiles.h"
#include "app/MainClient.h"
#include "app/TerminationSignals.h"

#include <QDir>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// What `body` writes to standard error.
QByteArray standardErrorOf(const std::function<void()> &body) {
    QTemporaryFile capture;
    if (!capture.open())
        return "(no capture)";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(capture.handle(), STDERR_FILENO);
    body();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

} // namespace

// The window's behaviour with the real link to the editor behind its presses.
class MainClientLinkTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_documents;
    QTcpServer m_editor;

private slots:
    void init() { QVERIFY(m_editor.listen(QHostAddress::LocalHost, 0)); }
    void cleanup() { m_editor.close(); }

    void theWindowSeesTheLink() {
        // What the window's QML binds to: the indicator, and the one press entry of every page.
        const QMetaObject &client = MainClient::staticMetaObject;
        const QMetaProperty indicator =
            client.property(client.indexOfProperty("indicatorConnected"));
        QVERIFY(indicator.isValid() && indicator.hasNotifySignal());
        QCOMPARE(indicator.metaType(), QMetaType::fromType<bool>());
        const int press = client.indexOfMethod("press(QString)");
        QVERIFY(press >= 0);
        QCOMPARE(client.method(press).methodType(), QMetaMethod::Method);
        QCOMPARE(client.method(press).returnMetaType(), QMetaType::fromType<bool>());
    }

    void pressesGoThroughTheRealLink() {
        QStringList events;
        RecordingBoxes boxes(events);
        MainClient client(boxes, SettingsFile(m_documents.path()),
                          LinkUnderTest::loopback(m_editor.serverPort()));
        client.press("move_client");
        client.press("Button3");
        QCOMPARE(events, (QStringList{"box: " + MessageTexts::kNoConnection,
                                      "box: " + MessageTexts::kRefused}));
        QCOMPARE(client.pages()->visiblePage(), QString("Panel1"));
        QVERIFY(client.link()->discovery().running());
    }

    void secondCopyShowsOnlyItsErrorBox() {
        // Two copies on the same discovery port, ticking every 100 ms. The second cannot take
        // the port; while its error box is open the event loop runs for five periods.
        const int periodMs = 100;
        const DiscoveryEndpoints endpoints = LinkUnderTest::loopback(9, periodMs);
        QStringList firstEvents;
        RecordingBoxes firstBoxes(firstEvents);
        MainClient first(firstBoxes, SettingsFile(m_documents.path()), endpoints);
        QVERIFY(first.start(415, 710));

        QStringList events;
        RecordingBoxes boxes(events);
        MainClient second(boxes, SettingsFile(m_documents.path()), endpoints);
        bool fittedBehindTheBox = false;
        boxes.whileOpen = [&](const QString &) {
            fittedBehindTheBox = second.scaling()->fitted();
            QTest::qWait(5 * periodMs);
        };
        QVERIFY(!second.start(830, 1420));
        QCOMPARE(events,
                 QStringList{"box: Could not bind socket. Address and port are already in use."});
        QVERIFY(fittedBehindTheBox);
        QVERIFY(!second.link()->discovery().running());
        // The first copy goes on as before.
        QVERIFY(first.link()->discovery().running());
        QVERIFY(firstEvents.isEmpty());
    }

    void signalToEndWritesTheSettings_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addRow("SIGTERM") << SIGTERM;
        QTest::addRow("SIGINT") << SIGINT;
        QTest::addRow("SIGHUP") << SIGHUP;
    }

    void signalToEndWritesTheSettings() {
        // As the program wires it: the signal reaches the event loop, the close writes the file.
        QFETCH(int, signalNumber);
        QFile::remove(m_documents.filePath("QS.INI"));
        QStringList events;
        RecordingBoxes boxes(events);
        MainClient client(boxes, SettingsFile(m_documents.path()),
                          LinkUnderTest::loopback(m_editor.serverPort()));
        QVERIFY(client.start(415, 710));
        client.fields()->setHost("10.0.0.5");
        TerminationSignals termination;
        int closes = 0;
        connect(&termination, &TerminationSignals::received, &client, [&](int received) {
            QCOMPARE(received, signalNumber);
            ++closes;
            client.closeForTermination();
        });
        QCOMPARE(::raise(signalNumber), 0);
        QTRY_COMPARE(closes, 1);
        QCOMPARE(TestFiles::read(m_documents.filePath("QS.INI")),
                 QByteArray("[Form]\nport=6000\nipserver=10.0.0.5\nScreenOn=1\n"));
        QVERIFY(events.isEmpty());
    }

    void signalToEndThatCannotWrite() {
        // No box, since nobody would answer it: the failure goes to standard error.
        QTemporaryDir dir;
        const QString notAFolder = dir.filePath("plainfile");
        QFile plain(notAFolder);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QStringList events;
        RecordingBoxes boxes(events);
        MainClient client(boxes, SettingsFile(notAFolder),
                          LinkUnderTest::loopback(m_editor.serverPort()));
        QVERIFY(client.start(415, 710));
        const QByteArray said = standardErrorOf([&] { client.closeForTermination(); });
        QCOMPARE(said, "qs-client: Unable to write to " +
                           QDir::toNativeSeparators(notAFolder + "/QS.INI").toLocal8Bit() + ".\n");
        QVERIFY(events.isEmpty());
    }

    void signalBeforeTheSettingsAreReadWritesNothing() {
        QFile::remove(m_documents.filePath("QS.INI"));
        QStringList events;
        RecordingBoxes boxes(events);
        MainClient client(boxes, SettingsFile(m_documents.path()),
                          LinkUnderTest::loopback(m_editor.serverPort()));
        client.closeForTermination();
        QVERIFY(!QFile::exists(m_documents.filePath("QS.INI")));
    }

    void closingTheWindowClosesTheConnectionWithoutLogLine() {
        QStringList events;
        RecordingBoxes boxes(events);
        QTcpSocket *peer = nullptr;
        {
            MainClient client(boxes, SettingsFile(m_documents.path()),
                              LinkUnderTest::loopback(m_editor.serverPort()));
            client.fields()->setPort(QString::number(m_editor.serverPort()));
            client.link()->connectOrDisconnect();
            QVERIFY(m_editor.waitForNewConnection(10000));
            peer = m_editor.nextPendingConnection();
            QCOMPARE(client.fields()->log(), QString("Client connected with server"));
            QVERIFY(client.indicatorConnected());
            client.press("move_client");
            client.press("Button3");
            QVERIFY(events.isEmpty());
        }
        // The editor got both lines and then the end of the stream.
        const QByteArray expected = "move_client\r\nmove_client\r\n";
        QByteArray got = peer->readAll();
        while (peer->state() == QAbstractSocket::ConnectedState && peer->waitForReadyRead(10000))
            got += peer->readAll();
        QCOMPARE(got, expected);
        QCOMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    }
};

QTEST_GUILESS_MAIN(MainClientLinkTest)
#include "tst_main_client_link.moc"
