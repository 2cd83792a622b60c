#include "base/SettingsText.h"

#include "base/ClientFields.h"
#include "base/IniDocument.h"
#include "base/IntegerSyntax.h"

namespace {

constexpr QByteArrayView kSection("Form");
constexpr QByteArrayView kPort("port");
constexpr QByteArrayView kHost("ipserver");
constexpr QByteArrayView kScreenOn("ScreenOn");

// Text values are read through a buffer of 2048 characters, terminator included.
constexpr qsizetype kLongestValue = 2047;

std::optional<QString> textValue(const IniDocument &ini, QByteArrayView key) {
    auto value = ini.value(kSection, key);
    if (value)
        value->truncate(kLongestValue);
    return value;
}

qint32 integerValue(const IniDocument &ini, QByteArrayView key, qint32 fallback) {
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

void SettingsText::read(const QByteArray &text, ClientFields &fields) {
    const IniDocument ini = IniDocument::fromBytes(text);
    fields.setPort(QString::number(integerValue(ini, kPort, 6000)));
    fields.setHost(textValue(ini, kHost).value_or(QStringLiteral("127.0.0.1")));
    fields.setScreenOn(integerValue(ini, kScreenOn, fields.screenOn() ? 1 : 0) != 0);
}

std::optional<QByteArray> SettingsText::written(const QByteArray &text,
                                                const ClientFields &fields) {
    const auto port = IntegerSyntax::parse(fields.port());
    if (!port)
        return std::nullopt;
    IniDocument ini = IniDocument::fromBytes(text);
    ini.setValue(kSection, kPort, QString::number(*port));
    ini.setValue(kSection, kHost, oneLine(fields.host()));
    ini.setValue(kSection, kScreenOn,
                 fields.screenOn() ? QStringLiteral("1") : QStringLiteral("0"));
    return ini.toBytes();
}
