#pragma once

#include <QByteArray>
#include <QString>

// Text on the wire, TCP and UDP alike, is 7-bit ASCII: a received byte 0x80 to 0xFF becomes
// U+FFFD, and a sent character of code 128 or above becomes "?".
namespace WireText {

QString decode(const char *bytes, qsizetype size);
inline QString decode(const QByteArray &bytes) {
    return decode(bytes.constData(), bytes.size());
}

QByteArray encode(const QString &text);

} // namespace WireText
