#pragma once

#include <QByteArray>
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

    // The value of the key, or nothing when the section or the key is missing. Values are read
    // as UTF-8.
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Replaces the key's value in place, or adds the key at the end of the section, or adds the
    // section at the end of the text.
    void setValue(const QString &section, const QString &key, const QString &value);

    QByteArray toBytes() const;

private:
    struct Line {
        QByteArray text;   // without its line end
        QByteArray ending; // "\n", "\r\n", or for a last line "\r" or nothing
    };

    qsizetype sectionStart(const QByteArray &section) const;
    qsizetype sectionEnd(qsizetype start) const;
    qsizetype keyLine(qsizetype start, qsizetype end, const QByteArray &key) const;

    QList<Line> m_lines;
    QByteArray m_newLine = "\n";
    bool m_byteOrderMark = false;
};
