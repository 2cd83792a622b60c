#pragma once

#include <QString>
#include <optional>

class ClientFields;

// The settings file QS.INI in the user's documents folder: section "Form" with the keys "port",
// "ipserver" and "ScreenOn". It is read once when the window is created and written once per
// close; every other section, key and line of the file is kept as it was.
class SettingsFile {
public:
    // documentsFolder: where the file lives; empty means the folder the system reports for the
    // user's documents at the moment of each read or write.
    explicit SettingsFile(QString documentsFolder = {});

    QString path() const;

    // Never fails: missing or malformed values give the defaults.
    void read(ClientFields &fields) const;

    // Writes all three keys at once, or nothing, and returns the failure's text when the port
    // field does not conform or the file cannot be written.
    std::optional<QString> write(const ClientFields &fields) const;

private:
    QString folder() const;

    QString m_documentsFolder;
};
