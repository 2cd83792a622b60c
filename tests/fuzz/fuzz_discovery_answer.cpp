// Discovery answers as anyone on the network may send them: every input is handed to the answer
// handling as one received datagram, and what it did to the server address fields and whether it
// asked for a connect is compared with a plain reading of the answer written here. The sockets
// that receive datagrams have tests of their own.
#include "app/ClientFields.h"
#include "app/MessageBoxes.h"
#include "link/Discovery.h"

#include <QCoreApplication>
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

struct Harness {
    int argc = 1;
    char name[16] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    ClientFields fields;
    NoBoxes boxes;
    // Never opened, and its timer never started: nothing here touches the network.
    Discovery discovery{DiscoveryEndpoints::loopback(0, 9, 3600000), fields, boxes};
    int connects = 0;

    Harness() {
        QObject::connect(&discovery, &Discovery::answerTaken, [this] { ++connects; });
    }

    void check(const uint8_t *data, size_t size) {
        const QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
        // Fields that no answer writes: a host and a port text of more than 20 characters.
        const QString host = QStringLiteral("host-before-the-answer");
        const QString port = QStringLiteral("port-before-the-answer");
        fields.setHost(host);
        fields.setPort(port);
        connects = 0;
        discovery.IdUDPServer1UDPRead(datagram);
        const Expected e = reference(data, size, host, port);
        if (fields.host() != e.host || fields.port() != e.port || connects != int(e.connects)) {
            std::fprintf(stderr, "answer of %zu bytes: host \"%s\" port \"%s\" connects %d\n", size,
                         qPrintable(fields.host()), qPrintable(fields.port()), connects);
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
