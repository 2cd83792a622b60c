#include "base/IniDocument.h"

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
    // The lines point into the text they were read from, which the document keeps alive: reading
    // costs no allocation a line. A text that does not own its bytes is copied once first.
    doc.m_source = bytes.isDetached() ? bytes : QByteArray(bytes.constData(), bytes.size());
    const char *source = doc.m_source.constData();
    qsizetype pos = 0;
    if (bytes.startsWith(kByteOrderMark)) {
        doc.m_byteOrderMark = true;
        pos = kByteOrderMark.size();
    }
    bool endingChosen = false;
    // Room for the lines and for the few a write adds (a section and its keys), so that
    // neither reading nor writing moves the list.
    doc.m_lines.reserve(bytes.count('\n') + 5);
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        Line line{{}, Ending::None};
        if (lf < 0) {
            // A file cut after the CR of its last line end keeps that CR as the line's end.
            qsizetype textEnd = bytes.size();
            if (textEnd > pos && bytes.at(textEnd - 1) == '\r') {
                --textEnd;
                line.ending = Ending::Cr;
            }
            line.text = QByteArray::fromRawData(source + pos, textEnd - pos);
            pos = bytes.size();
        } else {
            qsizetype textEnd = lf;
            if (textEnd > pos && bytes.at(textEnd - 1) == '\r')
                --textEnd;
            line.text = QByteArray::fromRawData(source + pos, textEnd - pos);
            line.ending = textEnd < lf ? Ending::CrLf : Ending::Lf;
            pos = lf + 1;
            // Lines this program adds follow the file's own convention.
            if (!endingChosen) {
                doc.m_newLine = line.ending;
                endingChosen = true;
            }
        }
        line.header = sectionName(line.text).has_value();
        doc.m_lines.append(line);
    }
    return doc;
}

QByteArrayView IniDocument::bytesOf(Ending ending) {
    switch (ending) {
    case Ending::Lf:
        return "\n";
    case Ending::CrLf:
        return "\r\n";
    case Ending::Cr:
        return "\r";
    case Ending::None:
        break;
    }
    return {};
}

qsizetype IniDocument::sectionStart(QByteArrayView section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (!m_lines.at(i).header)
            continue;
        const auto name = sectionName(m_lines.at(i).text);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype start) const {
    qsizetype i = start + 1;
    while (i < m_lines.size() && !m_lines.at(i).header)
        ++i;
    return i;
}

qsizetype IniDocument::keyLine(qsizetype start, qsizetype end, QByteArrayView key) const {
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

std::optional<QString> IniDocument::value(QByteArrayView section, QByteArrayView key) const {
    const qsizetype start = sectionStart(section);
    if (start < 0)
        return std::nullopt;
    const qsizetype line = keyLine(start, sectionEnd(start), key);
    if (line < 0)
        return std::nullopt;
    const QByteArray &text = m_lines.at(line).text;
    QByteArrayView raw = trimmedBlanks(QByteArrayView(text).sliced(text.indexOf('=') + 1));
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"'))
        raw = raw.sliced(1, raw.size() - 2);
    return QString::fromUtf8(raw);
}

void IniDocument::setValue(QByteArrayView section, QByteArrayView key, const QString &value) {
    const QByteArray entry = key.toByteArray() + '=' + value.toUtf8();

    // A last line without an ending gets one before anything is added after it.
    auto terminateLast = [this] {
        if (m_lines.isEmpty())
            return;
        Ending &ending = m_lines.last().ending;
        if (ending == Ending::None)
            ending = m_newLine;
        else if (ending == Ending::Cr)
            ending = Ending::CrLf;
    };

    qsizetype start = sectionStart(section);
    if (start < 0) {
        terminateLast();
        m_lines.append({'[' + section.toByteArray() + ']', m_newLine, true});
        m_lines.append({entry, m_newLine, false});
        return;
    }
    const qsizetype end = sectionEnd(start);
    const qsizetype line = keyLine(start, end, key);
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
    m_lines.insert(insertAt, {entry, m_newLine, false});
}

QByteArray IniDocument::toBytes() const {
    qsizetype size = m_byteOrderMark ? kByteOrderMark.size() : 0;
    for (const Line &line : m_lines)
        size += line.text.size() + bytesOf(line.ending).size();
    QByteArray out;
    out.reserve(size);
    if (m_byteOrderMark)
        out += kByteOrderMark;
    for (const Line &line : m_lines) {
        out += line.text;
        out += bytesOf(line.ending);
    }
    return out;
}
