#include "link/RunningWork.h"

#include "config/Language.h"

#include <algorithm>

namespace {

constexpr CBilingual kWorkRead { "Read from the radio on %1: stopping discards what was read.",
    "%1 上正在读电台: 停止将丢弃已读到的数据。" };
constexpr CBilingual kWorkWrite {
    "Write to the radio on %1: stopped now, the radio would keep part of the new data "
    "and must be written again.",
    "%1 上正在写电台: 现在停止, 电台中将只有部分新数据, 必须重新写入。"
};
constexpr CBilingual kWorkVerify { "Verify of the write on %1: stopping leaves the write unchecked.",
    "%1 上正在校验写入: 停止后写入将未经校验。" };
constexpr CBilingual kWorkBatch {
    "Batch Write on %1: stopped now, a radio being written would keep part of the new "
    "data and must be written again.",
    "%1 上正在批量写入: 现在停止, 正在写的电台中将只有部分新数据, 必须重新写入。"
};
constexpr CBilingual kWorkRepeat {
    "Batch Write, one radio after another, on %1: stopped now, a radio being written "
    "would keep part of the new data and must be written again.",
    "%1 上正在逐台批量写入: 现在停止, 正在写的电台中将只有部分新数据, 必须重新写入。"
};
constexpr CBilingual kWorkServiceRead { "Service read on %1: stopping discards what was read.",
    "%1 上正在维修读取: 停止将丢弃已读到的数据。" };
constexpr CBilingual kWorkServiceWrite {
    "Service write on %1: stopped now, the radio would keep part of the new "
    "values and must be written again.",
    "%1 上正在维修写入: 现在停止, 电台中将只有部分新数值, 必须重新写入。"
};
constexpr CBilingual kCloseIntro { "The program is still talking to a radio:", "程序仍在与电台通信:" };
constexpr CBilingual kCloseAsk {
    "Stop and close the program?\nYes: stop after the current block, then close.  No: "
    "keep running.",
    "停止并关闭程序吗?\n是: 在当前数据块后停止, 然后关闭。  否: 继续运行。"
};
constexpr CBilingual kSignalIntro { "%1 received: stopping after the current block, then closing.",
    "收到 %1: 在当前数据块后停止, 然后关闭。" };

QString RunningWorkText(const CRunningWork::Entry& entry, bool chinese)
{
    const QString ports = entry.ports.join(QStringLiteral(", "));
    switch (entry.kind) {
    case CRunningWork::Kind::Read:
        return kWorkRead.Text(chinese).arg(ports);
    case CRunningWork::Kind::Write:
        return kWorkWrite.Text(chinese).arg(ports);
    case CRunningWork::Kind::Verify:
        return kWorkVerify.Text(chinese).arg(ports);
    case CRunningWork::Kind::BatchWrite:
        return kWorkBatch.Text(chinese).arg(ports);
    case CRunningWork::Kind::RepeatWrite:
        return kWorkRepeat.Text(chinese).arg(ports);
    case CRunningWork::Kind::ServiceRead:
        return kWorkServiceRead.Text(chinese).arg(ports);
    case CRunningWork::Kind::ServiceWrite:
        return kWorkServiceWrite.Text(chinese).arg(ports);
    }
    return ports;
}

QStringList RunningWorkLines(const QList<CRunningWork::Entry>& entries, bool chinese)
{
    QStringList lines;
    for (const CRunningWork::Entry& entry : entries)
        lines << QStringLiteral("- ") + RunningWorkText(entry, chinese);
    return lines;
}

} // namespace

CRunningWork::Guard::Guard(Kind kind, const QStringList& ports, std::function<void()> stop)
    : m_nId(CRunningWork::Add(kind, ports, std::move(stop)))
{
}

CRunningWork::Guard::~Guard()
{
    CRunningWork::Remove(m_nId);
}

void CRunningWork::Guard::SetKind(Kind kind)
{
    CRunningWork::SetKind(m_nId, kind);
}

CRunningWork& CRunningWork::Instance()
{
    static CRunningWork* instance = new CRunningWork; // lives to the end of the process
    return *instance;
}

int CRunningWork::Add(Kind kind, const QStringList& ports, std::function<void()> stop)
{
    CRunningWork& self = Instance();
    const int id = self.m_nNextId++;
    self.m_Entries << Entry { id, kind, ports, std::move(stop) };
    return id;
}

void CRunningWork::Remove(int id)
{
    CRunningWork& self = Instance();
    const auto gone = std::remove_if(
        self.m_Entries.begin(), self.m_Entries.end(), [id](const Entry& entry) { return entry.id == id; });
    if (gone == self.m_Entries.end())
        return;
    self.m_Entries.erase(gone, self.m_Entries.end());
    if (self.m_Entries.isEmpty())
        emit self.Idle();
}

void CRunningWork::SetKind(int id, Kind kind)
{
    for (Entry& entry : Instance().m_Entries)
        if (entry.id == id)
            entry.kind = kind;
}

bool CRunningWork::IsIdle()
{
    return Instance().m_Entries.isEmpty();
}

QList<CRunningWork::Entry> CRunningWork::Entries()
{
    return Instance().m_Entries;
}

void CRunningWork::StopAll()
{
    // A copy: a stop may end its work (and so its entry) at once.
    for (const Entry& entry : Entries())
        if (entry.stop)
            entry.stop();
}

QString CRunningWork::CloseQuestion(const QList<Entry>& entries, bool chinese)
{
    return (QStringList { kCloseIntro.Text(chinese) } + RunningWorkLines(entries, chinese)
        + QStringList { kCloseAsk.Text(chinese) })
        .join(QLatin1Char('\n'));
}

QString CRunningWork::SignalNote(const QString& signal, const QList<Entry>& entries, bool chinese)
{
    return (QStringList { kSignalIntro.Text(chinese).arg(signal) } + RunningWorkLines(entries, chinese))
        .join(QLatin1Char('\n'));
}
