// Discovery answers as anyone on the network may send them: every input is sent as one datagram
// over loopback to the real discovery endpoint (its IPv4 socket, then its IPv6 socket), and what
// the answer handling did to the server address fields and whether it asked for a connect is
// compared with a plain reading of the answer written here.
#include "app/ClientFields.h"
#include "app/MessageBoxes.h"
#include "link/Discovery.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QUdpSocket>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// No box may open: the answer handling shows none, and the timer never ticks here.
class NoBoxes : public MessageBoxes {
public:
    void showMessage(const QString &text) override {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        std::abort();
    }
};

struct Expected {
    bool connects = false;
    QString host;
    QString port;
};

// What an answer means: the datagram byte by byte (bytes from 0x80 up as U+FFFD), split at its
// first lower-case m; longer than 20 bytes or without an m, it means nothing.
Expected reference(const uint8_t *data, size_t size, const QString &host, const QString &port) {
    Expected e{false, host, port};
    if (size > 20)
        return e;
    QString text;
    for (size_t i = 0; i < size; ++i)
        text += data[i] < 0x80 ? QChar(data[i]) : QChar(0xFFFD);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QChar('m')) {
            e.connects = true;
            e.host = text.left(i);
            e.port = text.mid(i + 1);
            return e;
        }
    }
    return e;
}

quint16 freePort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        QUdpSocket probe4;
        if (!probe4.bind(QHostAddress(QHostAddress::AnyIPv4), 0))
            continue;
        const quint16 port = probe4.localPort();
        QUdpSocket probe6;
        if (probe6.bind(QHostAddress(QHostAddress::AnyIPv6), port) ||
            probe6.error() != QAbstractSocket::AddressInUseError)
            return port;
    }
    return 0;
}

struct Harness {
    int argc = 1;
    char name[16] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    ClientFields fields;
    NoBoxes boxes;
    DiscoveryEndpoints endpoints;
    std::unique_ptr<Discovery> discovery;
    QUdpSocket sender4;
    QUdpSocket sender6;
    bool ipv6 = false;
    int connects = 0;

    Harness() {
        // Requests would go to the discard port of this machine; the timer is never started.
        endpoints = DiscoveryEndpoints::loopback(freePort(), 9, 3600000);
        discovery = std::make_unique<Discovery>(endpoints, fields, boxes);
        if (endpoints.listenPort == 0 || discovery->open()) {
            std::fprintf(stderr, "discovery endpoint cannot be opened\n");
            std::abort();
        }
        QObject::connect(discovery.get(), &Discovery::answerTaken, [this] { ++connects; });
        if (!sender4.bind(QHostAddress::LocalHost, 0))
            std::abort();
        ipv6 = sender6.bind(QHostAddress::LocalHostIPv6, 0);
    }

    // Sends the datagram and lets the endpoint take it; false if it was not sent (too large for
    // the system).
    bool deliver(QUdpSocket &sender, const QHostAddress &to, const QByteArray &datagram) {
        if (sender.writeDatagram(datagram, to, endpoints.listenPort) != datagram.size())
            return false;
        // On loopback the datagram is queued before the send returns; a handler that never
        // takes it is a hang, reported as such.
        const QDeadlineTimer limit(5000);
        while (!discovery->hasPendingDatagrams() && !limit.hasExpired())
            QThread::yieldCurrentThread();
        while (discovery->hasPendingDatagrams() && !limit.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (discovery->hasPendingDatagrams()) {
            std::fprintf(stderr, "datagram never taken\n");
            std::abort();
        }
        return true;
    }

    void check(const uint8_t *data, size_t size, QUdpSocket &sender, const QHostAddress &to) {
        const QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
        // Fields that no answer writes: a host and a port text of more than 20 characters.
        const QString host = QStringLiteral("host-before-the-answer");
        const QString port = QStringLiteral("port-before-the-answer");
        fields.setHost(host);
        fields.setPort(port);
        connects = 0;
        if (!deliver(sender, to, datagram))
            return;
        const Expected e = reference(data, size, host, port);
        if (fields.host() != e.host || fields.port() != e.port || connects != int(e.connects)) {
            std::fprintf(stderr, "answer of %zu bytes: host \"%s\" port \"%s\" connects %d\n", size,
                         qPrintable(fields.host()), qPrintable(fields.port()), connects);
            std::abort();
        }
        if (discovery->running() || !discovery->isOpen())
            std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Harness harness;
    if (size > 65507)
        return 0;
    harness.check(data, size, harness.sender4, QHostAddress(QHostAddress::LocalHost));
    if (harness.ipv6)
        harness.check(data, size, harness.sender6, QHostAddress(QHostAddress::LocalHostIPv6));
    return 0;
}
