#include "config/SafeFile.h"

#include "config/FileKind.h"
#include "config/FileLockPlatform.h"
#include "config/LinkTarget.h"
#include "config/SafeFileSteps.h"
#include "config/SystemErrorWin.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <sys/stat.h>

#include <windows.h>

// The one writer on Windows: the new content goes to a temporary file beside the target, is flushed
// to the disk (FlushFileBuffers) and only then put over the old file in one step (MoveFileEx with
// replace and write-through), so any failure leaves the old file exactly as it was.
namespace SafeFile {

namespace {

std::wstring SafeFileNativeWin(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

QString SafeFileReasonWin(DWORD error)
{
    return SystemErrorTextWin(error);
}

// The test hook speaks in errno values (ENOSPC, EIO); Windows' own text for the same fault.
DWORD SafeFileInjectedWin(int error)
{
    switch (error) {
    case ENOSPC: return ERROR_DISK_FULL;
    case EACCES: return ERROR_ACCESS_DENIED;
    case EFBIG: return ERROR_FILE_TOO_LARGE;
    default: return ERROR_WRITE_FAULT;
    }
}

bool SafeFileWriteAllWin(HANDLE file, const QByteArray &bytes, DWORD &error)
{
    if (int injected = 0; Injected(Step::Write, injected)) {
        error = SafeFileInjectedWin(injected);
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, chunk, &written, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            return false;
        }
        done += written;
    }
    return true;
}

// A disk that cannot keep the bytes says so here at the latest: the save has failed.
bool SafeFileFlushedWin(HANDLE file, DWORD &error)
{
    if (int injected = 0; Injected(Step::Sync, injected)) {
        error = SafeFileInjectedWin(injected);
        return false;
    }
    if (FlushFileBuffers(file))
        return true;
    error = GetLastError();
    return false;
}

// A save killed half-way leaves ".NAME.saving-PID-XXXXXX"; those whose process has ended are removed.
void SafeFileRemoveLeftoversWin(const QString &folder, const QString &fileName)
{
    const QString prefix = QString::fromUtf8(TemporaryPrefix(fileName.toUtf8()));
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(SafeFileNativeWin(folder + QLatin1Char('/') + prefix + QLatin1Char('*')).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        const QString rest = name.mid(prefix.size());
        bool numeric = false;
        const ulong pid = rest.left(rest.indexOf(QLatin1Char('-'))).toULong(&numeric);
        if (numeric && pid != GetCurrentProcessId() && FileLockPlatform::ProcessGone(qint64(pid)))
            DeleteFileW(SafeFileNativeWin(folder + QLatin1Char('/') + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A new file beside target, written and flushed; its name, or empty with the error.
QString SafeFileTemporaryWin(const QString &target, const QByteArray &bytes, DWORD &error)
{
    const QFileInfo info(target);
    HANDLE file = INVALID_HANDLE_VALUE;
    QString temporary;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = info.dir().filePath(QString::fromUtf8(TemporaryPrefix(info.fileName().toUtf8()))
            + QString::number(GetCurrentProcessId()) + QLatin1Char('-')
            + QString::number(QRandomGenerator::global()->bounded(1000000), 36));
        file = CreateFileW(SafeFileNativeWin(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return QString();
    }
    if (file == INVALID_HANDLE_VALUE)
        return QString();
    bool ok = SafeFileWriteAllWin(file, bytes, error) && SafeFileFlushedWin(file, error);
    if (!CloseHandle(file) && ok)
        ok = false, error = GetLastError();
    if (!ok) {
        DeleteFileW(SafeFileNativeWin(temporary).c_str());
        return QString();
    }
    return temporary;
}

} // namespace

QString Write(const QString &path, const QByteArray &bytes)
{
    QString refused;
    const QString target = LinkTarget::Resolve(path, refused);
    if (target.isEmpty())
        return refused;
    if (const QString kind = FileKind::NotRegular(target); !kind.isEmpty())
        return kind;
    const std::wstring native = SafeFileNativeWin(target);
    const DWORD attributes = GetFileAttributesW(native.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A file the user made read-only stays as it is.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SafeFileReasonWin(ERROR_ACCESS_DENIED);
    DWORD links = 1;
    if (exists) {
        HANDLE old = CreateFileW(native.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        BY_HANDLE_FILE_INFORMATION info {};
        if (old != INVALID_HANDLE_VALUE && GetFileInformationByHandle(old, &info))
            links = info.nNumberOfLinks;
        if (old != INVALID_HANDLE_VALUE)
            CloseHandle(old);
    }
    const QFileInfo info(target);
    SafeFileRemoveLeftoversWin(info.absolutePath(), info.fileName());

    DWORD error = 0;
    const QString temporary = SafeFileTemporaryWin(target, bytes, error);
    if (temporary.isEmpty())
        return SafeFileReasonWin(error);
    if (int injected = 0; Injected(Step::Rename, injected)) {
        DeleteFileW(SafeFileNativeWin(temporary).c_str());
        return SafeFileReasonWin(SafeFileInjectedWin(injected));
    }
    // A file another program holds open without letting others replace it stays as it is: the move
    // fails with a sharing violation and the user is told.
    if (!MoveFileExW(SafeFileNativeWin(temporary).c_str(), native.c_str(),
            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(SafeFileNativeWin(temporary).c_str());
        return SafeFileReasonWin(error);
    }
    if (exists && links > 1)
        LinkBroken(target, qint64(links) - 1);
    return QString();
}

QString Create(const QString &path, const QByteArray &bytes, bool *exists)
{
    if (exists)
        *exists = false;
    DWORD error = 0;
    const QString temporary = SafeFileTemporaryWin(path, bytes, error);
    if (temporary.isEmpty())
        return SafeFileReasonWin(error);
    // Without MOVEFILE_REPLACE_EXISTING nothing already called path is replaced, a link included.
    if (!MoveFileExW(SafeFileNativeWin(temporary).c_str(), SafeFileNativeWin(path).c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(SafeFileNativeWin(temporary).c_str());
        if (exists)
            *exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return SafeFileReasonWin(error);
    }
    return QString();
}

int OpenAppend(const QString &path, bool exclusive, QString &reason)
{
    if (const QString kind = FileKind::NotRegular(path); !kind.isEmpty()) {
        reason = kind;
        return -1;
    }
    const int fd = ::_wopen(SafeFileNativeWin(path).c_str(),
        _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY | _O_NOINHERIT | (exclusive ? _O_EXCL : 0), _S_IREAD | _S_IWRITE);
    if (fd < 0)
        reason = qt_error_string(errno);
    return fd;
}

QString Append(int fd, const QByteArray &bytes)
{
    if (int injected = 0; Injected(Step::Write, injected))
        return SafeFileReasonWin(SafeFileInjectedWin(injected));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const int n = ::_write(fd, bytes.constData() + done, unsigned(std::min<qsizetype>(bytes.size() - done, 1 << 20)));
        if (n <= 0)
            return qt_error_string(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return QString();
}

void CloseAppend(int fd)
{
    if (fd >= 0)
        ::_close(fd);
}

QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 *fileSize)
{
    if (const QString kind = FileKind::NotRegular(QFileInfo(path).canonicalFilePath()); !kind.isEmpty())
        return kind;
    HANDLE file = CreateFileW(SafeFileNativeWin(path).c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SafeFileReasonWin(GetLastError());
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return FileKind::Reason(0);
    }
    if (LARGE_INTEGER size {}; fileSize && GetFileSizeEx(file, &size))
        *fileSize = size.QuadPart;
    bytes.clear();
    DWORD error = 0;
    char chunk[65536];
    while (maxBytes < 0 || bytes.size() < maxBytes) {
        const qint64 wanted = maxBytes < 0 ? qint64(sizeof chunk) : std::min<qint64>(sizeof chunk, maxBytes - bytes.size());
        DWORD got = 0;
        if (!ReadFile(file, chunk, DWORD(wanted), &got, nullptr)) {
            error = GetLastError();
            break;
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return error == 0 ? QString() : SafeFileReasonWin(error);
}

} // namespace SafeFile
