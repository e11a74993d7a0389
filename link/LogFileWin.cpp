#include "link/LogFile.h"

#include "config/Language.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <windows.h>

namespace {

constexpr int kLogLockWaitMsWin = 5000;
constexpr int kLogLockPollMsWin = 10;
constexpr CBilingual kLogNotAFileWin { "it is not a regular file", "它不是普通文件" };

std::wstring LogNativeName(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

QString LogErrorTextWin(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const QString reason = text ? QString::fromWCharArray(text).trimmed() : QString::number(error);
    LocalFree(text);
    return reason;
}

} // namespace

namespace LogFile {

CLock::CLock(const QString& logPath)
{
    const QString name = QFileInfo(logPath).absoluteDir().filePath(QStringLiteral(".programming-log.lock"));
    HANDLE handle = CreateFileW(LogNativeName(name).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    for (int waited = 0; waited <= kLogLockWaitMsWin; waited += kLogLockPollMsWin) {
        OVERLAPPED whole {};
        if (LockFileEx(
                handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
            m_nHandle = reinterpret_cast<long long>(handle);
            return;
        }
        QThread::msleep(kLogLockPollMsWin);
    }
    CloseHandle(handle);
}

CLock::~CLock()
{
    if (m_nHandle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_nHandle)); // releases the lock
}

QString Append(const QString& path, QByteArray line)
{
    // Opened for appending only: every write lands at the end of the file, wherever another writer
    // has taken it meanwhile.
    HANDLE handle = CreateFileW(LogNativeName(path).c_str(),
        FILE_READ_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LogErrorTextWin(GetLastError());
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(handle, &info)
        || (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0
        || GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return kLogNotAFileWin.Text();
    }
    LARGE_INTEGER size {};
    GetFileSizeEx(handle, &size);
    // A record cut by a crash must not swallow this one: it starts a line of its own.
    if (size.QuadPart > 0) {
        LARGE_INTEGER at {};
        at.QuadPart = size.QuadPart - 1;
        char last = '\n';
        DWORD got = 0;
        if (SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) && ReadFile(handle, &last, 1, &got, nullptr)
            && got == 1 && last != '\n')
            line.prepend('\n');
    }
    DWORD error = 0;
    DWORD written = 0;
    if (!WriteFile(handle, line.constData(), DWORD(line.size()), &written, nullptr))
        error = GetLastError();
    else if (written != DWORD(line.size()))
        error = ERROR_DISK_FULL;
    if (error == 0 && !FlushFileBuffers(handle))
        error = GetLastError();
    CloseHandle(handle);
    if (error != 0 && written > 0) {
        // Take back the part that went in, unless another writer has appended since.
        HANDLE cut = CreateFileW(LogNativeName(path).c_str(), GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        LARGE_INTEGER now {};
        if (cut != INVALID_HANDLE_VALUE && GetFileSizeEx(cut, &now) && now.QuadPart == size.QuadPart + written
            && SetFilePointerEx(cut, size, nullptr, FILE_BEGIN))
            SetEndOfFile(cut);
        if (cut != INVALID_HANDLE_VALUE)
            CloseHandle(cut);
    }
    return error == 0 ? QString() : LogErrorTextWin(error);
}

Renamed RenameNoReplace(const QString& from, const QString& to)
{
    // Without MOVEFILE_REPLACE_EXISTING a file already called to is never replaced.
    if (MoveFileExW(LogNativeName(from).c_str(), LogNativeName(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return Renamed::Done;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Renamed::Exists : Renamed::Failed;
}

} // namespace LogFile
