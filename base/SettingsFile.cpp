#include "base/SettingsFile.h"

#include "base/ClientFields.h"
#include "base/IntegerSyntax.h"
#include "base/SettingsText.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kFileName = QStringLiteral("QS.INI");

// A settings file is a few lines; anything far larger is not one and is not read whole.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

// The file's bytes; empty when there is no file; nothing when a file exists but cannot be read
// whole, since its lines could not be kept.
std::optional<QByteArray> load(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (file.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Writes the bytes from where the file stands; how many went out before a write failed.
qsizetype writeAll(QFileDevice &file, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += written;
    }
    return done;
}

// Written beside the old file and renamed over it, so that a crash or a full disk never leaves
// a half-written file: the old one stays whole until the new one is complete. Unbuffered, so
// that a write the disk takes only in part is seen here: a buffered save file can report such a
// write as done and commit a truncated file. Fails at once where no new file can be made.
bool replaceWhole(const QString &path, const QByteArray &text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (writeAll(file, text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Where the folder refuses new files but the file itself is writable (a shared documents
// folder, say) the file is written in place. It is never cut short first: the new text goes
// over the old from the start, and only once it is whole is the file cut to its length. A
// write that fails part way (a full disk, a limit on file sizes) puts the old bytes back over
// what it changed, so the old text is whole again.
bool writeInPlace(const QString &path, const QByteArray &old, const QByteArray &text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qsizetype done = writeAll(file, text);
    if (done == text.size() && file.resize(text.size()))
        return true;
    // Old bytes beyond what was changed are still in place; the file is cut back only where
    // the new text made it longer.
    const QByteArray changed = old.left(qMin(done, old.size()));
    if (file.seek(0))
        writeAll(file, changed);
    if (done > old.size())
        file.resize(old.size());
    return false;
}

// A folder that cannot stand for the user's: none, a relative one (it would depend on where the
// program was started), or the root of the file system.
bool isUnusableFolder(const QString &folder) {
    return folder.isEmpty() || QDir::isRelativePath(folder) || QDir(folder).isRoot();
}

// Without a usable HOME (missing or empty, as for a program started by a service manager) the
// toolkit puts the user's folders at the root: "//Documents".
bool homeIsKnown() {
    return !isUnusableFolder(qEnvironmentVariable("HOME"));
}

// The program's configuration folder. Without a usable HOME or XDG_CONFIG_HOME the toolkit would
// put it at the root as well; the account's own home folder stands in for HOME then.
QString configurationFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (homeIsKnown() || !isUnusableFolder(qEnvironmentVariable("XDG_CONFIG_HOME")))
        return folder;
    const passwd *account = ::getpwuid(::geteuid());
    const QString accountHome = account ? QFile::decodeName(account->pw_dir) : QString();
    if (isUnusableFolder(accountHome))
        return folder;
    // The toolkit made its folder from HOME as it stands; the same folder in the account's home.
    return QDir(accountHome).filePath(QDir(QDir::homePath()).relativeFilePath(folder));
}

} // namespace

SettingsFile::SettingsFile(QString documentsFolder)
    : m_documentsFolder(std::move(documentsFolder)) {}

QString SettingsFile::folder() const {
    if (!m_documentsFolder.isEmpty())
        return m_documentsFolder;
    // Where no documents folder is known, the program's own configuration folder takes the
    // file; never a folder at the root of the file system.
    if (homeIsKnown()) {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!isUnusableFolder(documents))
            return documents;
    }
    return configurationFolder();
}

QString SettingsFile::path() const {
    return QDir::toNativeSeparators(QDir(folder()).filePath(kFileName));
}

void SettingsFile::read(ClientFields &fields) const {
    SettingsText::read(load(path()).value_or(QByteArray()), fields);
}

std::optional<QString> SettingsFile::write(const ClientFields &fields) const {
    if (!IntegerSyntax::parse(fields.port()))
        return IntegerSyntax::notValidMessage(fields.port());
    const QString filePath = path();
    const QString unableToWrite = QStringLiteral("Unable to write to %1").arg(filePath);

    const auto old = load(filePath);
    if (!old)
        return unableToWrite;
    const auto text = SettingsText::written(*old, fields);
    if (!text)
        return unableToWrite;

    // A fresh account may have no documents folder yet.
    if (!QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return unableToWrite;
    if (replaceWhole(filePath, *text))
        return std::nullopt;
    if (QFileInfo::exists(filePath) && writeInPlace(filePath, *old, *text))
        return std::nullopt;
    return unableToWrite;
}
