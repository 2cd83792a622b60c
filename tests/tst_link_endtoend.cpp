#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "PrivateNetwork.h"

#include <unistd.h>

// The real client and the stand-in editor, each in a private network namespace of its own,
// joined by a veth pair: the client's broadcast finds the editor and the client connects. The
// host network is never used; where namespaces cannot be made, the test is skipped.
class LinkEndToEndTest : public QObject {
    Q_OBJECT

private:
    PrivateNetwork m_network;
    QString m_clientNs;
    QString m_editorNs;
    QProcess m_editor;
    QProcess m_client;
    QString m_editorOutput;

    static QString built(const QString &relativePath) {
        return PrivateNetwork::built(relativePath);
    }

    // The real client in its namespace, headless, with its settings in the given home.
    bool startClient(const QTemporaryDir &home) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath(".config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_client.setProcessEnvironment(environment);
        m_client.start(QStringLiteral("ip"), {"netns", "exec", m_clientNs, built("../qs-client")});
        return m_client.waitForStarted(10000);
    }

    // The stand-in editor in its namespace, announcing its address; its output is collected.
    bool startEditor(const QStringList &options = {}) {
        m_editor.disconnect(this);
        connect(&m_editor, &QProcess::readyReadStandardOutput, this, [this] {
            m_editorOutput += QString::fromLocal8Bit(m_editor.readAllStandardOutput());
        });
        m_editor.start(QStringLiteral("ip"), QStringList{"netns", "exec", m_editorNs,
                                                         built("../tools/qs-editor/qs-editor"),
                                                         "--announce", "10.231.0.2"} +
                                                 options);
        return m_editor.waitForStarted(10000);
    }

    void stop(QProcess &process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill();
        process.waitForFinished(10000);
    }

private slots:
    void initTestCase() {
        if (::geteuid() != 0)
            QSKIP("private network namespaces need root");
        if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
            QSKIP("the ip tool (iproute2) is not installed");
        QVERIFY2(QFileInfo(built("../qs-client")).isExecutable(), "qs-client is not built");
        QVERIFY2(QFileInfo(built("../tools/qs-editor/qs-editor")).isExecutable(),
                 "qs-editor is not built");

        // The limited broadcast leaves by the route it finds: the veth.
        if (!m_network.addHost("client", &m_clientNs) ||
            !m_network.addHost("editor", &m_editorNs) ||
            !m_network.join(m_clientNs, "10.231.0.1/24", m_editorNs, "10.231.0.2/24") ||
            !m_network.ip(
                {"-n", m_clientNs, "route", "add", "default", "dev", m_network.lastEnd()})) {
            const QString failure = m_network.failure();
            cleanupTestCase();
            QSKIP(qPrintable("network namespaces cannot be made here: " + failure));
        }
    }

    void cleanupTestCase() {
        stop(m_client);
        stop(m_editor);
        m_network.removeAll();
    }

    void cleanup() {
        stop(m_client);
        stop(m_editor);
        m_editor.disconnect(this);
        m_editorOutput.clear();
    }

    void broadcastFindsTheEditorAndTheClientConnects() {
        QVERIFY(startEditor());
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("listening on TCP port 6000"), 20000);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(startClient(home));

        // The first request goes out about two seconds after start; the editor answers it and
        // the client connects to the address announced.
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("connection from 10.231.0.1:"), 30000);
        QVERIFY(m_editorOutput.contains("discovery request from 10.231.0.1:8091, answered "
                                        "10.231.0.2m6000 to port 8091"));
        // Once connected, discovery has stopped and the client sends no line of its own.
        QVERIFY(!m_editorOutput.contains(" line "));
        QCOMPARE(m_client.state(), QProcess::Running);
    }

    void editorThatRestartsIsFoundAgain() {
        // The editor is ended while the client sits idle and started again a moment later: the
        // client has noticed the close, looks for the editor, and connects by itself.
        QVERIFY(startEditor());
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("listening on TCP port 6000"), 20000);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(startClient(home));
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("connection from 10.231.0.1:"), 30000);

        stop(m_editor);
        m_editorOutput.clear();
        QVERIFY(startEditor());
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("listening on TCP port 6000"), 20000);
        // Within a discovery period or two.
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("connection from 10.231.0.1:"), 6000);
        QVERIFY(m_editorOutput.contains("discovery request from 10.231.0.1:8091"));
        QCOMPARE(m_client.state(), QProcess::Running);
    }

    void signalToEndKeepsTheDiscoveredAddress_data() {
        QTest::addColumn<bool>("writable");
        QTest::addRow("settings written") << true;
        QTest::addRow("settings cannot be written") << false;
    }

    void signalToEndKeepsTheDiscoveredAddress() {
        // The editor announces itself but drops every connect: the client takes the address
        // into its fields and waits for the connect's time limit. SIGTERM then ends it as a
        // close does: the address is saved, or the failure is on standard error.
        QFETCH(bool, writable);
        QVERIFY(startEditor({"--drop"}));
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("dropping connections on TCP port 6000"),
                                 20000);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString documents = home.filePath("Documents");
        if (!writable) {
            // A file where the documents folder should be: nothing can be written inside it.
            QFile blocker(documents);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        QVERIFY(startClient(home));
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("answered 10.231.0.2m6000"), 30000);

        // The signal while the client waits on its connect to the address it took.
        QTRY_VERIFY_WITH_TIMEOUT(PrivateNetwork::tcpSockets(m_clientNs, "syn-sent")
                                     .join('\n')
                                     .contains("10.231.0.2:6000"),
                                 10000);
        // `ip netns exec` runs the client in its own place, so the signal reaches the client.
        m_client.terminate();
        QVERIFY(m_client.waitForFinished(20000));
        QCOMPARE(m_client.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_client.exitCode(), 0);
        const QString path = documents + "/QS.INI";
        if (writable) {
            QFile settings(path);
            QVERIFY(settings.open(QIODevice::ReadOnly));
            QCOMPARE(settings.readAll(),
                     QByteArray("[Form]\nport=6000\nipserver=10.231.0.2\nScreenOn=1\n"));
        } else {
            QVERIFY(m_client.readAllStandardError().contains("qs-client: Unable to write to " +
                                                             path.toLocal8Bit() + ".\n"));
        }
    }
};

QTEST_GUILESS_MAIN(LinkEndToEndTest)
#include "tst_link_endtoend.moc"
