#include "config/UserSettings.h"

#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/UserFilesMove.h"

#include <QSettings>
#include <QStandardPaths>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr const char *kPortValue = "com";
constexpr const char *kTypeValue = "Type";
constexpr const char *kFieldValue = "Field";
constexpr const char *kDeviceValue = "device";
constexpr const char *kFolderValue = "folder";
constexpr const char *kVerifyValue = "VerifyAfterWriting";
constexpr const char *kTraceValue = "LogSerialTraffic";
}

CUserSettings::CUserSettings(const QString &appName)
{
#if defined(Q_OS_WIN)
    m_Settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\") + appName,
                                             QSettings::NativeFormat);
#else
    // <AppName>.ini in the one folder of this user's settings; a file an earlier version kept in the
    // configuration folder itself moves there first.
    CUserFilesMove::MoveSettings(appName);
    m_Settings = std::make_unique<QSettings>(
        QDir(CAppPaths::UserConfigDir()).filePath(CUserFilesMove::SettingsFileName(appName)), QSettings::IniFormat);
#endif
}

CUserSettings::~CUserSettings() = default;

CUserSettings CUserSettings::ForConfiguration(const CIniFile &ini)
{
    return CUserSettings(ini.GetValue(QStringLiteral("Setup"), QStringLiteral("AppName")));
}

std::uint32_t CUserSettings::Value(const char *name, std::uint32_t absent) const
{
    bool ok = false;
    const qlonglong value = m_Settings->value(QLatin1String(name)).toLongLong(&ok);
    return ok ? static_cast<std::uint32_t>(value) : absent;
}

int CUserSettings::PortNumber() const
{
    return static_cast<int>(Value(kPortValue, 1));
}

void CUserSettings::SetPortNumber(int number)
{
    m_Settings->setValue(QLatin1String(kPortValue), number);
    m_Settings->sync();
}

QString CUserSettings::PortDevice() const
{
    return m_Settings->value(QLatin1String(kDeviceValue)).toString();
}

void CUserSettings::SetPortDevice(const QString &device)
{
    if (device.isEmpty())
        m_Settings->remove(QLatin1String(kDeviceValue));
    else
        m_Settings->setValue(QLatin1String(kDeviceValue), device);
    m_Settings->sync();
}

QString CUserSettings::FileFolder() const
{
    const QString last = m_Settings->value(QLatin1String(kFolderValue)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void CUserSettings::SetFileFolder(const QString &folder)
{
    m_Settings->setValue(QLatin1String(kFolderValue), folder);
    m_Settings->sync();
}

std::uint32_t CUserSettings::Type() const
{
    return Value(kTypeValue, 0);
}

std::uint32_t CUserSettings::Field() const
{
    return Value(kFieldValue, 0);
}

void CUserSettings::SetTypeAndField(std::uint32_t type, std::uint32_t field)
{
    // Stored as 32-bit ints, which the registry keeps as REG_DWORD like the values other tools read;
    // a 64-bit number would become a REG_QWORD.
    m_Settings->setValue(QLatin1String(kTypeValue), static_cast<qint32>(type));
    m_Settings->setValue(QLatin1String(kFieldValue), static_cast<qint32>(field));
    m_Settings->sync();
}

QString CUserSettings::Location() const
{
    return m_Settings->fileName();
}

bool CUserSettings::VerifyAfterWriting() const
{
    return Value(kVerifyValue, 0) != 0;
}

void CUserSettings::SetVerifyAfterWriting(bool on)
{
    m_Settings->setValue(QLatin1String(kVerifyValue), on ? 1 : 0);
    m_Settings->sync();
}

bool CUserSettings::LogSerialTraffic() const
{
    return Value(kTraceValue, 0) != 0;
}

void CUserSettings::SetLogSerialTraffic(bool on)
{
    m_Settings->setValue(QLatin1String(kTraceValue), on ? 1 : 0);
    m_Settings->sync();
}
