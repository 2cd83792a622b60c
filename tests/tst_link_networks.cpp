#include "LinkTestSupport.h"
#include "PrivateNetwork.h"

#include <QFileInfo>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <sched.h>

// A client on a machine with two networks: its default route on one, an editor on either. The
// link runs in this process, moved into the client's private namespace, with the program's own
// addresses and ports; the editors are the stand-in editor in namespaces of their own. Nothing
// here ever reaches the host's network.
class LinkNetworksTest : public QObject {
    Q_OBJECT

private:
    PrivateNetwork m_network;
    QString m_clientNs;
    QString m_routedNs;
    QString m_otherNs;
    QProcess m_editor;
    QString m_editorOutput;

    void stopEditor() {
        if (m_editor.state() == QProcess::NotRunning)
            return;
        m_editor.kill();
        m_editor.waitForFinished(10000);
    }

private slots:
    void initTestCase() {
        if (::geteuid() != 0)
            QSKIP("private network namespaces need root");
        if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
            QSKIP("the ip tool (iproute2) is not installed");
        QVERIFY2(QFileInfo(PrivateNetwork::built("../tools/qs-editor/qs-editor")).isExecutable(),
                 "qs-editor is not built");
        if (!m_network.addHost("client", &m_clientNs) ||
            !m_network.addHost("routed", &m_routedNs) || !m_network.addHost("other", &m_otherNs) ||
            !m_network.join(m_clientNs, "10.231.0.1/24", m_routedNs, "10.231.0.2/24") ||
            !m_network.ip(
                {"-n", m_clientNs, "route", "add", "default", "dev", m_network.lastEnd()}) ||
            !m_network.join(m_clientNs, "10.232.0.1/24", m_otherNs, "10.232.0.2/24")) {
            const QString failure = m_network.failure();
            m_network.removeAll();
            QSKIP(qPrintable("network namespaces cannot be made here: " + failure));
        }
        // Only this thread moves; it makes every socket of the link.
        const int ns = ::open(qPrintable("/run/netns/" + m_clientNs), O_RDONLY | O_CLOEXEC);
        QVERIFY(ns >= 0);
        QCOMPARE(::setns(ns, CLONE_NEWNET), 0);
        ::close(ns);
        // The link sees the client's two networks, and no other.
        QVERIFY(QNetworkInterface::interfaceFromName(m_network.lastEnd()).isValid());
    }

    void cleanupTestCase() {
        stopEditor();
        m_network.removeAll();
    }

    void editorIsFoundOnEitherNetwork_data() {
        QTest::addColumn<QString>("side");
        QTest::addColumn<QString>("address");
        QTest::addRow("beside the default route") << "routed"
                                                  << "10.231.0.2";
        QTest::addRow("on the other network") << "other"
                                              << "10.232.0.2";
    }

    void editorIsFoundOnEitherNetwork() {
        QFETCH(QString, side);
        QFETCH(QString, address);
        const QString editorNs = side == "routed" ? m_routedNs : m_otherNs;
        m_editorOutput.clear();
        connect(&m_editor, &QProcess::readyReadStandardOutput, this, [this] {
            m_editorOutput += QString::fromLocal8Bit(m_editor.readAllStandardOutput());
        });
        m_editor.start(QStringLiteral("ip"), {"netns", "exec", editorNs,
                                              PrivateNetwork::built("../tools/qs-editor/qs-editor"),
                                              "--announce", address});
        QVERIFY(m_editor.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains("listening on TCP port 6000"), 20000);

        // The program's own endpoints: port 8091, the limited broadcast to port 8090 every two
        // seconds, and every network's own broadcast.
        LinkUnderTest t{DiscoveryEndpoints()};
        QCOMPARE(t.link->start(), std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(t.indicatorConnected(), 10000);
        QCOMPARE(t.fields.host(), address);
        QVERIFY(m_editorOutput.contains("discovery request from 10.23"));

        QVERIFY(t.link->commandLink()->sendCommand("k1"));
        QTRY_VERIFY_WITH_TIMEOUT(m_editorOutput.contains(" line 1: k1"), 5000);
        QVERIFY(t.boxes.texts.isEmpty());
        QVERIFY(!t.link->discovery().running());

        t.link->commandLink()->closeSilently();
        t.link.reset();
        stopEditor();
        m_editor.disconnect(this);
    }
};

QTEST_GUILESS_MAIN(LinkNetworksTest)
#include "tst_link_networks.moc"
