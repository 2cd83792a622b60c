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
    const qsizetype lf = m_input.indexOf('\n', m_scanned);
    m_scanned = lf < 0 ? m_input.size() : lf;
    if (lf > kLongestLine || (lf < 0 && m_input.size() > kLongestLine)) {
        // A line that cannot be returned would otherwise stay at the head of the input, failing
        // every later read and growing with every receive.
        if (lf >= 0) {
            m_input.remove(0, lf + 1);
        } else {
            m_input.clear();
            m_dropping = true;
        }
        m_scanned = 0;
        return Next::TooLong;
    }
    if (lf < 0)
        return Next::Incomplete;
    const qsizetype end = lf > 0 && m_input.at(lf - 1) == '\r' ? lf - 1 : lf;
    *line = WireText::decode(m_input.constData(), end);
    m_input.remove(0, lf + 1);
    m_scanned = 0;
    return Next::Line;
}

void AnswerLines::clear() {
    m_input.clear();
    m_scanned = 0;
    m_dropping = false;
}
