#include "link/SerialTrace.h"

#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/SafeFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QDir>
#include <QTextStream>

#include <map>

namespace {

// The process-wide choice, set before transfers start and read by every port opening.
std::mutex g_TraceMutex;
std::shared_ptr<CSerialTrace> g_Shared; // one file for all ports
QString g_Folder; // else, a file per device here,
std::map<QString, std::shared_ptr<CSerialTrace>> g_PerDevice; // kept for the run: a repeat loop's
                                                              // link openings would make a file a second

constexpr CBilingual kIncomplete { "The trace file %1 could not be written (%2); the trace is incomplete.",
                                   "无法写入跟踪文件 %1 (%2); 跟踪记录不完整。" };
constexpr CBilingual kTraceFolderMissing { "its folder cannot be made", "无法建立其文件夹" };
struct Failure {
    QString path;
    QString reason;
};
std::vector<Failure> g_Failures; // not yet told to the user

QString Stamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

// "/dev/ttyUSB0" -> "ttyUSB0", "COM3" -> "COM3": a file name part.
QString SafeName(const QString &device)
{
    QString name = QFileInfo(device).fileName();
    for (QChar &c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("port") : name;
}

} // namespace

// Appending keeps the record of earlier runs the user may still need. The file is never reached
// through a symlink, so a trace cannot be made to write somewhere else.
CSerialTrace::CSerialTrace(const QString &path, bool exclusive)
    : m_strPath(path)
{
    m_nFile = SafeFile::OpenAppend(path, exclusive, m_strError);
}

CSerialTrace::~CSerialTrace()
{
    SafeFile::CloseAppend(m_nFile);
}

bool CSerialTrace::StartFile(const QString &path, QString *error)
{
    std::shared_ptr<CSerialTrace> trace(new CSerialTrace(path, false));
    const std::lock_guard lock(g_TraceMutex);
    g_Folder.clear();
    g_PerDevice.clear();
    if (trace->m_nFile < 0) {
        if (error)
            *error = trace->m_strError;
        g_Shared.reset();
        return false;
    }
    g_Shared = std::move(trace);
    return true;
}

void CSerialTrace::StartFolder(const QString &folder)
{
    const std::lock_guard lock(g_TraceMutex);
    g_Shared.reset();
    g_PerDevice.clear();
    g_Folder = folder;
}

void CSerialTrace::StopAll()
{
    const std::lock_guard lock(g_TraceMutex);
    g_Shared.reset();
    g_Folder.clear();
    g_PerDevice.clear();
}

QStringList CSerialTrace::TakeFailures(bool chinese)
{
    const std::lock_guard lock(g_TraceMutex);
    QStringList lines;
    for (const Failure &failure : g_Failures)
        lines << kIncomplete.Text(chinese).arg(failure.path, failure.reason);
    g_Failures.clear();
    return lines;
}

QString CSerialTrace::DefaultFolder()
{
    return QDir(CAppPaths::UserDataDir()).filePath(QStringLiteral("traces"));
}

std::shared_ptr<CSerialTrace> CSerialTrace::ForPort(const QString &device)
{
    const std::lock_guard lock(g_TraceMutex);
    if (g_Shared)
        return g_Shared;
    if (g_Folder.isEmpty())
        return nullptr;
    if (const auto known = g_PerDevice.find(device); known != g_PerDevice.end())
        return known->second;
    // A trace that cannot be written must never stop the transfer: it is not kept, and that is said.
    const QString base = QStringLiteral("trace-%1-%2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")),
                                 SafeName(device));
    const QString path = QDir(g_Folder).filePath(base + QStringLiteral(".txt"));
    if (!QDir().mkpath(g_Folder)) {
        g_Failures.push_back({ path, kTraceFolderMissing.Text() });
        return nullptr;
    }
    // A new file every time: a name that is taken (a symlink planted there too) is not written into.
    std::shared_ptr<CSerialTrace> trace(new CSerialTrace(path, true));
    if (trace->m_nFile < 0) {
        g_Failures.push_back({ path, trace->m_strError });
        return nullptr;
    }
    g_PerDevice.emplace(device, trace);
    return trace;
}

QString CSerialTrace::Describe(Direction direction, const std::uint8_t *bytes, int n)
{
    QString hex;
    QString ascii;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            hex += QLatin1Char(' ');
        hex += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
        ascii += (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? QChar(bytes[i]) : QLatin1Char('.');
    }
    return QStringLiteral("%1 %2  |%3|")
        .arg(direction == Direction::ToRadio ? QStringLiteral("->") : QStringLiteral("<-"), hex, ascii);
}

void CSerialTrace::Bytes(const QString &device, Direction direction, const std::uint8_t *bytes, int n)
{
    if (n > 0)
        Line(device, Describe(direction, bytes, n));
}

void CSerialTrace::Note(const QString &device, const QString &text)
{
    Line(device, QStringLiteral("-- ") + text);
}

void CSerialTrace::Line(const QString &device, const QString &text)
{
    const QString line = QStringLiteral("%1 %2 %3\n").arg(Stamp(), device, text);
    const std::lock_guard lock(m_Mutex);
    if (m_nFile < 0 || !m_strError.isEmpty())
        return;
    // Straight to the file line by line: the trace matters most when the program is stopped or falls
    // over. After a failure nothing more is written, so the file never holds a trace with gaps.
    if (const QString reason = SafeFile::Append(m_nFile, line.toUtf8()); !reason.isEmpty())
        Failed(reason);
}

void CSerialTrace::Failed(const QString &reason)
{
    m_strError = reason;
    const std::lock_guard lock(g_TraceMutex);
    g_Failures.push_back({ m_strPath, reason });
}

QString CSerialTrace::Path() const
{
    return m_strPath;
}
