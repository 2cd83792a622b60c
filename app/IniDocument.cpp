#include "app/IniDocument.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Views into the lines, not copies: every lookup walks the lines of the whole text.
QByteArrayView trimmedBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

std::optional<QByteArrayView> sectionName(QByteArrayView line) {
    const QByteArrayView t = trimmedBlanks(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmedBlanks(t.sliced(1, close - 1));
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Left in front of the first line it would hide that line's section header.
const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes) {
    IniDocument doc;
    qsizetype pos = 0;
    if (bytes.startsWith(kByteOrderMark)) {
        doc.m_byteOrderMark = true;
        pos = kByteOrderMark.size();
    }
    bool endingChosen = false;
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        Line line;
        if (lf < 0) {
            // A file cut after the CR of its last line end keeps that CR as the line's end.
            line.text = bytes.mid(pos);
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.ending = "\r";
            }
            pos = bytes.size();
        } else {
            qsizetype textEnd = lf;
            if (textEnd > pos && bytes.at(textEnd - 1) == '\r')
                --textEnd;
            line.text = bytes.mid(pos, textEnd - pos);
            line.ending = bytes.mid(textEnd, lf + 1 - textEnd);
            pos = lf + 1;
            // Lines this program adds follow the file's own convention.
            if (!endingChosen) {
                doc.m_newLine = line.ending;
                endingChosen = true;
            }
        }
        doc.m_lines.append(line);
    }
    return doc;
}

qsizetype IniDocument::sectionStart(const QByteArray &section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines.at(i).text);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype start) const {
    qsizetype i = start + 1;
    while (i < m_lines.size() && !sectionName(m_lines.at(i).text))
        ++i;
    return i;
}

qsizetype IniDocument::keyLine(qsizetype start, qsizetype end, const QByteArray &key) const {
    for (qsizetype i = start + 1; i < end; ++i) {
        const QByteArrayView text = m_lines.at(i).text;
        const qsizetype eq = text.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArrayView name = trimmedBlanks(text.first(eq));
        if (name.startsWith(';'))
            continue;
        if (sameName(name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const {
    const qsizetype start = sectionStart(section.toUtf8());
    if (start < 0)
        return std::nullopt;
    const qsizetype line = keyLine(start, sectionEnd(start), key.toUtf8());
    if (line < 0)
        return std::nullopt;
    const QByteArray &text = m_lines.at(line).text;
    QByteArrayView raw = trimmedBlanks(QByteArrayView(text).sliced(text.indexOf('=') + 1));
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"'))
        raw = raw.sliced(1, raw.size() - 2);
    return QString::fromUtf8(raw);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value) {
    const QByteArray sectionBytes = section.toUtf8();
    const QByteArray keyBytes = key.toUtf8();
    const QByteArray entry = keyBytes + '=' + value.toUtf8();

    // A last line without an ending gets one before anything is added after it.
    auto terminateLast = [this] {
        if (m_lines.isEmpty())
            return;
        QByteArray &ending = m_lines.last().ending;
        if (ending.isEmpty())
            ending = m_newLine;
        else if (ending == "\r")
            ending = "\r\n";
    };

    qsizetype start = sectionStart(sectionBytes);
    if (start < 0) {
        terminateLast();
        m_lines.append({'[' + sectionBytes + ']', m_newLine});
        m_lines.append({entry, m_newLine});
        return;
    }
    const qsizetype end = sectionEnd(start);
    const qsizetype line = keyLine(start, end, keyBytes);
    if (line >= 0) {
        m_lines[line].text = entry;
        return;
    }
    // Add the key after the section's last entry, before any blank lines that close it.
    qsizetype insertAt = end;
    while (insertAt > start + 1 && trimmedBlanks(m_lines.at(insertAt - 1).text).isEmpty())
        --insertAt;
    if (insertAt == m_lines.size())
        terminateLast();
    m_lines.insert(insertAt, {entry, m_newLine});
}

QByteArray IniDocument::toBytes() const {
    QByteArray out;
    if (m_byteOrderMark)
        out = kByteOrderMark;
    for (const Line &line : m_lines)
        out += line.text + line.ending;
    return out;
}
