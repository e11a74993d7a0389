#include "link/LogFollower.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// Enough of the first record to tell two log files apart: it holds the time and the port.
constexpr qint64 kFollowerHeadBytes = 256;
}

CLogFollower::CLogFollower(const QString& logPath, QObject* parent)
    : QObject(parent)
    , m_Log(logPath)
{
    m_Settle.setSingleShot(true);
    m_Settle.setInterval(kSettleMs);
    connect(&m_Settle, &QTimer::timeout, this, [this] {
        Watch(); // a renamed or new file is watched under the log's name again
        emit Changed();
    });
    const auto changed = [this] { m_Settle.start(); };
    connect(&m_Watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&m_Watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    Watch();
}

void CLogFollower::Watch()
{
    // The file itself for appends; its folder for a rename, a new file, or the log made for the first
    // time. A folder not made yet: the nearest one that is there, until it is.
    const QString path = m_Log.Files().constLast();
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir() && QFileInfo(folder).absolutePath() != folder)
        folder = QFileInfo(folder).absolutePath();
    QStringList wanted { folder };
    if (QFileInfo(path).isFile())
        wanted << path;
    const QStringList watched = m_Watcher.files() + m_Watcher.directories();
    for (const QString& old : watched)
        if (!wanted.contains(old))
            m_Watcher.removePath(old);
    for (const QString& one : wanted)
        if (!watched.contains(one))
            m_Watcher.addPath(one);
}

bool CLogFollower::ReadAll(bool chinese, const RecordSink& onRecord, const NoteSink& onNote)
{
    const QStringList files = m_Log.Files();
    for (qsizetype i = 0; i + 1 < files.size(); ++i)
        CProgramLog::ReadFile(files.at(i), {}, false, chinese, onRecord, onNote);
    m_At = {};
    m_Head.clear();
    // Only a regular file: a FIFO or a device in the log's place is not waited on.
    QFile file(files.constLast());
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return m_Log.Files() == files;
    m_At = CProgramLog::ReadFile(file, file.fileName(), {}, true, chinese, onRecord, onNote);
    // A cut last line is said now (a crash may have left it) and read again once it is whole.
    if (file.size() > m_At.offset)
        CProgramLog::ReadFile(file, file.fileName(), m_At, false, chinese, onRecord, onNote);
    if (file.seek(0))
        m_Head = file.read(std::min(kFollowerHeadBytes, m_At.offset));
    // A rename between listing the files and reading the current one would hide the renamed records.
    return m_Log.Files() == files;
}

bool CLogFollower::ReadNew(bool chinese, const RecordSink& onRecord, const NoteSink& onNote)
{
    // One open file for the check and the reading, so a rename in between cannot mix two files.
    QFile file(m_Log.Files().constLast());
    const bool there = QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
    if (!there)
        return m_At.offset == 0; // gone: whatever was read of it now lies in a renamed file
    // Shorter than what was read, or beginning with other bytes: another file has the log's name.
    if (file.size() < m_At.offset || file.read(m_Head.size()) != m_Head)
        return false;
    m_At = CProgramLog::ReadFile(file, file.fileName(), m_At, true, chinese, onRecord, onNote);
    if (m_Head.size() < kFollowerHeadBytes && file.seek(0))
        m_Head = file.read(std::min(kFollowerHeadBytes, m_At.offset));
    return true;
}
