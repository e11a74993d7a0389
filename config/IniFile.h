#pragma once

#include "config/IniText.h"

#include <QString>
#include <QStringList>
#include <vector>

// The configuration file "Program.ini" held in memory: sections in brackets, "key=value" lines and
// comments. Loaded at once, answered by section and key, changed in memory and written back whole.
class CIniFile
{
public:
    // An empty store with no file open; growthStep section slots are added whenever the tables fill.
    explicit CIniFile(int growthStep = 4);
    // Saves when auto-save is on and the store was changed, then forgets everything.
    virtual ~CIniFile();

    CIniFile(const CIniFile &) = delete;
    CIniFile &operator=(const CIniFile &) = delete;

    // Opens fileName in the directory of the running program (the current directory when that is
    // unknown), with this user's own copy (CAppPaths::UserCopy) laid over it: the copy holds only the
    // keys the user changed, so whatever else the installed file says, today or after an update,
    // reaches every user. A copy holding keys the installed file already has with the same values
    // (an older version kept the whole file there) is cut down to the others once. 1 on success, 0
    // on failure.
    int OpenBesideExe(const QString &fileName, bool autoSave, bool caseInsensitive, bool backupOnSave);
    // Loads path, creating it empty when missing. A store already open is saved and cleared first.
    // 1 on success; 0 when the file cannot be opened or read (LastError() then says why).
    int Open(const QString &path, bool autoSave, bool caseInsensitive, bool backupOnSave);

    // The value of key in the first section of that name, with any "//", TAB ";" or "/*" comment cut
    // off (blanks before the comment stay). A missing section gives defaultValue unchanged, a missing
    // key gives defaultValue trimmed.
    QString GetValue(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    // Sets key in section, appending either when missing. Ignored while no file is open. A key
    // changed after OpenBesideExe belongs to the user's copy from then on.
    void SetValue(const QString &section, const QString &key, const QString &value);
    // Writes the whole file when the store was changed, in the encoding and line endings it was read
    // with. Returns the backup file name (empty while none was chosen); the empty text when nothing was
    // written. A failed write leaves the file as it was and SaveError() says why. Opened with
    // OpenBesideExe, the changes go to the user's copy when there is one or when the installed file is
    // closed to this user; only then the whole file is written in place.
    QString Save(bool backup);
    // Why the last Save failed; empty when it wrote the file or had nothing to write.
    QString SaveError() const { return m_strSaveError; }
    void Clear();

    int DeleteKey(const QString &section, const QString &key);
    int DeleteSection(const QString &section);
    void GetSectionNames(QStringList &names) const;
    void GetKeys(const QString &section, QStringList &keys) const;
    // Item index (0-based) of the value cut at separator, trimmed; empty when out of range.
    QString GetListItem(const QString &section, const QString &key, int index, QChar separator) const;

    QString Path() const { return m_strPath; }
    // The file Save writes: Path(), or the user's copy laid over it.
    QString SavePath() const { return m_bUserCopy ? m_strUserCopyPath : m_strPath; }
    QString LastError() const { return m_strLastError; }
    bool IsModified() const { return m_bModified; }
    // Parses text as the contents of a file (used by Open and by the fuzz target); its encoding and
    // line endings are kept for the save.
    void LoadText(const QByteArray &text);
    // The text Save writes: sections in order, "key=value" lines, no comments or blank lines.
    QByteArray Serialize() const;

private:
    struct Section
    {
        QString name;
        QStringList keys;
        QStringList values; // values[i] belongs to keys[i]
    };

    static bool CannotWrite(const QString &path);
    int FindSection(const QString &name) const;
    int FindKey(const Section &section, const QString &key) const;
    bool Same(const QString &a, const QString &b) const;
    QString ChooseBackupName() const;
    void AddSection(const QString &name);
    void ApplyUserCopy();
    QString SaveUserCopy() const;
    void NoteUserKey(const QString &section, const QString &key);

    QString m_strLastError;
    std::vector<Section> m_Sections; // index 0: the unnamed section before the first header
    int m_nGrowthStep;
    bool m_bCaseInsensitive = true;
    bool m_bAutoSave = false;
    QString m_strBackupName;
    bool m_bBackupOnSave = false;
    bool m_bModified = false;
    QString m_strPath;
    QString m_strUserCopyPath; // this user's changes over m_strPath
    bool m_bUserCopy = false; // saves go to m_strUserCopyPath
    struct UserKey
    {
        QString section, key;
    };
    std::vector<UserKey> m_UserKeys; // what the user's copy holds: read from it or changed since
    QString m_strSaveError;
    IniText::Format m_Format;
};
