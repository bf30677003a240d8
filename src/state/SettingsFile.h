// The settings file: one INI section, named after the file's own base path, read and written
// key by key.
#pragma once

#include <QString>

namespace koyomi::state {

// SettingsBase: the configuration folder, a separator and the executable's name with its
// extension changed to ".ini".
QString settingsBaseFor(const QString& configFolder, const QString& executableName);

class SettingsFile
{
public:
    explicit SettingsFile(QString settingsBase);

    // The file on disk: SettingsBase + ".ini".
    QString path() const { return m_base + QStringLiteral(".ini"); }

    // Missing files, sections, keys and malformed values read as the default.
    int readInteger(const QString& key, int defaultValue) const;
    bool readBool(const QString& key, bool defaultValue) const;

    // Writes one key, keeping every other line of the file; the file and its folder are
    // created on first write. Returns false (with a reason) when the file cannot be written,
    // in which case the file is left as it was.
    bool writeInteger(const QString& key, int value, QString* error = nullptr);
    bool writeBool(const QString& key, bool value, QString* error = nullptr);

private:
    QString m_base;
};

} // namespace koyomi::state
