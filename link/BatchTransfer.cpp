#include "link/BatchTransfer.h"

#include "config/Language.h"

#include <QThread>

#include <chrono>
#include <mutex>

namespace {

constexpr CBilingual kDone { "%1: done in %2 s", "%1: 完成, 用时 %2 秒" };
constexpr CBilingual kVerifiedDone { "%1: done and verified in %2 s", "%1: 完成并已校验, 用时 %2 秒" };
constexpr CBilingual kFailed { "%1: failed after %2 s: %3", "%1: %2 秒后失败: %3" };
constexpr CBilingual kPortStopped { "%1: stopped after %2 s", "%1: %2 秒后已停止" };
constexpr CBilingual kReadBackFailed { "the read-back for the verify failed (%1)", "校验回读失败 (%1)" };
constexpr CBilingual kSummary { "%1 radios: %2 succeeded, %3 failed.", "共 %1 台: 成功 %2 台, 失败 %3 台。" };
constexpr CBilingual kSummaryOne { "%1 radio: %2 succeeded, %3 failed.", "共 %1 台: 成功 %2 台, 失败 %3 台。" };

using Clock = std::chrono::steady_clock;
using Status = CCloneTransfer::Status;

QString Seconds(double seconds)
{
    return QString::number(seconds, 'f', 1);
}

// The reason of a failed transfer, on one line.
QString Reason(Status status, const QString &portReason, bool chinese)
{
    QString text = CCloneTransfer::Message(status, chinese);
    if (!portReason.isEmpty())
        text += QStringLiteral(" (") + portReason + QLatin1Char(')');
    return text;
}

} // namespace

CBatchTransfer::CBatchTransfer(Factory make, bool verify)
    : m_Make(std::move(make))
    , m_bVerify(verify)
{
}

CBatchOutcome CBatchTransfer::RunOne(
    int index, const QString &port, const QString &device, const std::shared_ptr<CSerialPort> &held)
{
    CBatchOutcome outcome;
    outcome.index = index;
    outcome.port = port;
    const Clock::time_point start = Clock::now();
    const auto goOn = [this](int, int) { return !StopRequested(); };

    const std::unique_ptr<CCloneTransfer> transfer = m_Make();
    transfer->SetPortName(port);
    transfer->UsePort(held);
    outcome.status = StopRequested() ? transfer->Stop() : transfer->Run(device, goOn);
    for (const bool chinese : { false, true }) {
        outcome.portReason[chinese] = transfer->PortFailureReason(chinese);
        outcome.failureLine[chinese] = transfer->FailureLine(chinese);
    }
    outcome.failureReason = transfer->FailureReason();
    outcome.partialWrite = transfer->MayHoldPartialWrite();
    outcome.blocks = transfer->BlocksDone();
    if (outcome.status == Status::Done || transfer->TransferDirection() == CCloneTransfer::Direction::Write)
        outcome.image = transfer->Image();
    if (outcome.status == Status::Done) {
        if (m_bVerify && transfer->TransferDirection() == CCloneTransfer::Direction::Write) {
            outcome.verifyRan = true;
            const std::unique_ptr<CCloneTransfer> readBack = CWriteVerify::ReadBack(*transfer);
            readBack->UsePort(held);
            outcome.verifyStatus = readBack->Run(device, goOn);
            if (outcome.verifyStatus == Status::Done) {
                outcome.mismatch = CWriteVerify::FirstDifference(*transfer, readBack->Image());
                outcome.verifiedBytes = CWriteVerify::ByteCount(*transfer);
            }
        }
    }
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outcome;
}

std::vector<CBatchOutcome> CBatchTransfer::Run(const QStringList &ports, const QStringList &devices, const Report &onEach)
{
    std::vector<CBatchOutcome> outcomes(static_cast<std::size_t>(ports.size()));
    std::mutex reportMutex;
    // QThread rather than std::thread: a serial port needs the event dispatcher a QThread brings,
    // even when it is only driven by the blocking waits.
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < ports.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            CBatchOutcome outcome = RunOne(i, ports.at(i), devices.value(i));
            const std::lock_guard lock(reportMutex);
            if (onEach)
                onEach(outcome);
            outcomes[static_cast<std::size_t>(i)] = std::move(outcome);
        }));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
    return outcomes;
}

QString CBatchTransfer::Line(const CBatchOutcome &outcome, bool chinese)
{
    QString line = Ending(outcome, chinese);
    if (outcome.partialWrite)
        line += (chinese ? QStringLiteral("。") : QStringLiteral(". "))
            + CCloneTransfer::PartialWriteWarning(chinese);
    QString step = outcome.failureLine[chinese ? 1 : 0];
    // A verify that found a different byte says what the byte is and what to do, under the line.
    if (step.isEmpty() && outcome.verifyRan && outcome.verifyStatus == Status::Done && outcome.mismatch)
        step = CWriteVerify::WhereText(*outcome.mismatch, outcome.port, chinese);
    return step.isEmpty() ? line : line + QLatin1Char('\n') + step;
}

QString CBatchTransfer::Ending(const CBatchOutcome &outcome, bool chinese)
{
    const QString seconds = Seconds(outcome.seconds);
    if (outcome.status == Status::Stopped || (outcome.verifyRan && outcome.verifyStatus == Status::Stopped))
        return kPortStopped.Text(chinese).arg(outcome.port, seconds);
    if (outcome.status != Status::Done)
        return kFailed.Text(chinese).arg(outcome.port, seconds, Reason(outcome.status, outcome.portReason[chinese ? 1 : 0], chinese));
    if (!outcome.verifyRan)
        return kDone.Text(chinese).arg(outcome.port, seconds);
    if (outcome.verifyStatus != Status::Done)
        return kFailed.Text(chinese).arg(outcome.port, seconds,
            kReadBackFailed.Text(chinese).arg(CCloneTransfer::Message(outcome.verifyStatus, chinese)));
    if (outcome.mismatch)
        return kFailed.Text(chinese).arg(outcome.port, seconds, CWriteVerify::FailedText(*outcome.mismatch, chinese));
    return kVerifiedDone.Text(chinese).arg(outcome.port, seconds);
}

QString CBatchTransfer::Summary(const std::vector<CBatchOutcome> &outcomes, bool chinese)
{
    int succeeded = 0;
    for (const CBatchOutcome &outcome : outcomes)
        succeeded += outcome.Succeeded() ? 1 : 0;
    return Summary(static_cast<int>(outcomes.size()), succeeded, chinese);
}

QString CBatchTransfer::Summary(int total, int succeeded, bool chinese)
{
    return (total == 1 ? kSummaryOne : kSummary).Text(chinese).arg(total).arg(succeeded).arg(total - succeeded);
}
