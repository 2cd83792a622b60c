// Discovery answers as anyone on the network may send them: every input is handed to the answer
// handling as one received datagram, and the address it handed on and whether it asked for a
// connect are compared with a plain reading of the answer written here. The sockets
// that receive datagrams have tests of their own.
#include "link/Discovery.h"
#include "link/LinkReports.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The answer handling reports nothing itself (the link reports the address it connects to), and
// the timer never ticks here: any report is a fault.
class NoReports : public LinkReports {
public:
    void showMessage(const QString &text) override { unexpected("box", text); }
    void showError(const QString &text) override { unexpected("error box", text); }
    void appendLogLine(const QString &line) override { unexpected("log line", line); }
    void showConnected(bool) override { unexpected("indicator", {}); }
    void showServerAddress(const QString &host, const QString &) override {
        unexpected("address", host);
    }

private:
    static void unexpected(const char *what, const QString &text) {
        std::fprintf(stderr, "unexpected %s: %s\n", what, qPrintable(text));
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

struct Harness {
    int argc = 1;
    char name[16] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    NoReports reports;
    // Never opened, and its timer never started: nothing here touches the network.
    Discovery discovery{DiscoveryEndpoints::loopback(0, 9, 3600000), reports};
    int connects = 0;
    QString host;
    QString port;

    Harness() {
        QObject::connect(&discovery, &Discovery::answerTaken,
                         [this](const QString &answerHost, const QString &answerPort) {
                             ++connects;
                             host = answerHost;
                             port = answerPort;
                         });
    }

    void check(const uint8_t *data, size_t size) {
        const QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
        // An address that no answer hands on: a host and a port text of more than 20 characters.
        const QString before = QStringLiteral("host-before-the-answer");
        const QString portBefore = QStringLiteral("port-before-the-answer");
        host = before;
        port = portBefore;
        connects = 0;
        discovery.takeAnswer(datagram);
        const Expected e = reference(data, size, before, portBefore);
        if (host != e.host || port != e.port || connects != int(e.connects)) {
            std::fprintf(stderr, "answer of %zu bytes: host \"%s\" port \"%s\" connects %d\n", size,
                         qPrintable(host), qPrintable(port), connects);
            std::abort();
        }
        const std::optional<DiscoveryAnswer> answer = DiscoveryAnswer::read(datagram);
        if (answer.has_value() != e.connects ||
            (answer && (answer->host != e.host || answer->port != e.port)))
            std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Harness harness;
    harness.check(data, size);
    return 0;
}
