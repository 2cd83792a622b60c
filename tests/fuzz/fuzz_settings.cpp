// The settings file's text as anything may have written it: reading never fails, and a close's
// write followed by a read gives back the three fields and keeps every other line of the text.
// The text is driven in memory; putting it on disk has tests of its own.
#include "app/ClientFields.h"
#include "app/IniDocument.h"
#include "app/SettingsText.h"

#include <cstdint>
#include <cstdlib>

namespace {

QList<QByteArray> lines(const QByteArray &bytes) {
    QList<QByteArray> out = bytes.split('\n');
    for (QByteArray &line : out)
        if (line.endsWith('\r'))
            line.chop(1);
    return out;
}

// A byte-order mark before the first line is no part of it: the file keeps the mark at its start
// and reads the line behind it.
const QByteArray kByteOrderMark("\xEF\xBB\xBF");

QByteArray withoutMark(const QByteArray &bytes) {
    return bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes;
}

bool isSubsequence(const QList<QByteArray> &part, const QList<QByteArray> &whole) {
    qsizetype at = 0;
    for (const QByteArray &line : part) {
        while (at < whole.size() && whole.at(at) != line)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

bool isOwnKeyLine(const QByteArray &line) {
    const QByteArray key = line.left(line.indexOf('=')).trimmed().toLower();
    return line.contains('=') && (key == "port" || key == "ipserver" || key == "screenon");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The text form itself loses nothing.
    if (IniDocument::fromBytes(bytes).toBytes() != bytes)
        std::abort();

    ClientFields fields;
    SettingsText::read(bytes, fields);

    // Fields a user could have typed: a port and a host made from the first bytes.
    const int port = size > 0 ? int(data[0]) * 257 - 30000 : 6000;
    QString host;
    for (size_t i = 1; i < size && i < 24; ++i)
        if (data[i] > ' ' && data[i] < 127 && data[i] != '"')
            host += QChar(data[i]);
    fields.setPort(QString::number(port));
    fields.setHost(host);
    fields.setScreenOn(size % 2);
    const std::optional<QByteArray> written = SettingsText::written(bytes, fields);
    if (!written)
        std::abort();

    ClientFields again;
    SettingsText::read(*written, again);
    if (again.port() != QString::number(port) || again.host() != host ||
        again.screenOn() != fields.screenOn())
        std::abort();

    // Every line that is not one of the three keys is still there, in its order.
    if (bytes.startsWith(kByteOrderMark) != written->startsWith(kByteOrderMark))
        std::abort();
    QList<QByteArray> kept;
    for (const QByteArray &line : lines(withoutMark(bytes)))
        if (!isOwnKeyLine(line))
            kept.append(line);
    if (!isSubsequence(kept, lines(withoutMark(*written))))
        std::abort();

    // A port that cannot be read back is never written.
    fields.setPort(QStringLiteral("60 00"));
    if (SettingsText::written(bytes, fields))
        std::abort();
    return 0;
}
