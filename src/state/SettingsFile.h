// The settings file: one INI section, named after the file's own base path, read and written
// key by key. Only our keys' lines are ever rewritten: every other byte of the file, whatever
// its size or encoding, comes back as it was.
#pragma once

#include <QString>

#include <optional>
#include <span>

class QIODevice;

namespace koyomi::state {

// SettingsBase: the configuration folder, a separator and the executable's name with its
// extension changed to ".ini".
QString settingsBaseFor(const QString& configFolder, const QString& executableName);

// One key of ours and the value to write: an integer, or a text when one is given (line
// breaks and other control characters in it are written as blanks).
struct Setting
{
    QString key;
    int value = 0;
    std::optional<QString> text = std::nullopt;
};

// The text after "key=" in the first of the `section`s that has the key, read from the INI
// text streamed from `in`, trimmed; no value when it is missing.
std::optional<QString> findSettingText(QIODevice& in, const QString& section, const QString& key);
// The same, as an integer; no value when it is missing or not an integer.
std::optional<int> findSetting(QIODevice& in, const QString& section, const QString& key);

// Copies the INI text from `in` (null: no file yet) to `out` with every setting's line in the
// first `section` replaced, or added after the section's last non-blank line, or added in a
// new section at the end. Lines are handled as bytes; nothing else changes. False, with a
// reason, when `in` cannot be read to its end or `out` cannot be written.
bool rewriteSettings(QIODevice* in, QIODevice& out, const QString& section,
                     std::span<const Setting> settings, QString* error = nullptr);

class SettingsFile
{
public:
    explicit SettingsFile(QString settingsBase);

    // The file on disk: SettingsBase + ".ini".
    QString path() const { return m_base + QStringLiteral(".ini"); }

    // Missing files, sections, keys and malformed values read as the default.
    int readInteger(const QString& key, int defaultValue) const;
    bool readBool(const QString& key, bool defaultValue) const;
    QString readText(const QString& key, const QString& defaultValue = QString()) const;

    // Writes the keys in one pass, keeping every other line of the file; the file and its
    // folder are created on first write. Returns false (with a reason) when the file cannot
    // be read safely or written, in which case the file is left as it was.
    bool write(std::span<const Setting> settings, QString* error = nullptr);
    bool writeInteger(const QString& key, int value, QString* error = nullptr);
    bool writeBool(const QString& key, bool value, QString* error = nullptr);

private:
    QString m_base;
};

} // namespace koyomi::state
