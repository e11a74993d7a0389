#pragma once

#include "image/RadioImage.h"
#include "link/ClonePlan.h"
#include "link/TransferNotes.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CSerialPort;

// One clone read or write from port opening to port closing, driven block by block so that a window
// can show progress and take a stop request between blocks, or run whole with a callback.
//
// A read receives into its own copy of the starting image; the caller takes Image() over only when
// the transfer is Done, so a failed or stopped read never leaves half a radio in a document.
class CCloneTransfer {
public:
    enum class Direction { Read, Write };
    enum class Status {
        Ready, // nothing opened yet
        Running, // link open, blocks remain
        Done, // every block moved, port closed
        PortOpenFailed, // nothing was sent
        CommunicationError, // the radio did not answer as it should; port closed
        Stopped, // the caller stopped between blocks; port closed
    };
    // Called once the radio is awake (done 0) and after each block with the blocks done so far and the
    // total; false asks to stop.
    using BlockCallback = std::function<bool(int done, int total)>;

    // image: what a write sends, or what a read starts from (bytes outside the plan keep its values).
    CCloneTransfer(Direction direction, std::vector<CCloneBlock> blocks, const CRadioImage &image);
    ~CCloneTransfer();
    CCloneTransfer(const CCloneTransfer &) = delete;
    CCloneTransfer &operator=(const CCloneTransfer &) = delete;

    // The port as the user knows it ("COM3"); the failure lines name it with the device it leads to.
    // Without a name they name the device.
    void SetPortName(const QString &name) { m_strPortName = name; }
    const QString &PortName() const { return m_strPortName; }
    QString PortLabel() const;

    // Service exchanges open the link without raising DTR and RTS, and a service write waits 2 ms more
    // after each wake-up before it looks for the answer.
    void SetServiceLink(bool service) { m_bServiceLink = service; }

    // Runs on a port the caller keeps open across transfers (the repeat loop keeps other programs off
    // the cable between radios): Begin opens it only when it is closed, and the transfer leaves it
    // open when it ends. Before Begin.
    void UsePort(std::shared_ptr<CSerialPort> port);

    // The channel Read of the whole radio, or the channel Write by the service-access flag.
    static std::unique_ptr<CCloneTransfer> ChannelRead(const CRadioImage &start);
    static std::unique_ptr<CCloneTransfer> ChannelWrite(const CRadioImage &image, bool serviceAccess);

    // Opens and configures the port at device, raises DTR and RTS and opens the link. Running on
    // success (Done at once for an empty plan).
    Status Begin(const QString &device);
    // Moves the next block. Running while blocks remain, Done after the last one.
    Status Step();
    // Ends a running transfer between blocks: closes the port; Stopped.
    Status Stop();
    // Begin, then every block with onBlock before the first and after each; the port is closed on every
    // way out.
    Status Run(const QString &device, const BlockCallback &onBlock = {});

    Status CurrentStatus() const { return m_Status; }
    Direction TransferDirection() const { return m_Direction; }
    const std::vector<CCloneBlock> &Blocks() const { return m_Blocks; }
    int BlockCount() const { return static_cast<int>(m_Blocks.size()); }
    int BlocksDone() const { return m_nDone; }
    // The bytes received so far (a read) or the bytes sent (a write).
    const CRadioImage &Image() const { return m_Image; }

    // The message a user sees for the status, in the chosen language; empty for the quiet endings.
    static QString Message(Status status, bool chinese);
    // For PortOpenFailed: the system's reason on a line of its own, naming the port with its device
    // (see SetPortName), or empty.
    QString PortFailureReason(bool chinese) const;
    // A write that failed or was stopped after its first block went out: the radio may hold part of
    // the new data and part of the old, and should be written again before it is used.
    bool MayHoldPartialWrite() const;
    static QString PartialWriteWarning(bool chinese);
    // For CommunicationError: the port, the step that failed and what to check, on one line.
    QString FailureLine(bool chinese) const;
    // For CommunicationError: the failed step in the line's English words, without port or advice.
    QString FailureReason() const;
    // The step a CommunicationError ended in.
    TransferNotes::Step FailedStep() const { return m_FailedStep; }
    // The bytes the plan moves.
    int ByteCount() const;
    // Everything a user is told about how the transfer ended, one line each: the status message, the
    // failed step with what to check, the port's reason and the partial-write warning, as far as they apply. Empty for a finished transfer
    // and for a stop that left the radio as it was.
    QStringList OutcomeLines(bool chinese) const;

private:
    Status End(Status status);

    Direction m_Direction;
    std::vector<CCloneBlock> m_Blocks;
    CRadioImage m_Image;
    std::shared_ptr<CSerialPort> m_Port;
    bool m_bHeldPort = false; // the caller's port, left open at the end
    Status m_Status = Status::Ready;
    int m_nDone = 0;
    bool m_bServiceLink = false;
    bool m_bSentAny = false; // a write block has gone out (whole or in part)
    QString m_strPortName;
    QString m_strDevice;
    TransferNotes::Step m_FailedStep = TransferNotes::Step::WakeUp;
};
