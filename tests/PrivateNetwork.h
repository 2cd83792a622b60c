#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>

#include <unistd.h>

// Hosts of the tests' own, each a private network namespace, joined by veth pairs. Nothing is
// ever added to the host's network: every pair is made inside a namespace of ours. Everything is
// removed again when the network goes away.
class PrivateNetwork {
public:
    PrivateNetwork() = default;
    ~PrivateNetwork() { removeAll(); }
    PrivateNetwork(const PrivateNetwork &) = delete;
    PrivateNetwork &operator=(const PrivateNetwork &) = delete;

    // Runs the ip tool; on failure, failure() says what went wrong.
    bool ip(const QStringList &arguments) {
        QProcess p;
        p.start(QStringLiteral("ip"), arguments);
        const bool ok =
            p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok)
            m_failure = QStringLiteral("ip %1: %2")
                            .arg(arguments.join(' '),
                                 QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
        return ok;
    }

    // A new namespace with its loopback up, named after the role and this process.
    bool addHost(const QString &role, QString *name) {
        *name = QStringLiteral("qs-%1-%2").arg(role).arg(::getpid());
        if (!ip({"netns", "add", *name}))
            return false;
        m_hosts.append(*name);
        return ip({"-n", *name, "link", "set", "lo", "up"});
    }

    // A veth pair between two hosts, each end with its address (CIDR form), both up.
    bool join(const QString &a, const QString &aAddress, const QString &b,
              const QString &bAddress) {
        const QString id = QString::number(::getpid()).right(8) + QString::number(m_pairs++);
        const QString aEnd = "qa" + id;
        const QString bEnd = "qb" + id;
        return ip({"-n", a, "link", "add", aEnd, "type", "veth", "peer", "name", bEnd, "netns",
                   b}) &&
               ip({"-n", a, "addr", "add", aAddress, "dev", aEnd}) &&
               ip({"-n", b, "addr", "add", bAddress, "dev", bEnd}) &&
               ip({"-n", a, "link", "set", aEnd, "up"}) &&
               ip({"-n", b, "link", "set", bEnd, "up"}) && (m_lastEnd = aEnd, true);
    }

    // The end in host a of the pair joined last.
    QString lastEnd() const { return m_lastEnd; }

    void removeAll() {
        for (const QString &host : std::as_const(m_hosts))
            ip({"netns", "del", host});
        m_hosts.clear();
    }

    QString failure() const { return m_failure; }

    // The TCP sockets of a host in a state as the ss tool names it ("syn-sent", "established"),
    // one line each; what a test waits on when a program's own output says nothing.
    static QStringList tcpSockets(const QString &host, const QString &state) {
        QProcess p;
        p.start(QStringLiteral("ip"), {"netns", "exec", host, "ss", "-Htn", "state", state});
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return {};
        return QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    // A program built with the project, by its path from the test's own folder.
    static QString built(const QString &relativePath) {
        return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(relativePath);
    }

private:
    QStringList m_hosts;
    QString m_failure;
    QString m_lastEnd;
    int m_pairs = 0;
};
