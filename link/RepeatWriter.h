#pragma once

#include "link/BatchTransfer.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CSerialPort;

// One radio after another on the same cable: write the radio that answers, wait until it is taken
// off, wait until the next one answers, write it, and so on until stopped. Waiting only opens the
// link (wake-up, mode byte, confirm): a radio still on the cable is asked whether it is there, never
// written to. The port stays open from the loop's start to its end, so no other program can write
// the radio just finished while it is still on the cable. A port that cannot be opened, goes away or
// is taken by another program ends the loop; only radios that were talked to are counted.
class CRepeatWriter {
public:
    enum class Waiting {
        ForRadio, // for a radio to answer
        ForRemoval, // for the radio just done to be taken off
    };
    // Why the loop ended.
    enum class Ending {
        Stopped, // asked to stop, or the number of radios asked for is done
        PortGone, // the device went away (a cable pulled out)
        PortBusy, // another program holds the port
        PortFailed, // the port would not open for another reason
    };
    // Pause between two link openings while waiting; with a silent link opening giving up after
    // about 0.7 s, a radio that starts answering is noticed within about a second.
    static constexpr int kProbeIntervalMs = 200;

    struct Totals {
        int written = 0;
        int failed = 0;
        Ending ending = Ending::Stopped;
        QString port; // as the user named it
        QString portReason[2]; // for a port ending: the system's reason, in English and Chinese
    };

    CRepeatWriter(CBatchTransfer::Factory make, bool verify);
    ~CRepeatWriter();

    void RequestStop() { m_Batch.RequestStop(); }
    void WatchStop(const std::atomic<bool> *flag) { m_Batch.WatchStop(flag); }
    void WatchStop(bool (*pending)()) { m_Batch.WatchStop(pending); }

    // Runs the loop on device until stopped, or until limit radios are done (0: no limit). onRadio
    // hears of each radio (count from 1), onWaiting of each change of what is awaited.
    Totals Run(const QString &port, const QString &device, int limit,
        const std::function<void(const CBatchOutcome &, int count)> &onRadio,
        const std::function<void(Waiting)> &onWaiting = {});

    // What the loop tells the user while it waits, and its closing lines: for a port ending, why the
    // loop stopped ("COM1: stopped: the port went away (...)"), empty otherwise; then the counts.
    static QString WaitingText(Waiting waiting, bool chinese);
    static QString EndingText(const Totals &totals, bool chinese);
    static QString TotalsText(const Totals &totals, bool chinese);

private:
    // Link openings every kProbeIntervalMs until one answers (present) or one does not; false when
    // stopped first or when the port is lost (totals then say why).
    bool WaitUntil(const QString &port, const QString &device, bool present, Totals &totals);
    // Opens the loop's port unless it is open and sound; false (totals saying why) when it will not.
    bool HoldPort(const QString &port, const QString &device, Totals &totals);
    // Sleeps in small steps so a stop is seen soon.
    bool Sleep(int milliseconds);

    CBatchTransfer m_Batch;
    std::shared_ptr<CSerialPort> m_Port;
    bool m_bEverOpen = false; // the port was open once in this loop: failing now, it went away
};
