#include "state/SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <vector>

namespace koyomi::state {

namespace {

// Our lines are short; a longer line is someone else's and is passed through in pieces, so
// that a file of any size is read with little memory.
constexpr qint64 kLongLine = 64 * 1024;
// Blank lines at the end of our section are held back so that new keys go before them; past
// this many bytes they are let through.
constexpr qsizetype kMaxHeldBack = 1 << 20;

// The lines of an INI text, each with its own end bytes. A line longer than kLongLine comes
// in pieces; only a piece that is a whole line is looked at.
class LineReader
{
public:
    explicit LineReader(QIODevice& in) : m_in(in) {}

    // The next piece; false at the end of the text or when reading fails (see failed()).
    bool next(QByteArray& piece, bool& wholeLine)
    {
        if (m_in.atEnd()) {
            return false;
        }
        // One buffer for every line: a line costs what it holds, not the longest it may be.
        m_buffer.resize(kLongLine + 1);
        const qint64 n = m_in.readLine(m_buffer.data(), kLongLine + 1);
        if (n <= 0) {
            m_failed = true;
            return false;
        }
        piece = QByteArray(m_buffer.constData(), qsizetype(n));
        const bool ends = piece.endsWith('\n') || m_in.atEnd();
        wholeLine = m_atLineStart && ends;
        m_atLineStart = piece.endsWith('\n');
        return true;
    }

    bool failed() const
    {
        const auto* file = qobject_cast<const QFileDevice*>(&m_in);
        return m_failed || (file && file->error() != QFileDevice::NoError);
    }

private:
    QIODevice& m_in;
    QByteArray m_buffer;
    bool m_atLineStart = true;
    bool m_failed = false;
};

// A line without its end bytes, as text for comparing only.
QString textOf(const QByteArray& line)
{
    qsizetype n = line.size();
    if (n > 0 && line[n - 1] == '\n') {
        --n;
    }
    if (n > 0 && line[n - 1] == '\r') {
        --n;
    }
    return QString::fromUtf8(line.constData(), n);
}

// The end bytes of a line: "\r\n", "\n" or none (the last line of a text).
QByteArray endOf(const QByteArray& line)
{
    if (line.endsWith("\r\n")) {
        return QByteArrayLiteral("\r\n");
    }
    return line.endsWith('\n') ? QByteArrayLiteral("\n") : QByteArray();
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

QByteArray entryLine(const Setting& s)
{
    QString value = s.text ? *s.text : QString::number(s.value);
    for (QChar& c : value) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return (s.key + u'=' + value).toUtf8();
}

// The output side of a rewrite: knows whether what it wrote so far ends a line, so that
// added lines never join the one before.
class Writer
{
public:
    explicit Writer(QIODevice& out) : m_out(out) {}

    void put(const QByteArray& bytes)
    {
        if (bytes.isEmpty()) {
            return;
        }
        m_ok = m_ok && m_out.write(bytes) == bytes.size();
        m_lineOpen = !bytes.endsWith('\n');
    }
    // A line of our own, with the line end the file uses for new lines.
    void putLine(const QByteArray& line)
    {
        if (m_lineOpen) {
            put(QByteArrayLiteral("\r\n"));
        }
        put(line + QByteArrayLiteral("\r\n"));
    }
    bool ok() const { return m_ok; }

private:
    QIODevice& m_out;
    bool m_lineOpen = false;
    bool m_ok = true;
};

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

std::optional<int> findSetting(QIODevice& in, const QString& section, const QString& key)
{
    const std::optional<QString> text = findSettingText(in, section, key);
    bool ok = false;
    const int value = text ? text->toInt(&ok) : 0;
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<QString> findSettingText(QIODevice& in, const QString& section, const QString& key)
{
    LineReader reader(in);
    QByteArray piece;
    bool whole = false;
    bool inSection = false;
    while (reader.next(piece, whole)) {
        if (!whole) {
            continue;
        }
        const QString line = textOf(piece);
        if (isSectionHeader(line)) {
            inSection = isSection(line, section);
        } else if (inSection && keyOf(line).compare(key, Qt::CaseInsensitive) == 0) {
            return line.mid(line.indexOf(u'=') + 1).trimmed();
        }
    }
    return std::nullopt;
}

bool rewriteSettings(QIODevice* in, QIODevice& out, const QString& section,
                     std::span<const Setting> settings, QString* error)
{
    enum class Where
    {
        Before,
        Ours,
        After
    };
    Where where = Where::Before;
    Writer w(out);
    std::vector<bool> written(settings.size(), false);
    QByteArray heldBack; // blank lines at the current end of our section

    auto writeMissing = [&] {
        for (std::size_t i = 0; i < settings.size(); ++i) {
            if (!written[i]) {
                w.putLine(entryLine(settings[i]));
                written[i] = true;
            }
        }
    };
    auto releaseHeldBack = [&] {
        w.put(heldBack);
        heldBack.clear();
    };

    if (in) {
        LineReader reader(*in);
        QByteArray piece;
        bool whole = false;
        while (reader.next(piece, whole)) {
            const QString line = whole ? textOf(piece) : QString();
            if (whole && isSectionHeader(line)) {
                if (where == Where::Ours) {
                    writeMissing();
                    releaseHeldBack();
                    where = Where::After;
                } else if (where == Where::Before && isSection(line, section)) {
                    where = Where::Ours;
                }
                w.put(piece);
                continue;
            }
            if (where != Where::Ours) {
                w.put(piece);
                continue;
            }
            if (whole && line.trimmed().isEmpty() && heldBack.size() < kMaxHeldBack) {
                heldBack += piece;
                continue;
            }
            releaseHeldBack();
            const QString key = whole ? keyOf(line) : QString();
            std::size_t i = 0;
            while (i < settings.size() &&
                   (written[i] || key.isEmpty() ||
                    settings[i].key.compare(key, Qt::CaseInsensitive) != 0)) {
                ++i;
            }
            if (i < settings.size()) {
                w.put(entryLine(settings[i]) + endOf(piece));
                written[i] = true;
            } else {
                w.put(piece);
            }
        }
        if (reader.failed()) {
            if (error) {
                *error = QStringLiteral("今の設定ファイルを最後まで読めませんでした");
            }
            return false;
        }
    }
    if (where == Where::Before) {
        w.putLine(QByteArray("[") + section.toUtf8() + ']');
    }
    writeMissing();
    releaseHeldBack();
    if (!w.ok() && error) {
        *error = out.errorString();
    }
    return w.ok();
}

SettingsFile::SettingsFile(QString settingsBase) : m_base(std::move(settingsBase)) {}

int SettingsFile::readInteger(const QString& key, int defaultValue) const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        return defaultValue;
    }
    return findSetting(file, m_base, key).value_or(defaultValue);
}

bool SettingsFile::readBool(const QString& key, bool defaultValue) const
{
    return readInteger(key, defaultValue ? 1 : 0) != 0;
}

QString SettingsFile::readText(const QString& key, const QString& defaultValue) const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        return defaultValue;
    }
    return findSettingText(file, m_base, key).value_or(defaultValue);
}

bool SettingsFile::write(std::span<const Setting> settings, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return false;
    };
    // A file that is there but cannot be read is not replaced: its lines would be lost.
    QFile current(path());
    const bool exists = QFileInfo::exists(path());
    if (exists && !current.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("今の設定ファイルを読めません: ") + current.errorString());
    }
    if (!QDir().mkpath(QFileInfo(path()).absolutePath())) {
        return fail(QStringLiteral("フォルダを作れません"));
    }
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    QString reason;
    if (!rewriteSettings(exists ? &current : nullptr, file, m_base, settings, &reason)) {
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

bool SettingsFile::writeInteger(const QString& key, int value, QString* error)
{
    const Setting one{key, value};
    return write(std::span(&one, 1), error);
}

bool SettingsFile::writeBool(const QString& key, bool value, QString* error)
{
    return writeInteger(key, value ? 1 : 0, error);
}

} // namespace koyomi::state
