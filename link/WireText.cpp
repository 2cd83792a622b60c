#include "link/WireText.h"

namespace WireText {

QString decode(const char *bytes, qsizetype size) {
    QString text(size, Qt::Uninitialized);
    // Written through one pointer: indexing the string would check for sharing at every byte.
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b < 128 ? QChar(b) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QByteArray encode(const QString &text) {
    QByteArray bytes;
    bytes.reserve(text.size() + 2);
    for (const QChar c : text)
        bytes.append(c.unicode() < 128 ? char(c.unicode()) : '?');
    return bytes;
}

} // namespace WireText
