#include "LinkTestSupport.h"
#include "MainClient.h"

#include <QMetaMethod>
#include <QTemporaryDir>
#include <QTest>

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
        // What the window's QML binds to: client.link with these names.
        const QMetaObject &client = MainClient::staticMetaObject;
        QVERIFY(client.indexOfProperty("link") >= 0);
        const QMetaObject &link = ServerLink::staticMetaObject;
        const QMetaProperty indicator = link.property(link.indexOfProperty("indicatorConnected"));
        QVERIFY(indicator.isValid() && indicator.hasNotifySignal());
        QCOMPARE(indicator.metaType(), QMetaType::fromType<bool>());
        for (const char *press : {"ConnectDisconnectClick()", "con_SpeedButtonClick()"}) {
            const int index = link.indexOfMethod(press);
            QVERIFY2(index >= 0, press);
            QCOMPARE(link.method(index).methodType(), QMetaMethod::Method);
        }
    }

    void pressesGoThroughTheRealLink() {
        QStringList events;
        RecordingBoxes boxes(events);
        MainClient client(boxes, SettingsFile(m_documents.path()),
                          LinkUnderTest::loopback(m_editor.serverPort()));
        client.move_clientClick();
        client.Button3Click();
        QCOMPARE(events, (QStringList{"box: Πρόβλημα!!! Δεν υπάρχει σύνδεση με τον Server QS",
                                      "box: Πρόβλημα! Δεν υπάρχει σύνδεση με τον Server QS"}));
        QCOMPARE(client.pages()->visiblePage(), QString("Panel1"));
        QVERIFY(client.link()->discovery().running());
    }

    void closingTheWindowClosesTheConnectionWithoutLogLine() {
        QStringList events;
        RecordingBoxes boxes(events);
        QTcpSocket *peer = nullptr;
        {
            MainClient client(boxes, SettingsFile(m_documents.path()),
                              LinkUnderTest::loopback(m_editor.serverPort()));
            client.fields()->setEdit3(QString::number(m_editor.serverPort()));
            client.link()->ConnectDisconnectClick();
            QVERIFY(m_editor.waitForNewConnection(10000));
            peer = m_editor.nextPendingConnection();
            QCOMPARE(client.fields()->memo1(), QString("Client connected with server"));
            QVERIFY(client.link()->indicatorConnected());
            client.move_clientClick();
            client.Button3Click();
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
