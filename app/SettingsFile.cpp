#include "app/SettingsFile.h"

#include "app/ClientFields.h"
#include "app/IniDocument.h"
#include "app/IntegerSyntax.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Form");
const QString kPort = QStringLiteral("port");
const QString kHost = QStringLiteral("ipserver");
const QString kScreenOn = QStringLiteral("ScreenOn");
const QString kFileName = QStringLiteral("QS.INI");

// Text values are read through a buffer of 2048 characters, terminator included.
constexpr qsizetype kLongestValue = 2047;

// A settings file is a few lines; anything far larger is not one and is not read whole.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

// Nothing when a file exists but cannot be read whole: its lines could not be kept.
std::optional<IniDocument> load(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return IniDocument{};
    if (file.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniDocument::fromBytes(file.readAll());
}

std::optional<QString> textValue(const IniDocument &ini, const QString &key) {
    auto value = ini.value(kSection, key);
    if (value)
        value->truncate(kLongestValue);
    return value;
}

qint32 integerValue(const IniDocument &ini, const QString &key, qint32 fallback) {
    auto text = textValue(ini, key);
    if (!text)
        return fallback;
    // Files written elsewhere may carry C-style hexadecimal; "0x" is read as "$".
    if (text->size() > 2 && text->startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text->replace(0, 2, QLatin1Char('$'));
    return IntegerSyntax::parse(*text).value_or(fallback);
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

// A line break in a value would end the line early and turn the rest into lines of their own,
// so values are written without them.
QString oneLine(QString value) {
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    return value;
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
    const IniDocument ini = load(path()).value_or(IniDocument{});
    fields.setPort(QString::number(integerValue(ini, kPort, 6000)));
    fields.setHost(textValue(ini, kHost).value_or(QStringLiteral("127.0.0.1")));
    fields.setScreenOn(integerValue(ini, kScreenOn, fields.screenOn() ? 1 : 0) != 0);
}

std::optional<QString> SettingsFile::write(const ClientFields &fields) const {
    const auto port = IntegerSyntax::parse(fields.port());
    if (!port)
        return IntegerSyntax::notValidMessage(fields.port());

    const QString filePath = path();
    const QString unableToWrite = QStringLiteral("Unable to write to %1").arg(filePath);

    auto loaded = load(filePath);
    if (!loaded)
        return unableToWrite;
    IniDocument &ini = *loaded;
    ini.setValue(kSection, kPort, QString::number(*port));
    ini.setValue(kSection, kHost, oneLine(fields.host()));
    ini.setValue(kSection, kScreenOn,
                 fields.screenOn() ? QStringLiteral("1") : QStringLiteral("0"));

    // A fresh account may have no documents folder yet.
    if (!QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return unableToWrite;

    // Written beside the old file and renamed over it, so that a crash or a full disk never
    // leaves a half-written file: the old one stays whole until the new one is complete.
    // Unbuffered, so that a write the disk takes only in part is seen here: a buffered save
    // file can report such a write as done and commit a truncated file.
    QSaveFile file(filePath);
    // A folder that refuses new files but holds a writable QS.INI (a shared documents folder,
    // say) could never be saved to otherwise: there the file is written in place, which is not
    // atomic, but checked write by write like the rest.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return unableToWrite;
    const QByteArray bytes = ini.toBytes();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            file.cancelWriting();
            return unableToWrite;
        }
        done += written;
    }
    if (!file.commit())
        return unableToWrite;
    return std::nullopt;
}
