#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// The real client and the stand-in editor, each in a private network namespace of its own,
// joined by a veth pair: the client's broadcast finds the editor and the client connects. The
// host network is never used; where namespaces cannot be made, the test is skipped.
class LinkEndToEndTest : public QObject {
    Q_OBJECT

private:
    QString m_clientNs;
    QString m_editorNs;
    QProcess m_editor;
    QProcess m_client;
    QString m_editorOutput;

    static bool ip(const QStringList &arguments, QString *failure = nullptr) {
        QProcess p;
        p.start(QStringLiteral("ip"), arguments);
        const bool ok =
            p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok && failure)
            *failure = QStringLiteral("ip %1: %2")
                           .arg(arguments.join(' '),
                                QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return ok;
    }

    static QString built(const QString &relativePath) {
        return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(relativePath);
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

        const QString id = QString::number(::getpid());
        m_clientNs = "qs-client-" + id;
        m_editorNs = "qs-editor-" + id;
        const QString clientEnd = "qsc" + id.right(9);
        const QString editorEnd = "qse" + id.right(9);
        // The veth pair is made inside the client's namespace, so that nothing is added to the
        // host's network even for a moment.
        const QList<QStringList> setup{
            {"netns", "add", m_clientNs},
            {"netns", "add", m_editorNs},
            {"-n", m_clientNs, "link", "add", clientEnd, "type", "veth", "peer", "name", editorEnd,
             "netns", m_editorNs},
            {"-n", m_clientNs, "addr", "add", "10.231.0.1/24", "dev", clientEnd},
            {"-n", m_editorNs, "addr", "add", "10.231.0.2/24", "dev", editorEnd},
            {"-n", m_clientNs, "link", "set", "lo", "up"},
            {"-n", m_editorNs, "link", "set", "lo", "up"},
            {"-n", m_clientNs, "link", "set", clientEnd, "up"},
            {"-n", m_editorNs, "link", "set", editorEnd, "up"},
            // The limited broadcast leaves by the route it finds: the veth.
            {"-n", m_clientNs, "route", "add", "default", "dev", clientEnd},
        };
        for (const QStringList &step : setup) {
            QString failure;
            if (!ip(step, &failure)) {
                cleanupTestCase();
                QSKIP(qPrintable("network namespaces cannot be made here: " + failure));
            }
        }
    }

    void cleanupTestCase() {
        stop(m_client);
        stop(m_editor);
        if (!m_clientNs.isEmpty())
            ip({"netns", "del", m_clientNs});
        if (!m_editorNs.isEmpty())
            ip({"netns", "del", m_editorNs});
        m_clientNs.clear();
        m_editorNs.clear();
    }

    void cleanup() {
        stop(m_client);
        stop(m_editor);
        m_editor.disconnect(this);
        m_editorOutput.clear();
    }

    void broadcastFindsTheEditorAndTheClientConnects() {
        connect(&m_editor, &QProcess::readyReadStandardOutput, this, [this] {
            m_editorOutput += QString::fromLocal8Bit(m_editor.readAllStandardOutput());
        });
        m_editor.start(QStringLiteral("ip"),
                       {"netns", "exec", m_editorNs, built("../tools/qs-editor/qs-editor"),
                        "--announce", "10.231.0.2"});
        QVERIFY(m_editor.waitForStarted(10000));
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
        connect(&m_editor, &QProcess::readyReadStandardOutput, this, [this] {
            m_editorOutput += QString::fromLocal8Bit(m_editor.readAllStandardOutput());
        });
        m_editor.start(QStringLiteral("ip"),
                       {"netns", "exec", m_editorNs, built("../tools/qs-editor/qs-editor"),
                        "--announce", "10.231.0.2", "--drop"});
        QVERIFY(m_editor.waitForStarted(10000));
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

        // `ip netns exec` runs the client in its own place, so the signal reaches the client.
        QTest::qWait(500);
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
