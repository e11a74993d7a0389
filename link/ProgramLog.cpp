#include "link/ProgramLog.h"

#include "config/AppPaths.h"
#include "config/FileKind.h"
#include "config/Language.h"
#include "link/LogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <mutex>

namespace {

constexpr CBilingual kNotWritten {
    "The programming log could not be written (%1); the transfer itself is not affected.",
    "无法写入编程日志 (%1); 传输本身不受影响。"
};
constexpr CBilingual kSkipped { "%1, line %2: a cut or unreadable record was skipped.",
    "%1, 第 %2 行: 已跳过一条不完整或无法读取的记录。" };
constexpr CBilingual kLogFolderMissing { "the folder cannot be made", "无法建立该文件夹" };

const QString kLogFileName = QStringLiteral("programming-log.jsonl");
const QString kLogStem = QStringLiteral("programming-log");
// programming-log-20261208.jsonl, and -2, -3 for more renames the same day.
const QRegularExpression kLogRenamed(QStringLiteral("^programming-log-(\\d{8})(?:-(\\d+))?\\.jsonl$"));
// More renames of one day than any log could need: past them the records go on into the same file.
constexpr int kMostRenamesADay = 1000;

// Batch threads append side by side: one of them at a time in this process, and the lock file keeps
// other processes out for as long as one checks the size, renames and appends.
std::mutex g_LogMutex;

} // namespace

CProgramLog::CProgramLog(const QString& path, qint64 rotateBytes)
    : m_strPath(path.isEmpty() ? Path() : path)
    , m_nRotateBytes(rotateBytes)
{
}

QString CProgramLog::Path()
{
    // The tool's own per-user data folder, the same for the window and program-cli, so one log holds
    // every transfer whichever program made it.
    return QDir(CAppPaths::UserDataDir()).filePath(kLogFileName);
}

QString CProgramLog::NotWritten(const QString& reason, bool chinese)
{
    return kNotWritten.Text(chinese).arg(reason);
}

void CProgramLog::RotateIfFull() const
{
    const QFileInfo info(m_strPath);
    if (info.isSymLink() || !info.isFile() || info.size() < m_nRotateBytes)
        return;
    const QDir dir = info.absoluteDir();
    const QString stem
        = kLogStem + QLatin1Char('-') + info.lastModified().toUTC().toString(QStringLiteral("yyyyMMdd"));
    // A name taken since it was looked at is never replaced: the next number is tried.
    for (int n = 1; n <= kMostRenamesADay; ++n) {
        const QString name
            = n == 1 ? stem + QStringLiteral(".jsonl") : stem + QStringLiteral("-%1.jsonl").arg(n);
        if (dir.exists(name))
            continue;
        if (LogFile::RenameNoReplace(m_strPath, dir.filePath(name)) != LogFile::Renamed::Exists)
            return; // renamed, or the records simply go on into the same file
    }
}

QString CProgramLog::Append(const CLogRecord& record) const
{
    const std::lock_guard guard(g_LogMutex);
    if (!QDir().mkpath(QFileInfo(m_strPath).absolutePath()))
        return kLogFolderMissing.Text();
    const LogFile::CLock lock(m_strPath);
    // Without the lock another program may be renaming: the record then goes where the name leads.
    if (lock.Held())
        RotateIfFull();
    return LogFile::Append(m_strPath, record.ToLine());
}

QStringList CProgramLog::Files() const
{
    const QFileInfo info(m_strPath);
    QStringList renamed;
    for (const QString& name :
        info.absoluteDir().entryList({ kLogStem + QStringLiteral("-*.jsonl") }, QDir::Files))
        if (kLogRenamed.match(name).hasMatch())
            renamed << name;
    std::sort(renamed.begin(), renamed.end(), [](const QString& a, const QString& b) {
        const auto ma = kLogRenamed.match(a);
        const auto mb = kLogRenamed.match(b);
        if (ma.captured(1) != mb.captured(1))
            return ma.captured(1) < mb.captured(1);
        return ma.captured(2).toInt() < mb.captured(2).toInt();
    });
    QStringList files;
    for (const QString& name : renamed)
        files << info.absoluteDir().filePath(name);
    files << info.absoluteFilePath();
    return files;
}

bool CProgramLog::Owns(const QString& path) const
{
    const QFileInfo target(path);
    const QFileInfo log(m_strPath);
    if (target.absoluteDir() == log.absoluteDir()
        && (target.fileName() == log.fileName() || target.fileName() == QLatin1String(".programming-log.lock")
            || kLogRenamed.match(target.fileName()).hasMatch()))
        return true;
    const QStringList files = Files();
    return std::any_of(
        files.begin(), files.end(), [&path](const QString& file) { return FileKind::SameFile(path, file); });
}

void CProgramLog::ForEach(bool chinese, const std::function<void(const CLogRecord&)>& onRecord,
    const std::function<void(const QString&)>& onNote) const
{
    for (const QString& path : Files())
        ReadFile(path, {}, false, chinese, onRecord, onNote);
}

CProgramLog::Position CProgramLog::ReadFile(const QString& path, Position from, bool holdCut, bool chinese,
    const std::function<void(const CLogRecord&)>& onRecord, const std::function<void(const QString&)>& onNote)
{
    // Only a regular file: a FIFO or a device in the log's place is not waited on.
    const QFileInfo info(path);
    if (!info.isFile())
        return from;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return from;
    return ReadFile(file, path, from, holdCut, chinese, onRecord, onNote);
}

CProgramLog::Position CProgramLog::ReadFile(QFile& file, const QString& path, Position from, bool holdCut,
    bool chinese, const std::function<void(const CLogRecord&)>& onRecord,
    const std::function<void(const QString&)>& onNote)
{
    if (!file.seek(from.offset))
        return from;
    QByteArray line(kLongestLine + 1, '\0');
    Position at = from;
    for (int number = from.line + 1; !file.atEnd(); ++number) {
        const qint64 length = file.readLine(line.data(), line.size());
        if (length < 0)
            break;
        QByteArrayView text(line.constData(), length);
        bool whole = true;
        if (length > 0 && text.back() != '\n' && !file.atEnd()) {
            // Longer than any record: the rest of it is passed over a piece at a time.
            whole = false;
            qint64 rest = 0;
            while ((rest = file.readLine(line.data(), line.size())) > 0 && line.at(rest - 1) != '\n') { }
        }
        const bool ended = file.atEnd() && (length == 0 || text.back() != '\n') && whole;
        if (ended && holdCut)
            break; // its writer may not be done with it
        at = { file.pos(), number };
        if (whole && text.trimmed().isEmpty())
            continue;
        const std::optional<CLogRecord> record
            = whole ? CLogRecord::FromLine(text.toByteArray()) : std::nullopt;
        if (record)
            onRecord(*record);
        else if (onNote)
            onNote(kSkipped.Text(chinese).arg(QDir::toNativeSeparators(path)).arg(number));
    }
    return at;
}

CProgramLog::Contents CProgramLog::Read(bool chinese) const
{
    Contents contents;
    ForEach(
        chinese, [&contents](const CLogRecord& record) { contents.records << record; },
        [&contents](const QString& note) { contents.notes << note; });
    return contents;
}
