#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Files as the tests set them up and look at them afterwards, byte for byte.
namespace TestFiles {

// The whole file, or nothing when it cannot be read (as when it was never written).
inline QByteArray read(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file; true when every byte was written.
inline bool write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace TestFiles
