#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// An INI text kept line by line as the bytes it was read from, so that writing a few keys back
// leaves every other section, key, comment and line ending exactly as it was, even in a file
// that is not valid text. Section and key names match without regard to letter case, blanks
// around names and values are ignored, and one pair of double quotes around a value is dropped.
// Where a key repeats within its section, the first one counts and is the one replaced. A UTF-8
// byte-order mark at the start (as some editors save) is read through and written back.
class IniDocument {
public:
    static IniDocument fromBytes(const QByteArray &bytes);

    // The value of the key, or nothing when the section or the key is missing. Names are given
    // as the file's bytes (the program's own are ASCII); values are read as UTF-8.
    std::optional<QString> value(QByteArrayView section, QByteArrayView key) const;

    // Replaces the key's value in place, or adds the key at the end of the section, or adds the
    // section at the end of the text.
    void setValue(QByteArrayView section, QByteArrayView key, const QString &value);

    QByteArray toBytes() const;

private:
    // How a line ends: LF or CR LF, or for a last line CR or nothing.
    enum class Ending : quint8 { None, Lf, CrLf, Cr };
    static QByteArrayView bytesOf(Ending ending);

    struct Line {
        QByteArray text; // without its line end
        Ending ending;
        // A section's header: known from the start, as every lookup walks the headers.
        bool header = false;
    };

    qsizetype sectionStart(QByteArrayView section) const;
    qsizetype sectionEnd(qsizetype start) const;
    qsizetype keyLine(qsizetype start, qsizetype end, QByteArrayView key) const;

    // The text as read; lines not replaced since are views into it.
    QByteArray m_source;
    QList<Line> m_lines;
    Ending m_newLine = Ending::Lf;
    bool m_byteOrderMark = false;
};
