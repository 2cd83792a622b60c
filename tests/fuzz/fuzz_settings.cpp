// The settings file's text as anything may have written it: reading never fails, and a close's
// write followed by a read gives back the three fields and keeps every other line of the text.
// The text is driven in memory; putting it on disk has tests of its own.
#include "base/ClientFields.h"
#include "base/IniDocument.h"
#include "base/SettingsText.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The lines as views into the text: the checks below run on every input and should cost
// little beside the code they check.
QList<QByteArrayView> lines(QByteArrayView bytes) {
    QList<QByteArrayView> out;
    out.reserve(bytes.count('\n') + 1);
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = bytes.indexOf('\n', start);
        QByteArrayView line = bytes.sliced(start, (lf < 0 ? bytes.size() : lf) - start);
        if (line.endsWith('\r'))
            line.chop(1);
        out.append(line);
        if (lf < 0)
            return out;
        start = lf + 1;
    }
}

// A byte-order mark before the first line is no part of it: the file keeps the mark at its start
// and reads the line behind it.
const QByteArray kByteOrderMark("\xEF\xBB\xBF");

QByteArrayView withoutMark(QByteArrayView bytes) {
    return bytes.startsWith(kByteOrderMark) ? bytes.sliced(kByteOrderMark.size()) : bytes;
}

bool isSubsequence(const QList<QByteArrayView> &part, const QList<QByteArrayView> &whole) {
    qsizetype at = 0;
    for (const QByteArrayView line : part) {
        while (at < whole.size() && whole.at(at) != line)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

bool isOwnKeyLine(QByteArrayView line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return false;
    const QByteArrayView key = line.first(eq).trimmed();
    for (const char *own : {"port", "ipserver", "screenon"})
        if (key.compare(own, Qt::CaseInsensitive) == 0)
            return true;
    return false;
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
    QList<QByteArrayView> kept;
    kept.reserve(bytes.count('\n') + 1);
    for (const QByteArrayView line : lines(withoutMark(bytes)))
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
