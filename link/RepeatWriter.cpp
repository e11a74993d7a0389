#include "link/RepeatWriter.h"

#include "config/Language.h"

#include <chrono>
#include <thread>

namespace {

constexpr CBilingual kForRadio { "Waiting for a radio to answer...", "等待对讲机应答..." };
constexpr CBilingual kForRemoval { "Take the radio off and put the next one on.", "请取下对讲机并接上下一台。" };
constexpr CBilingual kTotals { "Written: %1, failed: %2.", "已写入: %1 台, 失败: %2 台。" };
constexpr int kSleepStepMs = 20;

} // namespace

CRepeatWriter::CRepeatWriter(CBatchTransfer::Factory make, bool verify)
    : m_Batch(std::move(make), verify)
{
}

CCloneTransfer::Status CRepeatWriter::Probe(const QString &port, const QString &device, CBatchOutcome *failure)
{
    CCloneTransfer probe(CCloneTransfer::Direction::Read, {}, CRadioImage());
    probe.SetPortName(port);
    const CCloneTransfer::Status status = probe.Run(device);
    if (failure && status == CCloneTransfer::Status::PortOpenFailed) {
        failure->port = port;
        failure->status = status;
        for (const bool chinese : { false, true })
            failure->portReason[chinese] = probe.PortFailureReason(chinese);
    }
    return status;
}

bool CRepeatWriter::Sleep(int milliseconds)
{
    for (int slept = 0; slept < milliseconds && !m_Batch.StopRequested(); slept += kSleepStepMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(kSleepStepMs));
    return !m_Batch.StopRequested();
}

bool CRepeatWriter::WaitUntil(const QString &port, const QString &device, bool present, CBatchOutcome &failure)
{
    while (!m_Batch.StopRequested()) {
        // A port that does not open never will by waiting: missing, refused or held elsewhere.
        const CCloneTransfer::Status status = Probe(port, device, &failure);
        if (status == CCloneTransfer::Status::PortOpenFailed)
            return false;
        if ((status == CCloneTransfer::Status::Done) == present)
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
    CBatchOutcome failure;
    while (limit <= 0 || totals.written + totals.failed < limit) {
        if (onWaiting)
            onWaiting(Waiting::ForRadio);
        if (!WaitUntil(port, device, true, failure))
            break;
        const CBatchOutcome outcome = m_Batch.RunOne(0, port, device);
        // A radio stopped half-way counts as failed: it must be written again.
        ++(outcome.Succeeded() ? totals.written : totals.failed);
        if (onRadio)
            onRadio(outcome, totals.written + totals.failed);
        if (m_Batch.StopRequested() || (limit > 0 && totals.written + totals.failed >= limit))
            break;
        if (onWaiting)
            onWaiting(Waiting::ForRemoval);
        if (!WaitUntil(port, device, false, failure))
            break;
    }
    if (failure.status == CCloneTransfer::Status::PortOpenFailed) {
        ++totals.failed;
        if (onRadio)
            onRadio(failure, totals.written + totals.failed);
    }
    return totals;
}

QString CRepeatWriter::WaitingText(Waiting waiting, bool chinese)
{
    return (waiting == Waiting::ForRadio ? kForRadio : kForRemoval).Text(chinese);
}

QString CRepeatWriter::TotalsText(const Totals &totals, bool chinese)
{
    return kTotals.Text(chinese).arg(totals.written).arg(totals.failed);
}
