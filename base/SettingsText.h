#pragma once

#include <QByteArray>
#include <optional>

class ClientFields;

// The settings file's text, as bytes in memory: section "Form" with the keys "port", "ipserver"
// and "ScreenOn". Reading never fails; writing sets the three keys and keeps every other
// section, key and line of the text as it was. Where the text lives is SettingsFile's affair.
namespace SettingsText {

// Fills the fields from the text; missing or malformed values give the defaults.
void read(const QByteArray &text, ClientFields &fields);

// The text with the three keys taken from the fields; nothing when the port field does not
// conform, since a port that cannot be read back must not be saved.
std::optional<QByteArray> written(const QByteArray &text, const ClientFields &fields);

} // namespace SettingsText
