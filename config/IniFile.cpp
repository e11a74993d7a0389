#include "config/IniFile.h"

#include "config/AppPaths.h"
#include "config/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

bool isCommentKey(QStringView key)
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

QStringView trimmedView(QStringView text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.sliced(from, to - from);
}

QString trimmed(const QString &text)
{
    return trimmedView(text).toString();
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
    const QString userCopy = CAppPaths::UserCopy(fileName);
    const int opened = Open(CAppPaths::BesideExe(fileName), autoSave, caseInsensitive, backupOnSave);
    if (!opened && m_strPath.isEmpty() && QFileInfo(userCopy).isFile())
        return Open(userCopy, autoSave, caseInsensitive, backupOnSave); // no installed file to lay it over
    m_strUserCopyPath = userCopy;
    if (!m_strPath.isEmpty() && QFileInfo(userCopy).isFile())
        ApplyUserCopy();
    return opened;
}

void CIniFile::ApplyUserCopy()
{
    QByteArray text;
    if (!SafeFile::Read(m_strUserCopyPath, -1, text).isEmpty())
        return;
    CIniFile user;
    user.m_bCaseInsensitive = m_bCaseInsensitive;
    user.LoadText(text);
    bool same = false;
    for (const Section &sec : user.m_Sections) {
        for (int k = 0; k < sec.keys.size(); ++k) {
            const int s = FindSection(sec.name);
            const int at = s < 0 ? -1 : FindKey(m_Sections[static_cast<std::size_t>(s)], sec.keys.at(k));
            if (at >= 0 && m_Sections[static_cast<std::size_t>(s)].values.at(at) == sec.values.at(k)) {
                same = true; // what the installed file says already is no change of the user's
                continue;
            }
            const bool modified = m_bModified;
            SetValue(sec.name, sec.keys.at(k), sec.values.at(k));
            m_bModified = modified;
            NoteUserKey(sec.name, sec.keys.at(k));
        }
    }
    m_bUserCopy = true;
    if (same)
        SaveUserCopy(); // a whole copy would shadow every later change of the installed file
}

void CIniFile::NoteUserKey(const QString &section, const QString &key)
{
    for (const UserKey &known : m_UserKeys)
        if (Same(known.section, section) && Same(known.key, key))
            return;
    m_UserKeys.push_back(UserKey { section, key });
}

// The user's keys with their values now, grouped by section in the order they were first met.
QString CIniFile::SaveUserCopy() const
{
    QString out;
    std::vector<bool> written(m_UserKeys.size(), false);
    for (std::size_t i = 0; i < m_UserKeys.size(); ++i) {
        if (written[i])
            continue;
        const int s = FindSection(m_UserKeys[i].section);
        if (s < 0)
            continue;
        const Section &sec = m_Sections[static_cast<std::size_t>(s)];
        if (s > 0)
            out += QLatin1Char('[') + sec.name + QLatin1String("]\n");
        for (std::size_t j = i; j < m_UserKeys.size(); ++j) {
            if (written[j] || !Same(m_UserKeys[j].section, m_UserKeys[i].section))
                continue;
            written[j] = true;
            const int k = FindKey(sec, m_UserKeys[j].key);
            if (k >= 0)
                out += sec.keys.at(k) + QLatin1Char('=') + sec.values.at(k) + QLatin1Char('\n');
        }
    }
    QDir().mkpath(QFileInfo(m_strUserCopyPath).absolutePath());
    return SafeFile::Write(m_strUserCopyPath, IniText::Encode(out, IniText::Format {}));
}

int CIniFile::Open(const QString &path, bool autoSave, bool caseInsensitive, bool backupOnSave)
{
    if (!m_strPath.isEmpty()) {
        Save(false);
        Clear();
    }
    m_bAutoSave = autoSave;
    m_bCaseInsensitive = caseInsensitive;
    m_strUserCopyPath.clear();
    m_bUserCopy = false;
    m_UserKeys.clear();
    m_bBackupOnSave = backupOnSave;

    // A missing file is created empty, so that a later save has a file to replace.
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::ReadWrite)) {
        m_strLastError = file.errorString();
        return 0;
    }
    file.close();
    QByteArray text;
    const QString reason = SafeFile::Read(path, -1, text);
    if (!reason.isEmpty() && text.isEmpty()) {
        m_strLastError = reason;
        return 0;
    }
    m_strPath = path;
    if (!reason.isEmpty())
        m_strLastError = reason;
    LoadText(text);
    return reason.isEmpty() ? 1 : 0;
}

// The tables grow by at least the growth step, and by half their size once that is more: a file of
// many sections loads in time proportional to its length.
void CIniFile::AddSection(const QString &name)
{
    if (m_Sections.size() == m_Sections.capacity()) {
        const std::size_t step = std::max(static_cast<std::size_t>(m_nGrowthStep), m_Sections.size() / 2);
        m_Sections.reserve(m_Sections.size() + step);
    }
    m_Sections.push_back(Section { name, {}, {} });
}

void CIniFile::LoadText(const QByteArray &text)
{
    m_Sections.clear();
    m_Sections.reserve(static_cast<std::size_t>(m_nGrowthStep));
    m_Sections.push_back(Section {});
    const QString whole = IniText::Decode(text, m_Format);
    for (qsizetype from = 0; from <= whole.size();) {
        qsizetype end = whole.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = whole.size();
        // Views into the whole text: only the names, keys and values kept are copied.
        const QStringView line = trimmedView(QStringView(whole).sliced(from, end - from));
        from = end + 1;
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            AddSection(line.sliced(1, line.size() - 2).toString());
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QStringView key = trimmedView(eq < 0 ? line : line.first(eq));
        if (key.isEmpty() || isCommentKey(key))
            continue;
        m_Sections.back().keys << key.toString();
        m_Sections.back().values << (eq < 0 ? QString() : trimmedView(line.sliced(eq + 1)).toString());
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
        AddSection(section);
        s = static_cast<int>(m_Sections.size()) - 1;
        m_bModified = true;
    }
    Section &sec = m_Sections[static_cast<std::size_t>(s)];
    const int k = FindKey(sec, key);
    if (k < 0) {
        sec.keys << key;
        sec.values << value;
        m_bModified = true;
        NoteUserKey(section, key);
        return;
    }
    if (!Same(sec.values.at(k), value)) {
        m_bModified = true;
        NoteUserKey(section, key);
    }
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
    QString out;
    for (std::size_t i = 0; i < m_Sections.size(); ++i) {
        const Section &sec = m_Sections[i];
        if (i > 0)
            out += QLatin1Char('[') + sec.name + QLatin1String("]\n");
        for (int k = 0; k < sec.keys.size(); ++k) {
            out += sec.keys.at(k);
            if (!sec.keys.at(k).isEmpty())
                out += QLatin1Char('=');
            out += sec.values.at(k) + QLatin1Char('\n');
        }
    }
    return IniText::Encode(out, m_Format);
}

QString CIniFile::Save(bool backup)
{
    m_strSaveError.clear();
    if (!m_bModified || m_strPath.isEmpty())
        return QString();
    if (m_bUserCopy) {
        m_strSaveError = SaveUserCopy();
        return QString();
    }
    if (backup) {
        QString name = m_strBackupName.isEmpty() ? ChooseBackupName() : m_strBackupName;
        QFile::remove(name);
        QFile::copy(m_strPath, name);
        m_strBackupName = name;
    }
    // A failed save leaves the old file as it was (and says why); it is never emptied or padded.
    m_strSaveError = SafeFile::Write(m_strPath, Serialize());
    if (!m_strSaveError.isEmpty() && CannotWrite(m_strPath) && !m_strUserCopyPath.isEmpty()
        && m_strUserCopyPath != m_strPath) {
        // An install the user may not change: the changes go to their own copy, laid over it from
        // then on.
        m_bUserCopy = true;
        m_strSaveError = SaveUserCopy();
        return QString();
    }
    if (!m_strSaveError.isEmpty())
        return QString();
    return m_strBackupName;
}

// The file, or the folder of a file not there yet, is closed to this user (as opposed to a file that
// is no regular file, or a full disk: those stay failures).
bool CIniFile::CannotWrite(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.isFile() && !info.isWritable();
    return !QFileInfo(info.absolutePath()).isWritable();
}

void CIniFile::Clear()
{
    m_Sections.clear();
    m_strPath.clear();
    m_bModified = false;
    m_Format = {};
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
