#pragma once

#include "link/CloneTransfer.h"

#include <QString>

#include <memory>

// The service read and service write of one alignment area: the clone protocol's block exchanges over
// a short range, without DTR and RTS. A read receives into a scratch copy and hands it over only when
// every block came in, so a failed read never leaves half a table in the document.
class CServiceExchange {
public:
    enum class Area { Power, Param };
    using Status = CCloneTransfer::Status;
    using Direction = CCloneTransfer::Direction;

    // [0x3E0, 0x3FB): the power table's 27 bytes. [0x300, 0x320): the receiver and modulation values.
    static CCloneSegment Range(Area area);

    // image: what a write sends, or what a read starts from.
    CServiceExchange(Direction direction, Area area, const CRadioImage& image);

    // The port as the user knows it ("COM3"): a port that does not open is named with its device.
    void SetPortName(const QString& name) { m_Transfer.SetPortName(name); }

    Status Begin(const QString& device);
    Status Step();
    Status Stop();
    // Begin, then every block with onBlock before the first and after each; the port is closed on every
    // way out.
    Status Run(const QString& device, const CCloneTransfer::BlockCallback& onBlock = {});

    Status CurrentStatus() const { return m_Transfer.CurrentStatus(); }
    Direction TransferDirection() const { return m_Transfer.TransferDirection(); }
    Area ExchangeArea() const { return m_Area; }
    int BlockCount() const { return m_Transfer.BlockCount(); }
    int BlocksDone() const { return m_Transfer.BlocksDone(); }
    const std::vector<CCloneBlock>& Blocks() const { return m_Transfer.Blocks(); }
    // What was sent, or what a read has received so far on top of its starting image.
    const CRadioImage& Image() const { return m_Transfer.Image(); }
    // True once the link was open: from then on a write may have changed the radio.
    bool Linked() const { return m_bLinked; }

    // A finished read copies its range into image; anything else leaves image alone. True when copied.
    bool TakeOver(CRadioImage& image) const;

    // The message for how the exchange ended, in the chosen language: "Read Successfully",
    // "Write Successfully", the communication error of its side with the failed step on a second line,
    // the port failure; a write that ended
    // after the link was open adds that the radio may hold part of the new values. Empty while running.
    QString Message(bool chinese) const;
    bool Succeeded() const { return CurrentStatus() == Status::Done; }
    // For a port that did not open: the system's reason, or empty.
    QString PortFailureReason(bool chinese) const { return m_Transfer.PortFailureReason(chinese); }
    // For a communication error: the failed step in English, for the programming log.
    QString FailureReason() const { return m_Transfer.FailureReason(); }

private:
    Area m_Area;
    CCloneTransfer m_Transfer;
    bool m_bLinked = false;
};
