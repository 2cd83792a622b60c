// Answer bytes as an editor may send them: each input describes a byte stream, the pieces it
// arrives in and how many reads the client makes between pieces. The answer lines take the
// pieces in memory, as the connection hands them its receives, and every line they give, every
// line refused as too long, and the judgement of each answer, is compared with a plain reading
// of the stream written here. The socket around them has tests of its own.
//
// Input: byte 0 unused (kept so that the corpus keeps its meaning); byte 1 the reads between
// pieces (high nibble); byte 2 how many piece sizes follow (low nibble), then those bytes (a size
// of 1 + b * b bytes each, used in turn); then the stream, where 0xFF c v stands for
// (c + 1) * 256 bytes v (one byte when v is LF), so that lines past the limit are cheap to
// describe.
#include "link/AnswerLines.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__clang__) && __clang_major__ >= 13
#define QS_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define QS_NO_COVERAGE
#endif

namespace {

constexpr qsizetype kLimit = AnswerLines::kLongestLine;
// Room for two lines past the limit and the lines around them; a longer stream only repeats.
constexpr qsizetype kLongestStream = 40 * 1024;
constexpr qsizetype kMostPieces = 256;

[[noreturn]] void failure(const char *what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// A plain reading of the stream: where the next line starts, and whether the rest of a line that
// was too long is still to be skipped.
struct Reference {
    QByteArray stream;
    qsizetype taken = 0;
    bool skipping = false;

    // A line; a failure for a line that is too long; a wait for bytes still to come.
    enum class Outcome { Line, TooLong, Waits };
    struct Read {
        Outcome outcome;
        QString line;
    };

    // What a read does when the first `sent` bytes of the stream have come.
    // The reading and the checks below are the target's own: they are kept out of the coverage
    // that guides the fuzzer.
    QS_NO_COVERAGE Read read(qsizetype sent) {
        for (;;) {
            // Only what has come is looked at: searching the stream still to come would cost
            // the whole stream at every read.
            const char *at =
                taken < sent ? static_cast<const char *>(std::memchr(stream.constData() + taken,
                                                                     '\n', size_t(sent - taken)))
                             : nullptr;
            const qsizetype lf = at ? at - stream.constData() : -1;
            const bool found = lf >= 0;
            if (skipping) {
                if (!found) {
                    // The long line goes on: its bytes are dropped as they come.
                    taken = sent;
                    return {Outcome::Waits, {}};
                }
                taken = lf + 1;
                skipping = false;
                continue;
            }
            if (found && lf - taken > kLimit) {
                taken = lf + 1;
                return {Outcome::TooLong, {}};
            }
            if (!found && sent - taken > kLimit) {
                taken = sent;
                skipping = true;
                return {Outcome::TooLong, {}};
            }
            if (!found)
                return {Outcome::Waits, {}};
            qsizetype end = lf;
            if (end > taken && stream.at(end - 1) == '\r')
                --end;
            QString line(end - taken, Qt::Uninitialized);
            QChar *out = line.data();
            const char *in = stream.constData();
            for (qsizetype i = taken; i < end; ++i) {
                const auto b = static_cast<unsigned char>(in[i]);
                out[i - taken] = b < 0x80 ? QChar(b) : QChar(0xFFFD);
            }
            taken = lf + 1;
            return {Outcome::Line, line};
        }
    }
};

struct Input {
    int reads = 0;
    std::vector<qsizetype> pieces;
    QByteArray stream;
};

Input parse(const uint8_t *data, size_t size) {
    Input in;
    size_t at = 0;
    auto next = [&]() -> int { return at < size ? data[at++] : 0; };
    next();
    in.reads = next() >> 4;
    const int count = next() & 0x0F;
    for (int i = 0; i < count; ++i) {
        const int b = next();
        in.pieces.push_back(1 + b * b);
    }
    if (in.pieces.empty())
        in.pieces.push_back(kLongestStream);
    in.stream.reserve(qMin<qsizetype>(kLongestStream, qsizetype(size) * 256));
    while (at < size && in.stream.size() < kLongestStream) {
        const uint8_t b = data[at++];
        if (b == 0xFF && at + 2 <= size) {
            // Runs make long lines; a run of line ends would only make thousands of empty lines,
            // each one read, so it stands for one.
            const qsizetype repeat = data[at + 1] == '\n' ? 1 : (data[at] + 1) * 256;
            in.stream.append(qMin(repeat, kLongestStream - in.stream.size()), char(data[at + 1]));
            at += 2;
        } else {
            in.stream.append(char(b));
        }
    }
    return in;
}

class Run {
public:
    explicit Run(const Input &in) : m_in(in) { m_ref.stream = in.stream; }

    void go() {
        // At most kMostPieces pieces, as a receive takes at most what has come.
        const qsizetype smallest = (m_in.stream.size() + kMostPieces - 1) / kMostPieces;
        size_t piece = 0;
        while (m_sent < m_in.stream.size()) {
            const qsizetype size = qMin(qMax(smallest, m_in.pieces[piece++ % m_in.pieces.size()]),
                                        m_in.stream.size() - m_sent);
            m_lines.append(m_in.stream.constData() + m_sent, size);
            m_sent += size;
            for (int i = 0; i < m_in.reads && readIfSomethingHasCome(); ++i) {
            }
        }
        // Every line still in the stream comes out; then reading waits for more.
        while (readIfSomethingHasCome()) {
        }
        if (m_lines.size() > m_in.stream.size())
            failure("more bytes kept than came");
    }

private:
    // One read, compared with the plain reading; false when it found no whole line.
    QS_NO_COVERAGE bool readIfSomethingHasCome() {
        const Reference::Read expected = m_ref.read(m_sent);
        QString line;
        const AnswerLines::Next got = m_lines.take(&line);
        switch (got) {
        case AnswerLines::Next::Line:
            if (line.contains(QChar('\n')) || line.size() > kLimit)
                failure("a line holds LF or is longer than the limit");
            if (expected.outcome != Reference::Outcome::Line || line != expected.line) {
                std::fprintf(stderr, "line \"%s\" (%lld), expected %s \"%s\"\n",
                             qPrintable(line.left(80)), static_cast<long long>(line.size()),
                             expected.outcome == Reference::Outcome::Line ? "line" : "none",
                             qPrintable(expected.line.left(80)));
                failure("line differs");
            }
            if (isAcceptingAnswer(line) != (line.isEmpty() || line == QStringLiteral("ok")))
                failure("answer judged wrongly");
            return true;
        case AnswerLines::Next::TooLong:
            if (expected.outcome != Reference::Outcome::TooLong)
                failure("line refused as too long");
            return true;
        case AnswerLines::Next::Incomplete:
            if (expected.outcome != Reference::Outcome::Waits)
                failure("no line where one has come");
            return false;
        }
        return false;
    }

    const Input &m_in;
    AnswerLines m_lines;
    Reference m_ref;
    qsizetype m_sent = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const Input in = parse(data, size);
    Run run(in);
    run.go();
    return 0;
}
