#include "config/IniFile.h"

#include "config/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool isCommentKey(const QString &key)
{
    const QChar c = key.at(0);
    return c == QLatin1Char(';') || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('*');
}

// Blanks as the system knows them, plus the zero-width no-break space: editors that save UTF-8 put
// one before the first line as a byte-order mark, and it would otherwise hide the first header.
bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0xFEFF);
}

QString trimmed(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

void cutFrom(QString &value, QLatin1String marker)
{
    const int at = value.indexOf(marker);
    if (at >= 0)
        value.truncate(at);
}

} // namespace

CIniFile::CIniFile(int growthStep)
    : m_nGrowthStep(growthStep > 0 ? growthStep : 1)
{
}

CIniFile::~CIniFile()
{
    if (m_bAutoSave)
        Save(m_bBackupOnSave);
    Clear();
}

int CIniFile::OpenBesideExe(const QString &fileName, bool autoSave, bool caseInsensitive, bool backupOnSave)
{
    return Open(CAppPaths::BesideExe(fileName), autoSave, caseInsensitive, backupOnSave);
}

int CIniFile::Open(const QString &path, bool autoSave, bool caseInsensitive, bool backupOnSave)
{
    if (!m_strPath.isEmpty()) {
        Save(false);
        Clear();
    }
    m_bAutoSave = autoSave;
    m_bCaseInsensitive = caseInsensitive;
    m_bBackupOnSave = backupOnSave;

    QFile file(path);
    const QIODevice::OpenMode mode = file.exists() ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!file.open(mode)) {
        m_strLastError = file.errorString();
        return 0;
    }
    m_strPath = path;
    const QByteArray text = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    if (failed)
        m_strLastError = file.errorString();
    LoadText(text);
    return failed ? 0 : 1;
}

void CIniFile::LoadText(const QByteArray &text)
{
    m_Sections.clear();
    m_Sections.reserve(static_cast<std::size_t>(m_nGrowthStep));
    m_Sections.push_back(Section {});
    for (const QByteArray &rawLine : text.split('\n')) {
        const QString line = trimmed(QString::fromUtf8(rawLine));
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            if (m_Sections.size() == m_Sections.capacity())
                m_Sections.reserve(m_Sections.size() + static_cast<std::size_t>(m_nGrowthStep));
            m_Sections.push_back(Section { line.mid(1, line.size() - 2), {}, {} });
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = trimmed(eq < 0 ? line : line.left(eq));
        if (key.isEmpty() || isCommentKey(key))
            continue;
        m_Sections.back().keys << key;
        m_Sections.back().values << (eq < 0 ? QString() : trimmed(line.mid(eq + 1)));
    }
}

bool CIniFile::Same(const QString &a, const QString &b) const
{
    return a.compare(b, m_bCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

int CIniFile::FindSection(const QString &name) const
{
    for (std::size_t i = 0; i < m_Sections.size(); ++i)
        if (Same(m_Sections[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int CIniFile::FindKey(const Section &section, const QString &key) const
{
    for (int i = section.keys.size() - 1; i >= 0; --i)
        if (Same(section.keys.at(i), key))
            return i;
    return -1;
}

QString CIniFile::GetValue(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int s = FindSection(section);
    if (s < 0)
        return defaultValue;
    const Section &sec = m_Sections[static_cast<std::size_t>(s)];
    const int k = FindKey(sec, key);
    if (k < 0)
        return trimmed(defaultValue);
    QString value = sec.values.at(k);
    cutFrom(value, QLatin1String("//"));
    cutFrom(value, QLatin1String("\t;"));
    cutFrom(value, QLatin1String("/*"));
    return value;
}

void CIniFile::SetValue(const QString &section, const QString &key, const QString &value)
{
    if (m_strPath.isEmpty())
        return;
    int s = FindSection(section);
    if (s < 0) {
        m_Sections.push_back(Section { section, {}, {} });
        s = static_cast<int>(m_Sections.size()) - 1;
        m_bModified = true;
    }
    Section &sec = m_Sections[static_cast<std::size_t>(s)];
    const int k = FindKey(sec, key);
    if (k < 0) {
        sec.keys << key;
        sec.values << value;
        m_bModified = true;
        return;
    }
    if (!Same(sec.values.at(k), value))
        m_bModified = true;
    sec.values[k] = value;
}

QString CIniFile::ChooseBackupName() const
{
    const QFileInfo info(m_strPath);
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    int highest = 0;
    // Compared as a plain prefix: brackets or stars in the name are no wildcards.
    for (const QString &entry : info.dir().entryList(QDir::Files | QDir::Hidden)) {
        if (!entry.startsWith(stem, Qt::CaseInsensitive))
            continue;
        bool digits = entry.size() >= 3;
        for (int i = entry.size() - 3; digits && i < entry.size(); ++i)
            digits = entry.at(i).isDigit();
        if (digits)
            highest = std::max(highest, entry.right(3).toInt());
    }
    return m_strPath + QString::asprintf(".%.3d", highest + 1);
}

QByteArray CIniFile::Serialize() const
{
    QByteArray out;
    for (std::size_t i = 0; i < m_Sections.size(); ++i) {
        const Section &sec = m_Sections[i];
        if (i > 0)
            out += '[' + sec.name.toUtf8() + "]\n";
        for (int k = 0; k < sec.keys.size(); ++k) {
            out += sec.keys.at(k).toUtf8();
            if (!sec.keys.at(k).isEmpty())
                out += '=';
            out += sec.values.at(k).toUtf8() + '\n';
        }
    }
    return out;
}

QString CIniFile::Save(bool backup)
{
    if (!m_bModified || m_strPath.isEmpty())
        return QString();
    if (backup) {
        QString name = m_strBackupName.isEmpty() ? ChooseBackupName() : m_strBackupName;
        QFile::remove(name);
        QFile::copy(m_strPath, name);
        m_strBackupName = name;
    }
    // The whole file goes through a temporary one: a failed save leaves the old file as it was.
    QSaveFile file(m_strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return QString();
    file.write(Serialize());
    if (!file.commit())
        return QString();
    return m_strBackupName;
}

void CIniFile::Clear()
{
    m_Sections.clear();
    m_strPath.clear();
    m_bModified = false;
}

int CIniFile::DeleteKey(const QString &section, const QString &key)
{
    const int s = FindSection(section);
    if (s < 0)
        return 0;
    Section &sec = m_Sections[static_cast<std::size_t>(s)];
    const int k = FindKey(sec, key);
    if (k < 0)
        return 0;
    sec.keys.removeAt(k);
    sec.values.removeAt(k);
    m_bModified = true;
    return 1;
}

int CIniFile::DeleteSection(const QString &section)
{
    const int s = FindSection(section);
    if (s < 0)
        return 0;
    if (s == 0) {
        // The lines before the first header have no header to remove; only their keys go.
        m_Sections[0].keys.clear();
        m_Sections[0].values.clear();
    } else {
        m_Sections.erase(m_Sections.begin() + s);
    }
    m_bModified = true;
    return 1;
}

void CIniFile::GetSectionNames(QStringList &names) const
{
    for (const Section &sec : m_Sections)
        if (!sec.name.isEmpty())
            names << sec.name;
}

void CIniFile::GetKeys(const QString &section, QStringList &keys) const
{
    const int s = FindSection(section);
    if (s >= 0)
        keys << m_Sections[static_cast<std::size_t>(s)].keys;
}

QString CIniFile::GetListItem(const QString &section, const QString &key, int index, QChar separator) const
{
    const QString value = trimmed(GetValue(section, key, QString()));
    if (value.isEmpty())
        return value;
    if (value == QLatin1String("(null)"))
        return QString();
    const QStringList items = value.split(separator);
    if (index < 0 || index >= items.size())
        return QString();
    return trimmed(items.at(index));
}
