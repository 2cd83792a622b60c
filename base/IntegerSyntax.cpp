#include "base/IntegerSyntax.h"

namespace IntegerSyntax {

namespace {

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<qint32> parse(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' &&
               (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        hex = true;
        i += 2;
    }

    const qsizetype firstDigit = i;
    if (hex) {
        quint32 pattern = 0;
        for (; i < n; ++i) {
            const int d = hexDigitValue(text.at(i));
            if (d < 0 || i - firstDigit >= 8)
                return std::nullopt;
            pattern = (pattern << 4) | quint32(d);
        }
        if (i == firstDigit)
            return std::nullopt;
        const quint32 value = negative ? quint32(0) - pattern : pattern;
        return qint32(value);
    }

    // Accumulate the magnitude in 64 bits so that -2147483648 is reachable and every overflow is
    // caught before it can wrap.
    qint64 magnitude = 0;
    for (; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < '0' || u > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (u - '0');
        if (magnitude > qint64(2147483648))
            return std::nullopt;
    }
    if (i == firstDigit)
        return std::nullopt;
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > qint64(2147483647))
        return std::nullopt;
    return qint32(value);
}

QString notValidMessage(const QString &text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

} // namespace IntegerSyntax
