#include "SettingsFile.h"

#include "ClientFields.h"
#include "IniDocument.h"
#include "IntegerSyntax.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

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
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // Never fall back to the root of the file system: where no documents folder is known, the
    // program's own configuration folder takes the file.
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder;
}

QString SettingsFile::path() const {
    return QDir::toNativeSeparators(QDir(folder()).filePath(kFileName));
}

void SettingsFile::read(ClientFields &fields) const {
    const IniDocument ini = load(path()).value_or(IniDocument{});
    fields.setEdit3(QString::number(integerValue(ini, kPort, 6000)));
    fields.setEdit2(textValue(ini, kHost).value_or(QStringLiteral("127.0.0.1")));
    fields.setScreenOn(integerValue(ini, kScreenOn, fields.screenOn() ? 1 : 0) != 0);
}

std::optional<QString> SettingsFile::write(const ClientFields &fields) const {
    const auto port = IntegerSyntax::parse(fields.edit3());
    if (!port)
        return IntegerSyntax::notValidMessage(fields.edit3());

    const QString filePath = path();
    const QString unableToWrite = QStringLiteral("Unable to write to %1").arg(filePath);

    auto loaded = load(filePath);
    if (!loaded)
        return unableToWrite;
    IniDocument &ini = *loaded;
    ini.setValue(kSection, kPort, QString::number(*port));
    ini.setValue(kSection, kHost, oneLine(fields.edit2()));
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
