#include "link/RepeatWriter.h"

#include "config/Language.h"
#include "link/SerialPort.h"
#include "link/TransferNotes.h"

#include <chrono>
#include <thread>

namespace {

constexpr CBilingual kForRadio { "Waiting for a radio to answer...", "等待对讲机应答..." };
constexpr CBilingual kForRemoval { "Take the radio off and put the next one on.", "请取下对讲机并接上下一台。" };
constexpr CBilingual kTotals { "Written: %1, failed: %2.", "已写入: %1 台, 失败: %2 台。" };
constexpr CBilingual kRepeatPortGone { "%1: stopped: the port went away", "%1: 已停止: 端口已消失" };
constexpr CBilingual kRepeatPortBusy { "%1: stopped: the port is in use", "%1: 已停止: 端口正被占用" };
constexpr CBilingual kRepeatPortFailed { "%1: stopped: the port could not be opened", "%1: 已停止: 端口无法打开" };
constexpr int kRepeatSleepStepMs = 20;

} // namespace

CRepeatWriter::CRepeatWriter(CBatchTransfer::Factory make, bool verify)
    : m_Batch(std::move(make), verify)
{
}

CRepeatWriter::~CRepeatWriter() = default;

bool CRepeatWriter::Sleep(int milliseconds)
{
    for (int slept = 0; slept < milliseconds && !m_Batch.StopRequested(); slept += kRepeatSleepStepMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(kRepeatSleepStepMs));
    return !m_Batch.StopRequested();
}

bool CRepeatWriter::HoldPort(const QString &port, const QString &device, Totals &totals)
{
    // A port that failed in itself (a USB adapter pulled out) is opened again: it may be back.
    if (m_Port->IsOpen() && !m_Port->IsBroken())
        return true;
    if (m_Port->Open(device)) {
        m_bEverOpen = true;
        return true;
    }
    // A port that does not open never will by waiting: missing, refused or held elsewhere.
    switch (m_Port->Failure()) {
    case CSerialPort::OpenFailure::Busy: totals.ending = Ending::PortBusy; break;
    case CSerialPort::OpenFailure::Missing: totals.ending = m_bEverOpen ? Ending::PortGone : Ending::PortFailed; break;
    default: totals.ending = Ending::PortFailed; break;
    }
    totals.port = port;
    for (const bool chinese : { false, true })
        totals.portReason[chinese] = m_Port->FailureReason(chinese, TransferNotes::PortLabel(port, device));
    return false;
}

bool CRepeatWriter::WaitUntil(const QString &port, const QString &device, bool present, Totals &totals)
{
    while (!m_Batch.StopRequested()) {
        if (!HoldPort(port, device, totals))
            return false;
        CCloneTransfer probe(CCloneTransfer::Direction::Read, {}, CRadioImage());
        probe.SetPortName(port);
        probe.UsePort(m_Port);
        const CCloneTransfer::Status status = probe.Run(device);
        // A port that broke while asking is not an answer either way: it is opened again first.
        if (!m_Port->IsBroken() && (status == CCloneTransfer::Status::Done) == present)
            return !m_Batch.StopRequested();
        if (!Sleep(kProbeIntervalMs))
            return false;
    }
    return false;
}

CRepeatWriter::Totals CRepeatWriter::Run(const QString &port, const QString &device, int limit,
    const std::function<void(const CBatchOutcome &, int)> &onRadio, const std::function<void(Waiting)> &onWaiting)
{
    Totals totals;
    m_Port = std::make_shared<CSerialPort>();
    m_bEverOpen = false;
    while (limit <= 0 || totals.written + totals.failed < limit) {
        if (onWaiting)
            onWaiting(Waiting::ForRadio);
        if (!WaitUntil(port, device, true, totals))
            break;
        const CBatchOutcome outcome = m_Batch.RunOne(0, port, device, m_Port);
        // A radio stopped half-way counts as failed: it must be written again.
        ++(outcome.Succeeded() ? totals.written : totals.failed);
        if (onRadio)
            onRadio(outcome, totals.written + totals.failed);
        if (m_Batch.StopRequested() || (limit > 0 && totals.written + totals.failed >= limit))
            break;
        if (onWaiting)
            onWaiting(Waiting::ForRemoval);
        if (!WaitUntil(port, device, false, totals))
            break;
    }
    m_Port.reset();
    return totals;
}

QString CRepeatWriter::WaitingText(Waiting waiting, bool chinese)
{
    return (waiting == Waiting::ForRadio ? kForRadio : kForRemoval).Text(chinese);
}

QString CRepeatWriter::EndingText(const Totals &totals, bool chinese)
{
    QString text;
    switch (totals.ending) {
    case Ending::Stopped: return {};
    case Ending::PortGone: text = kRepeatPortGone.Text(chinese).arg(totals.port); break;
    case Ending::PortBusy: text = kRepeatPortBusy.Text(chinese).arg(totals.port); break;
    case Ending::PortFailed: text = kRepeatPortFailed.Text(chinese).arg(totals.port); break;
    }
    const QString &reason = totals.portReason[chinese ? 1 : 0];
    return reason.isEmpty() ? text : text + QStringLiteral(" (") + reason + QLatin1Char(')');
}

QString CRepeatWriter::TotalsText(const Totals &totals, bool chinese)
{
    return kTotals.Text(chinese).arg(totals.written).arg(totals.failed);
}
