#include "state/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace koyomi::state {

namespace {

// The settings file is small; one that is not is not ours to read whole.
constexpr qint64 kMaxSettingsBytes = 1 << 20;

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (file.size() > kMaxSettingsBytes || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
    }
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

bool isSectionHeader(const QString& line)
{
    return line.trimmed().startsWith(u'[');
}

bool isSection(const QString& line, const QString& name)
{
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']') &&
           t.mid(1, t.size() - 2).compare(name, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or an empty string.
QString keyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq > 0 ? line.left(eq).trimmed() : QString();
}

} // namespace

QString settingsBaseFor(const QString& configFolder, const QString& executableName)
{
    QString folder = configFolder;
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    const QFileInfo exe(executableName);
    const QString stem = exe.suffix().isEmpty() ? exe.fileName() : exe.completeBaseName();
    return folder + stem + QStringLiteral(".ini");
}

SettingsFile::SettingsFile(QString settingsBase) : m_base(std::move(settingsBase)) {}

int SettingsFile::readInteger(const QString& key, int defaultValue) const
{
    bool inSection = false;
    for (const QString& line : readLines(path())) {
        if (isSectionHeader(line)) {
            inSection = isSection(line, m_base);
        } else if (inSection && keyOf(line).compare(key, Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const int value = line.mid(line.indexOf(u'=') + 1).trimmed().toInt(&ok);
            return ok ? value : defaultValue;
        }
    }
    return defaultValue;
}

bool SettingsFile::readBool(const QString& key, bool defaultValue) const
{
    return readInteger(key, defaultValue ? 1 : 0) != 0;
}

bool SettingsFile::writeInteger(const QString& key, int value, QString* error)
{
    QStringList lines = readLines(path());
    const QString entry = key + u'=' + QString::number(value);
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        if (isSectionHeader(lines[i])) {
            if (sectionAt >= 0) {
                break; // past our section
            }
            if (isSection(lines[i], m_base)) {
                sectionAt = i;
                insertAt = i + 1;
            }
        } else if (sectionAt >= 0) {
            if (keyOf(lines[i]).compare(key, Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                done = true;
            } else if (!lines[i].trimmed().isEmpty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!done) {
        if (sectionAt < 0) {
            lines.append(u'[' + m_base + u']');
            lines.append(entry);
        } else {
            lines.insert(insertAt, entry);
        }
    }

    const QFileInfo info(path());
    QSaveFile file(path());
    const bool ok =
        QDir().mkpath(info.absolutePath()) && file.open(QIODevice::WriteOnly) &&
        file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()) >= 0 &&
        file.commit();
    if (!ok && error) {
        *error = file.errorString();
    }
    return ok;
}

bool SettingsFile::writeBool(const QString& key, bool value, QString* error)
{
    return writeInteger(key, value ? 1 : 0, error);
}

} // namespace koyomi::state
