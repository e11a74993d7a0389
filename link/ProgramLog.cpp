#include "link/ProgramLog.h"

#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#if !defined(Q_OS_WIN)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr CBilingual kNotWritten {
    "The programming log could not be written (%1); the transfer itself is not affected.",
    "无法写入编程日志 (%1); 传输本身不受影响。"
};
constexpr CBilingual kSkipped { "%1, line %2: a cut or unreadable record was skipped.",
    "%1, 第 %2 行: 已跳过一条不完整或无法读取的记录。" };
constexpr CBilingual kLogFolderMissing { "the folder cannot be made", "无法建立该文件夹" };
constexpr CBilingual kNotAFile { "it is not a regular file", "它不是普通文件" };

const QString kFileName = QStringLiteral("programming-log.jsonl");
const QString kStem = QStringLiteral("programming-log");
// programming-log-20261208.jsonl, and -2, -3 for more renames the same day.
const QRegularExpression kRenamed(QStringLiteral("^programming-log-(\\d{8})(?:-(\\d+))?\\.jsonl$"));

// Batch threads append side by side; one of them at a time checks the size and renames.
std::mutex g_LogMutex;

#if !defined(Q_OS_WIN)
QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
#endif

} // namespace

CProgramLog::CProgramLog(const QString& path)
    : m_strPath(path.isEmpty() ? Path() : path)
{
}

QString CProgramLog::Path()
{
    // The tool's own per-user data folder, the same for the window and program-cli, so one log holds
    // every transfer whichever program made it.
    return QDir(CAppPaths::UserDataDir()).filePath(kFileName);
}

QString CProgramLog::NotWritten(const QString& reason, bool chinese)
{
    return kNotWritten.Text(chinese).arg(reason);
}

void CProgramLog::RotateIfFull() const
{
    const QFileInfo info(m_strPath);
    if (info.isSymLink() || !info.isFile() || info.size() < kRotateBytes)
        return;
    const QDir dir = info.absoluteDir();
    const QString stem
        = kStem + QLatin1Char('-') + info.lastModified().toUTC().toString(QStringLiteral("yyyyMMdd"));
    QString name = stem + QStringLiteral(".jsonl");
    for (int n = 2; dir.exists(name); ++n)
        name = stem + QStringLiteral("-%1.jsonl").arg(n);
    // When this fails the records simply go on into the same file.
    std::rename(QFile::encodeName(m_strPath).constData(), QFile::encodeName(dir.filePath(name)).constData());
}

QString CProgramLog::Append(const CLogRecord& record) const
{
    const std::lock_guard lock(g_LogMutex);
    if (!QDir().mkpath(QFileInfo(m_strPath).absolutePath()))
        return kLogFolderMissing.Text();
    RotateIfFull();
    QByteArray line = record.ToLine();
#if defined(Q_OS_WIN)
    QFile file(m_strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    if (file.write(line) != line.size() || !file.flush())
        return file.errorString();
    return {};
#else
    // No symlink is followed and nothing but a regular file is written to; O_NONBLOCK keeps a FIFO put
    // in the log's place from holding the program up.
    const int fd = ::open(QFile::encodeName(m_strPath).constData(),
        O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return ErrorText(errno);
    int error = 0;
    struct stat status { };
    if (::fstat(fd, &status) != 0) {
        error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return kNotAFile.Text();
    } else if (status.st_size > 0) {
        // A record cut by a crash or a full disk must not swallow this one: it starts a line of its own.
        char last = '\n';
        if (::pread(fd, &last, 1, status.st_size - 1) == 1 && last != '\n')
            line.prepend('\n');
    }
    if (error == 0) {
        ssize_t written = 0;
        do
            written = ::write(fd, line.constData(), static_cast<size_t>(line.size()));
        while (written < 0 && errno == EINTR);
        if (written < 0)
            error = errno;
        else if (written < line.size())
            error = ENOSPC;
        else if (::fsync(fd) != 0)
            error = errno;
    }
    ::close(fd);
    return error == 0 ? QString() : ErrorText(error);
#endif
}

QStringList CProgramLog::Files() const
{
    const QFileInfo info(m_strPath);
    QStringList renamed;
    for (const QString& name :
        info.absoluteDir().entryList({ kStem + QStringLiteral("-*.jsonl") }, QDir::Files))
        if (kRenamed.match(name).hasMatch())
            renamed << name;
    std::sort(renamed.begin(), renamed.end(), [](const QString& a, const QString& b) {
        const auto ma = kRenamed.match(a);
        const auto mb = kRenamed.match(b);
        if (ma.captured(1) != mb.captured(1))
            return ma.captured(1) < mb.captured(1);
        return ma.captured(2).toInt() < mb.captured(2).toInt();
    });
    QStringList files;
    for (const QString& name : renamed)
        files << info.absoluteDir().filePath(name);
    files << m_strPath;
    return files;
}

CProgramLog::Contents CProgramLog::Read(bool chinese) const
{
    Contents contents;
    for (const QString& path : Files()) {
        QByteArray bytes;
        if (!QFileInfo::exists(path) || !SafeFile::Read(path, -1, bytes).isEmpty())
            continue;
        const QList<QByteArray> lines = bytes.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (lines.at(i).trimmed().isEmpty())
                continue;
            if (const std::optional<CLogRecord> record = CLogRecord::FromLine(lines.at(i)))
                contents.records << *record;
            else
                contents.notes << kSkipped.Text(chinese).arg(QDir::toNativeSeparators(path)).arg(i + 1);
        }
    }
    // Newest last, and records of the same second in the order they were written.
    std::stable_sort(contents.records.begin(), contents.records.end(),
        [](const CLogRecord& a, const CLogRecord& b) { return a.time < b.time; });
    return contents;
}
