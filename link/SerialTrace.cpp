#include "link/SerialTrace.h"

#include "config/AppPaths.h"

#include <QDateTime>
#include <QFileInfo>
#include <QDir>
#include <QTextStream>

#include <map>

namespace {

// The process-wide choice, set before transfers start and read by every port opening.
std::mutex g_Mutex;
std::shared_ptr<CSerialTrace> g_Shared; // one file for all ports
QString g_Folder; // else, a file per device here,
std::map<QString, std::shared_ptr<CSerialTrace>> g_PerDevice; // kept for the run: a repeat loop's
                                                              // link openings would make a file a second

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

CSerialTrace::CSerialTrace(const QString &path)
    : m_File(path)
{
    // Appending keeps the record of earlier runs the user may still need.
    m_File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

CSerialTrace::~CSerialTrace() = default;

bool CSerialTrace::StartFile(const QString &path, QString *error)
{
    std::shared_ptr<CSerialTrace> trace(new CSerialTrace(path));
    const std::lock_guard lock(g_Mutex);
    g_Folder.clear();
    g_PerDevice.clear();
    if (!trace->m_File.isOpen()) {
        if (error)
            *error = trace->m_File.errorString();
        g_Shared.reset();
        return false;
    }
    g_Shared = std::move(trace);
    return true;
}

void CSerialTrace::StartFolder(const QString &folder)
{
    const std::lock_guard lock(g_Mutex);
    g_Shared.reset();
    g_PerDevice.clear();
    g_Folder = folder;
}

void CSerialTrace::StopAll()
{
    const std::lock_guard lock(g_Mutex);
    g_Shared.reset();
    g_Folder.clear();
    g_PerDevice.clear();
}

QString CSerialTrace::DefaultFolder()
{
    return QDir(CAppPaths::UserDataDir()).filePath(QStringLiteral("traces"));
}

std::shared_ptr<CSerialTrace> CSerialTrace::ForPort(const QString &device)
{
    const std::lock_guard lock(g_Mutex);
    if (g_Shared)
        return g_Shared;
    if (g_Folder.isEmpty())
        return nullptr;
    if (const auto known = g_PerDevice.find(device); known != g_PerDevice.end())
        return known->second;
    // A trace that cannot be written must never stop the transfer: it is simply not kept.
    if (!QDir().mkpath(g_Folder))
        return nullptr;
    const QString base = QStringLiteral("trace-%1-%2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")),
                                 SafeName(device));
    std::shared_ptr<CSerialTrace> trace(new CSerialTrace(QDir(g_Folder).filePath(base + QStringLiteral(".txt"))));
    if (!trace->m_File.isOpen())
        return nullptr;
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
    // Flushed line by line: the trace matters most when the program is stopped or falls over.
    m_File.write(line.toUtf8());
    m_File.flush();
}

QString CSerialTrace::Path() const
{
    return m_File.fileName();
}
