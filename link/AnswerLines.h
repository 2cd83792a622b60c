#pragma once

#include <QByteArray>
#include <QString>

// The editor's answer lines as its bytes come in: LF ends a line, one CR before it is dropped,
// bytes from 0x80 up read as U+FFFD. The socket fills it; it knows nothing of sockets, so that
// what an editor may send can be tried on it in memory.
class AnswerLines {
public:
    static constexpr qsizetype kLongestLine = 16384;

    enum class Next {
        Line,       // the oldest whole line was taken
        TooLong,    // the oldest line is longer than kLongestLine: dropped whole, up to its LF
                    // whenever that comes, so that the lines after it are read again
        Incomplete, // no whole line has come yet; what has come stays
    };

    // Bytes as they came; those of a line that was too long are dropped up to its LF.
    void append(const char *bytes, qsizetype count);

    // Takes the oldest whole line, without its line end, into `line`.
    Next take(QString *line);

    // The rest of a line that was too long is still to come.
    bool dropping() const { return m_dropping; }
    qsizetype size() const { return m_input.size() - m_start; }
    void clear();

private:
    void letGoUpTo(qsizetype position);

    QByteArray m_input;
    // Where the oldest line not yet taken starts: lines are taken by moving it on, and the
    // bytes before it are let go only now and then, so that many short lines in a long input
    // are not each paid for with a move of all the rest.
    qsizetype m_start = 0;
    // Where the search for the next LF goes on, so that a long line is not scanned again.
    qsizetype m_scanned = 0;
    bool m_dropping = false;
};

// "ok" or an empty line accepts a command; anything else refuses it.
inline bool isAcceptingAnswer(const QString &answer) {
    return answer.isEmpty() || answer == QLatin1String("ok");
}
