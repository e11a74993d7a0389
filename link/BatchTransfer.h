#pragma once

#include "image/RadioImage.h"
#include "link/CloneTransfer.h"
#include "link/WriteVerify.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CSerialPort;

// How one radio of a batch ended.
struct CBatchOutcome {
    int index = 0; // position in the port list, from 0
    QString port; // as the user named it
    CCloneTransfer::Status status = CCloneTransfer::Status::Ready;
    QString portReason[2]; // the system's reason when the port did not open, in English and Chinese
    QString failureLine[2]; // after a communication error: port, failed step and what to check, likewise
    QString failureReason; // the failed step alone, in English, for the programming log
    bool partialWrite = false; // a write ended after blocks went out: the radio holds a mix
    bool verifyRan = false;
    CCloneTransfer::Status verifyStatus = CCloneTransfer::Status::Ready; // of the read-back
    std::optional<CWriteVerify::Mismatch> mismatch;
    int verifiedBytes = 0;
    double seconds = 0;
    int blocks = 0; // blocks moved before the transfer ended
    CRadioImage image; // what a write sent, or what a read received (valid when Succeeded)

    bool Succeeded() const
    {
        return status == CCloneTransfer::Status::Done
            && (!verifyRan || (verifyStatus == CCloneTransfer::Status::Done && !mismatch));
    }
};

// The same clone transfer on several cables at once: one thread per port, each making its own
// transfer (and so its own serial port) on that thread and running the unchanged blocking protocol.
// A port that fails ends only its own transfer. Stop requests are taken between blocks.
class CBatchTransfer {
public:
    // Makes the transfer for one radio; called on the thread that runs it.
    using Factory = std::function<std::unique_ptr<CCloneTransfer>()>;
    // Told about each radio as it ends; calls never overlap.
    using Report = std::function<void(const CBatchOutcome &)>;

    // verify: after a write that went through, read the same blocks back and compare.
    CBatchTransfer(Factory make, bool verify);

    // From any thread (or a signal handler's flag poll): every transfer stops at its next block.
    void RequestStop() { m_bStop = true; }
    // A flag set elsewhere (a Ctrl+C handler) that stops the same way; it must outlive the batch.
    void WatchStop(const std::atomic<bool> *flag) { m_pExternalStop = flag; }
    // A question asked elsewhere between blocks (whether a stop signal came), safe from any thread.
    void WatchStop(bool (*pending)()) { m_pExternalPending = pending; }
    bool StopRequested() const
    {
        return m_bStop || (m_pExternalStop && *m_pExternalStop) || (m_pExternalPending && m_pExternalPending());
    }

    // Runs on every device at once (devices[i] is where ports[i] leads); returns when every one has
    // ended, the outcomes in port order.
    std::vector<CBatchOutcome> Run(const QStringList &ports, const QStringList &devices, const Report &onEach = {});
    // One radio on the calling thread; on held when given (see CCloneTransfer::UsePort), the write and
    // its read-back alike.
    CBatchOutcome RunOne(int index, const QString &port, const QString &device,
        const std::shared_ptr<CSerialPort> &held = {});

    // One line for a radio: port, outcome, seconds, the first differing address of a failed verify, and
    // for a write that ended after blocks went out, that the radio may hold part of the new data. A
    // communication error adds a second line: the step that failed and what to check.
    static QString Line(const CBatchOutcome &outcome, bool chinese);
    // "3 radios: 2 succeeded, 1 failed."
    static QString Summary(const std::vector<CBatchOutcome> &outcomes, bool chinese);
    static QString Summary(int total, int succeeded, bool chinese);

private:
    static QString Ending(const CBatchOutcome &outcome, bool chinese);

    Factory m_Make;
    bool m_bVerify;
    std::atomic<bool> m_bStop { false };
    const std::atomic<bool> *m_pExternalStop = nullptr;
    bool (*m_pExternalPending)() = nullptr;
};
