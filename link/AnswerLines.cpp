#include "link/AnswerLines.h"

#include "link/WireText.h"

#include <cstring>

void AnswerLines::append(const char *bytes, qsizetype count) {
    if (m_dropping) {
        const char *lf = static_cast<const char *>(std::memchr(bytes, '\n', size_t(count)));
        if (!lf)
            return;
        m_dropping = false;
        const qsizetype skipped = lf + 1 - bytes;
        bytes += skipped;
        count -= skipped;
    }
    m_input.append(bytes, count);
}

AnswerLines::Next AnswerLines::take(QString *line) {
    if (m_dropping)
        return Next::Incomplete;
    const qsizetype lf = m_input.indexOf('\n', qMax(m_scanned, m_start));
    m_scanned = lf < 0 ? m_input.size() : lf;
    const qsizetype length = (lf < 0 ? m_input.size() : lf) - m_start;
    if (length > kLongestLine) {
        // A line that cannot be returned would otherwise stay at the head of the input, failing
        // every later read and growing with every receive.
        if (lf >= 0) {
            letGoUpTo(lf + 1);
        } else {
            clear();
            m_dropping = true;
        }
        return Next::TooLong;
    }
    if (lf < 0)
        return Next::Incomplete;
    const qsizetype end = lf > m_start && m_input.at(lf - 1) == '\r' ? lf - 1 : lf;
    *line = WireText::decode(m_input.constData() + m_start, end - m_start);
    letGoUpTo(lf + 1);
    return Next::Line;
}

void AnswerLines::letGoUpTo(qsizetype position) {
    m_start = position;
    if (m_start == m_input.size()) {
        clear();
        return;
    }
    if (m_start >= 4096 && m_start >= m_input.size() / 2) {
        m_input.remove(0, m_start);
        m_scanned = qMax<qsizetype>(0, m_scanned - m_start);
        m_start = 0;
    }
}

void AnswerLines::clear() {
    m_input.clear();
    m_start = 0;
    m_scanned = 0;
    m_dropping = false;
}
