#pragma once

#include "link/BatchTransfer.h"

#include <QString>

#include <atomic>
#include <functional>

// One radio after another on the same cable: write the radio that answers, wait until it is taken
// off, wait until the next one answers, write it, and so on until stopped. Waiting only opens the
// link (wake-up, mode byte, confirm) and closes it again: a radio still on the cable is asked whether
// it is there, never written to. A port that cannot be opened ends the loop on that port, reported
// like a radio that failed.
class CRepeatWriter {
public:
    enum class Waiting {
        ForRadio, // for a radio to answer
        ForRemoval, // for the radio just done to be taken off
    };
    // Pause between two link openings while waiting; with a silent link opening giving up after
    // about 0.7 s, a radio that starts answering is noticed within about a second.
    static constexpr int kProbeIntervalMs = 200;

    struct Totals {
        int written = 0;
        int failed = 0;
    };

    CRepeatWriter(CBatchTransfer::Factory make, bool verify);

    void RequestStop() { m_Batch.RequestStop(); }
    void WatchStop(const std::atomic<bool> *flag) { m_Batch.WatchStop(flag); }

    // Runs the loop on device until stopped, or until limit radios are done (0: no limit). onRadio
    // hears of each radio (count from 1), onWaiting of each change of what is awaited.
    Totals Run(const QString &port, const QString &device, int limit,
        const std::function<void(const CBatchOutcome &, int count)> &onRadio,
        const std::function<void(Waiting)> &onWaiting = {});

    // A link opening on device and nothing else: Done when a radio answers. For a port that did not
    // open, failure (when given) gets the port, the status and the system's reason.
    static CCloneTransfer::Status Probe(const QString &port, const QString &device, CBatchOutcome *failure = nullptr);

    // What the loop tells the user while it waits, and its closing line.
    static QString WaitingText(Waiting waiting, bool chinese);
    static QString TotalsText(const Totals &totals, bool chinese);

private:
    // Link openings every kProbeIntervalMs until one answers (present) or one does not; false when
    // stopped first or when the port does not open (failure then says why).
    bool WaitUntil(const QString &port, const QString &device, bool present, CBatchOutcome &failure);
    // Sleeps in small steps so a stop is seen soon.
    bool Sleep(int milliseconds);

    CBatchTransfer m_Batch;
};
